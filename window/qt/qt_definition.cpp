#include "window/qt/qt_definition.h"

#include "catalogue/cp1251.h"

QString decoded(std::string_view cp1251) {
    return QString::fromStdU16String(catalogue::decodeCp1251(cp1251));
}

QString toQString(std::u16string_view text) {
    return QString(reinterpret_cast<const QChar*>(text.data()), static_cast<qsizetype>(text.size()));
}

QString widgetName(const definition::Control& control) {
    return QString::fromLatin1(control.name.data(), static_cast<qsizetype>(control.name.size()));
}

int logicalPixels(definition::Twips twips) {
    return definition::twipsToPixels(twips, definition::kStandardDpi);
}

QRect logicalRect(const definition::Rect& rect) {
    const definition::PixelRect pixels = definition::pixelRect(rect, definition::kStandardDpi);
    return {pixels.left, pixels.top, pixels.width, pixels.height};
}

QColor toQColor(definition::Colour colour) {
    return {colour.red(), colour.green(), colour.blue()};
}

definition::Colour fromQColor(const QColor& colour) {
    return definition::Colour::fromRgb(colour.red(), colour.green(), colour.blue());
}

QFont windowFont() {
    const definition::Font& font = definition::kWindow.font;
    QFont qfont(QString::fromLatin1(font.family.data(), static_cast<qsizetype>(font.family.size())),
                font.points);
    qfont.setWeight(static_cast<QFont::Weight>(font.weight));
    qfont.setItalic(font.italic);
    qfont.setUnderline(font.underline);
    qfont.setStrikeOut(font.strikeOut);
    // Glyphs fitted to the pixel grid, as Windows draws this font: sharper
    // at 12 pt, and each glyph is rendered once rather than once for every
    // fraction of a pixel it starts at.
    qfont.setHintingPreference(QFont::PreferFullHinting);
    return qfont;
}
