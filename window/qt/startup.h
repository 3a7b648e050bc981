#pragma once

// Start-up without a reachable display. Qt reports a missing display or an
// unusable platform plugin with several messages and then aborts; between
// these two calls such a failure becomes one clear line on stderr and exit
// status 1. Messages Qt logs meanwhile are held back and passed on once the
// display is reached.

namespace startup {

void expectDisplay();
void displayReached();

// What the program sets on the application before it builds its window:
// its identity for the desktop and the window's font as the default font.
void configureApplication();

}  // namespace startup
