// A copy of a length known only at run time into a buffer of known size:
// built with the Windows programs' flags, it calls the fortified
// __memcpy_chk when those flags fortify. (Whether the program's own copies
// keep a check depends on what the compiler can prove safe: GCC 14 proves
// them all.)

#include <cstddef>
#include <cstring>

char fortifyProbeBuffer[16];

void fortifyProbe(const char* source, std::size_t length) {
    std::memcpy(fortifyProbeBuffer, source, length);
}
