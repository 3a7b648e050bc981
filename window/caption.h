#pragma once

// The window's caption: the program's web address, two spaces, the title.

#include <string>

namespace frontend {

std::u16string caption();

}  // namespace frontend
