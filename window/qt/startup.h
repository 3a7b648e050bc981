#pragma once

// Start-up without a reachable display. Qt reports a missing display or an
// unusable platform plugin with several messages and then aborts; between
// these two calls such a failure becomes one clear line on stderr and exit
// status 1. Messages Qt logs meanwhile are held back and passed on once the
// display is reached.

#include <QLocale>
#include <QString>

namespace startup {

// Every text the program shows is Bulgarian, which the C (POSIX) locale
// cannot encode; Qt then switches the character type to UTF-8 and warns
// about it. Where the environment chooses no locale but C (as on a machine
// without LANG), the program starts in C.UTF-8 instead, quietly; a locale
// chosen otherwise is left to Qt. Call before the application is made.
void useUtf8InTheCLocale();

void expectDisplay();
void displayReached();

// What the program sets on the application before it builds its window:
// its identity for the desktop, the window's font as the default font,
// Bulgarian as the language of every widget and of what assistive
// technology reads, Qt's own texts (context menus, scroll bar menus) in
// Bulgarian, and the accessible interfaces of the window's own widgets.
void configureApplication();

// The program's language, whatever the user's locale: every text it shows
// is Bulgarian.
QLocale programLocale();

// Installs Qt's own translation for the program's language from the given
// directory, in place of any it installed before. A missing or unreadable
// file is not fatal: Qt's texts are then in English, and one line says so on
// Qt's message log. True when installed.
bool installQtTranslation(const QString& directory);

}  // namespace startup
