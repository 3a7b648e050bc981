#pragma once

// What the window should show for each catalogue text, for the tests.

#include <QString>

#include "catalogue/catalogue.h"
#include "window/qt/qt_definition.h"

inline QString nameAt(int i) {
    return decoded(catalogue::kNames[static_cast<std::size_t>(i)]);
}

inline QString descriptionAt(int i) {
    return decoded(catalogue::kDescriptions[static_cast<std::size_t>(i)]);
}

// The box shows line breaks as such; each stored CR LF becomes one break.
inline QString introductionAsShown() {
    return decoded(catalogue::kIntroduction).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}
