#pragma once

// Catalogue text (Windows-1251 bytes) as the Qt strings the window shows.

#include <QString>
#include <string_view>

#include "catalogue/cp1251.h"

inline QString decoded(std::string_view cp1251) {
    return QString::fromStdU16String(catalogue::decodeCp1251(cp1251));
}
