#pragma once

// Test helper: catalogue text as UTF-8, so tests can state expectations in
// readable Bulgarian.

#include <string>
#include <string_view>

#include "catalogue/cp1251.h"
#include "catalogue/utf8.h"

namespace catalogue::testing {

using catalogue::toUtf8;

inline std::string utf8(std::string_view cp1251) {
    return toUtf8(decodeCp1251(cp1251));
}

}  // namespace catalogue::testing
