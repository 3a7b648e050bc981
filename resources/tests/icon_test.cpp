// kalvetor.ico read byte by byte and compared with the pixel map it is made
// from: one 32 x 32 image, 8 bits per pixel, a 256-colour palette and a
// 1-bit transparency mask.

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::string readFile(const char* path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::uint32_t le(const std::string& bytes, std::size_t at, int width) {
    std::uint32_t value = 0;
    for (int i = width - 1; i >= 0; --i) {
        value = value << 8 | static_cast<unsigned char>(bytes.at(at + static_cast<std::size_t>(i)));
    }
    return value;
}

struct PixelMap {
    std::map<char, std::array<int, 3>> palette;
    std::vector<std::string> rows;  // top row first
};

PixelMap readMap(const char* path) {
    PixelMap map;
    std::istringstream lines(readFile(path));
    std::string section;
    for (std::string line; std::getline(lines, line);) {
        if (line.empty() || line[0] == '#') {
            continue;
        }
        if (line == "palette:" || line == "pixels:") {
            section = line;
        } else if (section == "palette:") {
            const std::string hex = line.substr(line.find('#') + 1, 6);
            map.palette[line[0]] = {std::stoi(hex.substr(0, 2), nullptr, 16),
                                    std::stoi(hex.substr(2, 2), nullptr, 16),
                                    std::stoi(hex.substr(4, 2), nullptr, 16)};
        } else {
            map.rows.push_back(line);
        }
    }
    return map;
}

class Icon : public ::testing::Test {
protected:
    const std::string ico = readFile(KALVETOR_ICO);
    const PixelMap map = readMap(KALVETOR_ICON_MAP);
    static constexpr std::size_t kImage = 6 + 16;
    static constexpr std::size_t kPalette = kImage + 40;
    static constexpr std::size_t kPixels = kPalette + 256 * 4;
    static constexpr std::size_t kMask = kPixels + 32 * 32;
};

TEST_F(Icon, HoldsOneImageOf32By32At8BitsPerPixel) {
    ASSERT_EQ(ico.size(), kMask + 32 * 4);
    EXPECT_EQ(le(ico, 0, 2), 0u);  // reserved
    EXPECT_EQ(le(ico, 2, 2), 1u);  // an icon, not a cursor
    EXPECT_EQ(le(ico, 4, 2), 1u);  // one image
    EXPECT_EQ(le(ico, 6, 1), 32u);
    EXPECT_EQ(le(ico, 7, 1), 32u);
    EXPECT_EQ(le(ico, 8, 1), 0u);  // 0 means 256 colours
    EXPECT_EQ(le(ico, 12, 2), 8u);
    EXPECT_EQ(le(ico, 14, 4), ico.size() - kImage);
    EXPECT_EQ(le(ico, 18, 4), kImage);

    EXPECT_EQ(le(ico, kImage, 4), 40u);      // BITMAPINFOHEADER
    EXPECT_EQ(le(ico, kImage + 4, 4), 32u);  // width
    EXPECT_EQ(le(ico, kImage + 8, 4), 64u);  // colour and mask heights
    EXPECT_EQ(le(ico, kImage + 12, 2), 1u);
    EXPECT_EQ(le(ico, kImage + 14, 2), 8u);
    EXPECT_EQ(le(ico, kImage + 16, 4), 0u);  // uncompressed
    EXPECT_EQ(le(ico, kImage + 32, 4), 256u);
}

TEST_F(Icon, ShowsThePixelMapWithItsColoursAndTransparency) {
    ASSERT_EQ(map.rows.size(), 32u);
    ASSERT_GE(ico.size(), kMask + 32 * 4);
    int transparent = 0;
    for (std::size_t y = 0; y < 32; ++y) {
        const std::size_t stored = 31 - y;  // rows are stored bottom up
        for (std::size_t x = 0; x < 32; ++x) {
            const char symbol = map.rows[y][x];
            const bool masked =
                (static_cast<unsigned char>(ico[kMask + stored * 4 + x / 8]) >> (7 - x % 8)) & 1;
            const auto index = static_cast<unsigned char>(ico[kPixels + stored * 32 + x]);
            const std::array<int, 3> colour = {static_cast<unsigned char>(ico[kPalette + index * 4u + 2]),
                                               static_cast<unsigned char>(ico[kPalette + index * 4u + 1]),
                                               static_cast<unsigned char>(ico[kPalette + index * 4u])};
            if (symbol == '.') {
                EXPECT_TRUE(masked) << x << "," << y;
                EXPECT_EQ(index, 0) << x << "," << y;  // black under the mask
                ++transparent;
            } else {
                EXPECT_FALSE(masked) << x << "," << y;
                EXPECT_EQ(colour, map.palette.at(symbol)) << x << "," << y;
            }
        }
    }
    EXPECT_GT(transparent, 0);
    EXPECT_LT(transparent, 32 * 32 / 2);
}

}  // namespace
