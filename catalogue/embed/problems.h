#pragma once

// What the build found wrong with the content, one message a problem, in the
// "file:line:column: message" form that editors and IDEs jump to.

#include <string>
#include <string_view>
#include <vector>

namespace embed {

class Problems {
public:
    // line and column count from 1; 0 leaves them out of the message.
    void add(std::string_view path, int line, int column, std::string_view message);
    void add(std::string_view path, int line, std::string_view message) { add(path, line, 0, message); }
    void add(std::string_view path, std::string_view message) { add(path, 0, 0, message); }

    bool empty() const { return messages_.empty(); }
    std::size_t size() const { return messages_.size(); }
    const std::vector<std::string>& messages() const { return messages_; }

private:
    std::vector<std::string> messages_;
};

}  // namespace embed
