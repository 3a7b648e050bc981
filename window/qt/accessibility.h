#pragma once

// What the window's own widgets tell assistive technology, where Qt's
// defaults would say something else: the window is a frame named by its
// caption (a plain top-level widget is a "filler", and a screen reader finds
// no title bar to read), and the read-only description box offers its text
// to be read, selected and copied, never edited, and says it is Bulgarian.

namespace accessibility {

// Installs the accessible interface factory for the window's widgets. Safe
// to call more than once; must run before a window is shown to assistive
// technology.
void install();

}  // namespace accessibility
