#include "catalogue/embed/problems.h"

namespace embed {

void Problems::add(std::string_view path, int line, int column, std::string_view message) {
    std::string text(path);
    if (line > 0) {
        text += ':';
        text += std::to_string(line);
        if (column > 0) {
            text += ':';
            text += std::to_string(column);
        }
    }
    text += ": ";
    text += message;
    messages_.push_back(std::move(text));
}

}  // namespace embed
