// The Windows-1251 decoder and encoder, and the UTF-8 encoder, against
// glibc's iconv, which serves as an independent reference for every byte
// value and every character of the Basic Multilingual Plane.

#include <gtest/gtest.h>
#include <iconv.h>

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "catalogue/catalogue.h"
#include "catalogue/cp1251.h"
#include "catalogue/tests/utf8.h"

namespace catalogue {
namespace {

// One iconv conversion, from and to the named encodings.
class Iconv {
public:
    Iconv(const char* to, const char* from) : handle_(iconv_open(to, from)) {
        if (handle_ == reinterpret_cast<iconv_t>(-1)) {
            throw std::runtime_error(std::string("iconv cannot convert ") + from + " to " + to);
        }
    }
    ~Iconv() { iconv_close(handle_); }
    Iconv(const Iconv&) = delete;
    Iconv& operator=(const Iconv&) = delete;

    // The converted bytes, or nothing if the input has no conversion.
    std::optional<std::string> operator()(std::string input) {
        iconv(handle_, nullptr, nullptr, nullptr, nullptr);
        std::string output(input.size() * 4 + 8, '\0');
        char* in = input.data();
        char* out = output.data();
        std::size_t inLeft = input.size();
        std::size_t outLeft = output.size();
        if (iconv(handle_, &in, &inLeft, &out, &outLeft) == static_cast<std::size_t>(-1)) {
            return std::nullopt;
        }
        output.resize(output.size() - outLeft);
        return output;
    }

private:
    iconv_t handle_;
};

std::u16string fromUtf16le(const std::string& bytes) {
    std::u16string text;
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        text.push_back(static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                             static_cast<unsigned char>(bytes[i + 1]) << 8));
    }
    return text;
}

std::string toUtf16le(std::u16string_view text) {
    std::string bytes;
    for (const char16_t c : text) {
        bytes += static_cast<char>(c & 0xFF);
        bytes += static_cast<char>(c >> 8);
    }
    return bytes;
}

TEST(Cp1251Decoder, AgreesWithIconvOnEveryByteValue) {
    Iconv reference("UTF-16LE", "CP1251");
    for (int value = 0; value < 256; ++value) {
        const auto byte = static_cast<unsigned char>(value);
        const std::optional<std::string> expected = reference(std::string(1, static_cast<char>(byte)));
        if (byte == kCp1251Unassigned) {
            EXPECT_FALSE(expected.has_value()) << "iconv knows a character for 0x98";
            EXPECT_EQ(cp1251ToUnicode(byte), u'\uFFFD');
            continue;
        }
        ASSERT_TRUE(expected.has_value()) << "iconv has no character for byte " << value;
        EXPECT_EQ(std::u16string(1, cp1251ToUnicode(byte)), fromUtf16le(*expected)) << "byte " << value;
    }
}

TEST(Cp1251Encoder, AgreesWithIconvOnEveryBasicPlaneCharacter) {
    Iconv reference("CP1251", "UTF-16LE");
    int encodable = 0;
    for (char32_t c = 0; c <= 0xFFFF; ++c) {
        if (c >= 0xD800 && c <= 0xDFFF) {
            continue;  // surrogates are no characters
        }
        const std::optional<std::string> expected =
            reference(toUtf16le(std::u16string(1, static_cast<char16_t>(c))));
        const std::optional<unsigned char> byte = encodeCp1251(c);
        ASSERT_EQ(byte.has_value(), expected.has_value()) << "U+" << std::hex << static_cast<unsigned>(c);
        if (byte) {
            ++encodable;
            EXPECT_EQ(std::string(1, static_cast<char>(*byte)), *expected)
                << "U+" << std::hex << static_cast<unsigned>(c);
        }
    }
    EXPECT_EQ(encodable, 255);  // every byte value but the unassigned one
}

TEST(Cp1251Encoder, RefusesCharactersBeyondTheBasicPlane) {
    // Each would land on an encodable character if cut to 16 bits.
    for (const char32_t c : {U'\U00010041', U'\U00010410', U'\U0001201E', U'\U0010FFFF'}) {
        EXPECT_FALSE(encodeCp1251(c).has_value()) << "U+" << std::hex << static_cast<unsigned>(c);
    }
    EXPECT_FALSE(encodeCp1251(char32_t{0x110041}).has_value());
}

TEST(Cp1251Encoder, InvertsTheDecoder) {
    for (int value = 0; value < 256; ++value) {
        const auto byte = static_cast<unsigned char>(value);
        if (byte == kCp1251Unassigned) {
            EXPECT_FALSE(encodeCp1251(cp1251ToUnicode(byte)).has_value());
        } else {
            EXPECT_EQ(encodeCp1251(cp1251ToUnicode(byte)), byte) << "byte " << value;
        }
    }
}

TEST(Cp1251Decoder, RoundTripsEveryCatalogueText) {
    Iconv encode("CP1251", "UTF-16LE");
    std::vector<std::string_view> texts(kNames.begin(), kNames.end());
    texts.insert(texts.end(), kDescriptions.begin(), kDescriptions.end());
    texts.push_back(kTitle);
    texts.push_back(kIntroduction);
    for (const std::string_view text : texts) {
        const std::u16string decoded = decodeCp1251(text);
        ASSERT_EQ(decoded.size(), text.size());
        EXPECT_EQ(decoded.find(u'\uFFFD'), std::u16string::npos) << testing::toUtf8(decoded);
        EXPECT_EQ(encode(toUtf16le(decoded)), std::string(text)) << testing::toUtf8(decoded);
    }
}

TEST(Utf8Encoder, AgreesWithIconvOnEveryCharacterLength) {
    Iconv fromUtf16("UTF-8", "UTF-16LE");
    Iconv fromUtf32("UTF-8", "UTF-32LE");
    // Every character of the Basic Multilingual Plane, and a sample beyond it.
    for (char32_t c = 1; c <= 0x10FFFF; c += c < 0x10000 ? 1 : 0xFFF) {
        if (c >= 0xD800 && c <= 0xDFFF) {
            continue;
        }
        std::string utf32le;
        for (int shift = 0; shift < 32; shift += 8) {
            utf32le += static_cast<char>((c >> shift) & 0xFF);
        }
        ASSERT_EQ(toUtf8(std::u32string(1, c)), fromUtf32(utf32le))
            << "U+" << std::hex << static_cast<unsigned>(c);
        if (c < 0x10000) {
            const std::u16string unit(1, static_cast<char16_t>(c));
            ASSERT_EQ(toUtf8(unit), fromUtf16(toUtf16le(unit)))
                << "U+" << std::hex << static_cast<unsigned>(c);
        }
    }
}

}  // namespace
}  // namespace catalogue
