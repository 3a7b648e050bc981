// The conformance suite's driver for the web page: the page runs in Debian's
// Chromium or Firefox ESR (KALVETOR_BROWSER), worked through bridge.mjs, a
// Node program this driver starts and sends one JSON line a call. Where
// Node, the test's npm packages or the browser are missing, every test is
// skipped with the reason.

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <variant>
#include <vector>

#include "window/conformance/driver.h"
#include "window/web/page.h"

extern char** environ;

namespace {

using conformance::Key;
using conformance::Modifier;
using conformance::PixelRect;
using conformance::Rgb;

// A reply's value: what bridge.mjs sends (null, a boolean, a number, a
// string of ASCII with \u escapes, or an array of these).
struct Value {
    std::variant<std::nullptr_t, bool, double, std::u16string, std::vector<Value>> held;

    bool isNull() const { return std::holds_alternative<std::nullptr_t>(held); }
    bool boolean() const { return std::get<bool>(held); }
    int integer() const { return static_cast<int>(std::lround(std::get<double>(held))); }
    const std::u16string& text() const { return std::get<std::u16string>(held); }
    const std::vector<Value>& array() const { return std::get<std::vector<Value>>(held); }
};

class Reader {
public:
    explicit Reader(std::string_view json) : json_(json) {}

    Value value() {
        skipSpace();
        const char c = peek();
        if (c == '{') {
            throw std::runtime_error("an object where a value was expected");
        }
        if (c == '[') {
            ++at_;
            std::vector<Value> items;
            skipSpace();
            if (peek() == ']') {
                ++at_;
                return {items};
            }
            for (;;) {
                items.push_back(value());
                skipSpace();
                const char next = json_.at(at_++);
                if (next == ']') {
                    return {items};
                }
                if (next != ',') {
                    throw std::runtime_error("a malformed array");
                }
            }
        }
        if (c == '"') {
            return {string()};
        }
        if (json_.substr(at_, 4) == "null") {
            at_ += 4;
            return {nullptr};
        }
        if (json_.substr(at_, 4) == "true") {
            at_ += 4;
            return {true};
        }
        if (json_.substr(at_, 5) == "false") {
            at_ += 5;
            return {false};
        }
        std::size_t used = 0;
        const double number = std::stod(std::string(json_.substr(at_)), &used);
        at_ += used;
        return {number};
    }

    // {"value": ...} or {"error": "..."}: the value, or the error thrown.
    Value reply() {
        skipSpace();
        expect('{');
        const std::u16string key = string();
        expect(':');
        if (key == u"error") {
            const std::u16string message = string();
            throw std::runtime_error("the browser: " + std::string(message.begin(), message.end()));
        }
        return value();
    }

private:
    char peek() const { return at_ < json_.size() ? json_[at_] : '\0'; }
    void skipSpace() {
        while (peek() == ' ') {
            ++at_;
        }
    }
    void expect(char c) {
        skipSpace();
        if (json_.at(at_++) != c) {
            throw std::runtime_error(std::string("expected ") + c + " in " + std::string(json_));
        }
    }
    std::u16string string() {
        skipSpace();
        expect('"');
        std::u16string out;
        for (char c = json_.at(at_++); c != '"'; c = json_.at(at_++)) {
            if (c != '\\') {
                out += static_cast<char16_t>(static_cast<unsigned char>(c));
                continue;
            }
            const char escaped = json_.at(at_++);
            switch (escaped) {
                case 'n': out += u'\n'; break;
                case 'r': out += u'\r'; break;
                case 't': out += u'\t'; break;
                case 'b': out += u'\b'; break;
                case 'f': out += u'\f'; break;
                case 'u':
                    out += static_cast<char16_t>(std::stoi(std::string(json_.substr(at_, 4)), nullptr, 16));
                    at_ += 4;
                    break;
                default: out += static_cast<char16_t>(escaped);
            }
        }
        return out;
    }

    std::string_view json_;
    std::size_t at_ = 0;
};

std::string jsonString(std::u16string_view text) {
    std::string out = "\"";
    for (const char16_t c : text) {
        if (c >= 0x20 && c < 0x7F && c != '"' && c != '\\') {
            out += static_cast<char>(c);
        } else {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(c));
            out += escaped;
        }
    }
    return out + "\"";
}

std::string jsonString(std::string_view ascii) {
    return jsonString(std::u16string(ascii.begin(), ascii.end()));
}

PixelRect rectOf(const Value& value) {
    const std::vector<Value>& r = value.array();
    return {r.at(0).integer(), r.at(1).integer(), r.at(2).integer(), r.at(3).integer()};
}

class WebDriver final : public conformance::Driver {
public:
    WebDriver() {
        const char* browser = std::getenv("KALVETOR_BROWSER");
        browser_ = browser != nullptr ? browser : "chromium";
        const std::filesystem::path binary =
            browser_ == "firefox" ? "/usr/bin/firefox-esr" : "/usr/bin/chromium";
        if (!std::filesystem::exists(KALVETOR_NODE)) {
            missing_ = "Node (" + std::string(KALVETOR_NODE) + ") is not installed";
        } else if (!std::filesystem::exists(std::filesystem::path(KALVETOR_WEB_TESTS) / "node_modules" /
                                            "puppeteer-core")) {
            missing_ = "the tests' npm packages are not installed (scripts/install-deps)";
        } else if (!std::filesystem::exists(binary)) {
            missing_ = binary.string() + " is not installed";
        }
    }

    ~WebDriver() override {
        if (child_ > 0) {
            ::close(toChild_);
            int status = 0;
            ::waitpid(child_, &status, 0);
        }
        if (fromChild_ >= 0) {
            ::close(fromChild_);
        }
    }

    void start() override {
        if (!missing_.empty()) {
            GTEST_SKIP() << browser_ << ": " << missing_;
        }
        if (child_ <= 0) {
            spawn();
        }
        call("start");
    }

    int dpi() override { return definition::kStandardDpi; }
    PixelRect clientSize() override { return rectOf(call("clientSize")); }
    PixelRect frameOnScreen() override { return rectOf(call("frameOnScreen")); }
    PixelRect workArea() override { return rectOf(call("workArea")); }
    std::string withoutFrame() override {
        return "a page has no frame of its own: the browser's window has the title bar, its buttons and "
               "the border that resizes";
    }
    conformance::Frame frame() override { return {}; }
    std::u16string caption() override { return call("caption").text(); }

    std::optional<PixelRect> controlRect(const definition::Control& control) override {
        const Value value = call("controlRect", ",\"id\":" + jsonString(web::idOf(control)));
        if (value.isNull()) {
            return std::nullopt;
        }
        return rectOf(value);
    }
    Rgb colourAt(int x, int y) override { return coloursIn({x, y, 1, 1}).at(0); }
    std::vector<Rgb> coloursIn(const PixelRect& area) override {
        const Value value = call("coloursIn", ",\"left\":" + std::to_string(area.left) +
                                                  ",\"top\":" + std::to_string(area.top) +
                                                  ",\"width\":" + std::to_string(area.width) +
                                                  ",\"height\":" + std::to_string(area.height));
        const std::vector<Value>& channels = value.array();
        std::vector<Rgb> colours;
        for (std::size_t i = 0; i + 2 < channels.size(); i += 3) {
            colours.push_back({channels[i].integer(), channels[i + 1].integer(), channels[i + 2].integer()});
        }
        return colours;
    }
    Rgb standardBoxBackground() override {
        const Value value = call("standardBoxBackground");
        const std::vector<Value>& c = value.array();
        return {c.at(0).integer(), c.at(1).integer(), c.at(2).integer()};
    }
    conformance::FontInUse fontOf(const definition::Control& control) override {
        const Value value = call("fontOf", ",\"id\":" + jsonString(web::idOf(control)));
        const std::vector<Value>& f = value.array();
        const std::u16string& family = f.at(0).text();
        return {std::string(family.begin(), family.end()),
                f.at(1).integer(),
                f.at(2).integer(),
                f.at(3).boolean(),
                f.at(4).boolean(),
                f.at(5).boolean()};
    }
    std::u16string labelText() override { return call("labelText").text(); }

    const definition::Control* focused() override {
        const Value value = call("focused");
        if (value.isNull()) {
            return nullptr;
        }
        for (const definition::Control& control : definition::kControls) {
            const std::string_view id = web::idOf(control);
            if (std::u16string(id.begin(), id.end()) == value.text()) {
                return &control;
            }
        }
        return nullptr;
    }
    using conformance::Driver::press;
    void press(Key key, Modifier modifier) override {
        call("press",
             ",\"key\":" + jsonString(keyName(key)) + ",\"modifier\":" + jsonString(modifierName(modifier)));
    }
    void type(std::u16string_view text) override { call("type", ",\"text\":" + jsonString(text)); }

    std::u16string listItem(int row) override { return call("listItem", rowArgument(row)).text(); }
    int listCount() override { return call("listCount").integer(); }
    int selectedEntry() override { return call("selectedEntry").integer(); }
    int listRowHeight() override { return call("listRowHeight").integer(); }
    int listInnerHeight() override { return call("listInnerHeight").integer(); }
    void clickEntry(int row) override { call("clickEntry", rowArgument(row)); }
    // An HTML list box keeps its options in the order they are given.
    bool listSorted() override { return false; }

    std::u16string boxText() override { return call("boxText").text(); }
    int boxFirstVisibleLine() override { return call("boxFirstVisibleLine").integer(); }
    void scrollBoxToEnd() override { call("scrollBoxToEnd"); }
    bool boxHasTextSelected() override { return call("boxHasTextSelected").boolean(); }
    int boxCaretPosition() override { return call("boxCaretPosition").integer(); }

    void clickAt(int x, int y, Modifier modifier) override {
        call("clickAt", point("x", "y", x, y) + ",\"modifier\":" + jsonString(modifierName(modifier)));
    }
    void doubleClickAt(int x, int y) override { call("doubleClickAt", point("x", "y", x, y)); }
    void drag(int fromX, int fromY, int toX, int toY) override {
        call("drag", point("fromX", "fromY", fromX, fromY) + point("toX", "toY", toX, toY));
    }
    void turnWheelAt(int x, int y, int notches) override {
        call("turnWheelAt", point("x", "y", x, y) + ",\"notches\":" + std::to_string(notches));
    }
    void setClipboard(std::u16string_view text) override {
        call("setClipboard", ",\"text\":" + jsonString(text));
    }
    std::u16string clipboard() override { return call("clipboard").text(); }

    int closeAndWaitForExit() override { return call("close").integer(); }
    int monkeyActions() override { return 200; }

private:
    static std::string_view keyName(Key key) {
        switch (key) {
            case Key::ShiftTab: return "ShiftTab";
            case Key::SelectAll: return "SelectAll";
            case Key::Copy: return "Copy";
            case Key::Paste: return "Paste";
            case Key::Cut: return "Cut";
            default: return conformance::nameOf(key);
        }
    }
    static std::string_view modifierName(Modifier modifier) {
        switch (modifier) {
            case Modifier::None: return "None";
            case Modifier::Shift: return "Shift";
            case Modifier::Control: return "Control";
        }
        return "None";
    }
    static std::string rowArgument(int row) { return ",\"row\":" + std::to_string(row); }
    static std::string point(std::string_view xName, std::string_view yName, int x, int y) {
        return ",\"" + std::string(xName) + "\":" + std::to_string(x) + ",\"" + std::string(yName) +
               "\":" + std::to_string(y);
    }

    void spawn() {
        int in[2];
        int out[2];
        if (::pipe2(in, O_CLOEXEC) != 0 || ::pipe2(out, O_CLOEXEC) != 0) {
            throw std::runtime_error("no pipes for the bridge");
        }
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, in[0], 0);
        posix_spawn_file_actions_adddup2(&actions, out[1], 1);
        const std::string bridge = std::string(KALVETOR_WEB_TESTS) + "/bridge.mjs";
        std::vector<std::string> arguments{KALVETOR_NODE, bridge, browser_, KALVETOR_WEB_PAGE};
        std::vector<char*> argv;
        for (std::string& argument : arguments) {
            argv.push_back(argument.data());
        }
        argv.push_back(nullptr);
        const int failed = posix_spawn(&child_, KALVETOR_NODE, &actions, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        ::close(in[0]);
        ::close(out[1]);
        toChild_ = in[1];
        fromChild_ = out[0];
        if (failed != 0) {
            child_ = -1;
            throw std::runtime_error("cannot start " + std::string(KALVETOR_NODE));
        }
    }

    // One request and its reply, waited for up to two minutes (a browser's
    // start on a busy machine).
    Value call(std::string_view name, const std::string& arguments = "") {
        const std::string request = "{\"call\":" + jsonString(name) + arguments + "}\n";
        for (std::size_t sent = 0; sent < request.size();) {
            const ssize_t n = ::write(toChild_, request.data() + sent, request.size() - sent);
            if (n <= 0) {
                throw std::runtime_error("the bridge has gone");
            }
            sent += static_cast<std::size_t>(n);
        }
        std::string line;
        for (std::size_t end = pending_.find('\n'); end == std::string::npos; end = pending_.find('\n')) {
            pollfd ready{fromChild_, POLLIN, 0};
            if (::poll(&ready, 1, 120'000) <= 0) {
                throw std::runtime_error("no reply from the browser to " + std::string(name));
            }
            char buffer[65536];
            const ssize_t n = ::read(fromChild_, buffer, sizeof buffer);
            if (n <= 0) {
                throw std::runtime_error("the bridge ended during " + std::string(name));
            }
            pending_.append(buffer, static_cast<std::size_t>(n));
        }
        const std::size_t end = pending_.find('\n');
        line = pending_.substr(0, end);
        pending_.erase(0, end + 1);
        if (std::getenv("KALVETOR_BRIDGE_DEBUG") != nullptr) {
            std::fprintf(stderr, "%s -> %s\n", request.c_str(), line.c_str());
        }
        return Reader(line).reply();
    }

    std::string browser_;
    std::string missing_;
    pid_t child_ = -1;
    int toChild_ = -1;
    int fromChild_ = -1;
    std::string pending_;
};

}  // namespace

namespace conformance {

std::unique_ptr<Driver> makeDriver() {
    return std::make_unique<WebDriver>();
}

}  // namespace conformance
