#pragma once

// The window definition and the catalogue's text in Qt's terms. Qt lays
// widgets out in device-independent pixels, which are pixels at 96 dpi.

#include <QColor>
#include <QFont>
#include <QRect>
#include <QString>
#include <string_view>

#include "window/definition.h"

// Catalogue text (Windows-1251 bytes) as the Qt string the window shows.
QString decoded(std::string_view cp1251);

QString toQString(std::u16string_view text);

// The Qt object name of the widget that stands for a control: the control
// array's name, by which tests and tools find it.
QString widgetName(const definition::Control& control);

// A length in twips in Qt's device-independent pixels.
int logicalPixels(definition::Twips twips);
QRect logicalRect(const definition::Rect& rect);
QColor toQColor(definition::Colour colour);
definition::Colour fromQColor(const QColor& colour);

// The window's font. Qt has no character sets: the text is decoded from
// code page 1251 before Qt sees it, and fontconfig picks a face that covers
// it (Liberation Serif, metric-compatible with Times New Roman).
QFont windowFont();
