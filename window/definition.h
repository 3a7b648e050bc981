#pragma once

// The main window as data: the window Kalvetor and its four controls, every
// property stated once, in the units the window is designed in (twips,
// 1/1440 inch; colours as 0x00BBGGRR values). Each front end builds its
// window from this and says in its own terms only what data cannot: which
// native control or widget stands for each kind, and how it is wired.

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

#include "catalogue/selection.h"

namespace definition {

using Twips = int;

inline constexpr int kTwipsPerInch = 1440;
inline constexpr int kStandardDpi = 96;  // 15 twips a pixel

// Pixels for a length in twips at a given resolution, rounded to the nearest
// pixel as Windows' MulDiv rounds (halves away from zero).
constexpr int twipsToPixels(Twips twips, int dpi) {
    const long long scaled = static_cast<long long>(twips) * dpi;
    const long long half = kTwipsPerInch / 2;
    return static_cast<int>(scaled >= 0 ? (scaled + half) / kTwipsPerInch
                                        : -((-scaled + half) / kTwipsPerInch));
}

// Pixels for a font size in points (1/72 inch) at a given resolution.
constexpr int pointsToPixels(int points, int dpi) {
    return twipsToPixels(points * (kTwipsPerInch / 72), dpi);
}

// A colour as the window definition states it: red in the low byte, green
// in the second, blue in the third.
struct Colour {
    std::uint32_t value;

    constexpr int red() const { return static_cast<int>(value & 0xFFu); }
    constexpr int green() const { return static_cast<int>((value >> 8) & 0xFFu); }
    constexpr int blue() const { return static_cast<int>((value >> 16) & 0xFFu); }

    static constexpr Colour fromRgb(int red, int green, int blue) {
        return {static_cast<std::uint32_t>(red) | static_cast<std::uint32_t>(green) << 8 |
                static_cast<std::uint32_t>(blue) << 16};
    }
    friend constexpr bool operator==(Colour, Colour) = default;
};

struct Rect {
    Twips left;
    Twips top;
    Twips width;
    Twips height;

    constexpr Twips right() const { return left + width; }
    constexpr Twips bottom() const { return top + height; }
};

// A rectangle in pixels: each length of a Rect as twipsToPixels gives it.
struct PixelRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    friend bool operator==(const PixelRect&, const PixelRect&) = default;
};

constexpr PixelRect pixelRect(const Rect& rect, int dpi) {
    return {twipsToPixels(rect.left, dpi), twipsToPixels(rect.top, dpi), twipsToPixels(rect.width, dpi),
            twipsToPixels(rect.height, dpi)};
}

struct Font {
    std::string_view family;
    int points;
    int weight;  // 400 is normal, 700 bold
    bool italic;
    bool underline;
    bool strikeOut;
    int characterSet;  // 204: Cyrillic
};

enum class ControlKind { ListBox, TextBox, Label };
enum class SelectionMode { None, Single };
enum class ScrollBars { None, Vertical };
enum class Alignment { Left, Centre, Right };
// What a control holds when the window opens.
enum class Content { Descriptions, Names, Introduction, Title };

// A window with no owner: every front end opens it in the centre of the
// screen.
struct Window {
    std::string_view name;
    std::string_view captionSeparator;  // between the web address and the title
    bool resizable;                     // by dragging its border; false: a fixed single border
    bool systemMenu;
    bool closeButton;
    bool minimiseButton;
    bool maximiseButton;
    Twips clientWidth;
    Twips clientHeight;
    Colour background;
    Font font;  // every control uses the window's font
};

// A control states what differs from these defaults: a visible control that
// takes the focus, with a border and no scroll bars, drawn in the
// platform's standard colours and named by its own text.
struct Control {
    std::string_view name;  // the control array's name
    catalogue::MemberIndex member = 0;
    ControlKind kind;
    Rect rect;
    bool visible = true;
    int tabPlace;            // 1 is first in the tab order
    bool takesFocus = true;  // a label never does
    Content content;
    // Lists
    bool sorted = false;
    SelectionMode selection = SelectionMode::None;
    bool wholeRows = false;  // the height is trimmed to a whole number of rows
    // Text boxes
    bool multiLine = false;
    bool wordWrap = false;
    bool readOnly = false;  // the text can be selected and copied, not changed
    // Labels
    Alignment alignment = Alignment::Left;
    bool opaque = true;
    // Every control
    bool border = true;
    // Vertical: always present for a text box, as needed for a list.
    ScrollBars scrollBars = ScrollBars::None;
    std::optional<Colour> background = std::nullopt;  // none: the platform's standard colours
    // What assistive technology reads for it; an empty name means the
    // control's own text names it.
    std::u16string_view accessibleName = u"";
    std::u16string_view accessibleDescription = u"";
};

inline constexpr Window kWindow{
    .name = "Kalvetor",
    .captionSeparator = "  ",
    .resizable = false,
    .systemMenu = true,
    .closeButton = true,
    .minimiseButton = false,
    .maximiseButton = false,
    .clientWidth = 6615,
    .clientHeight = 5430,
    .background = Colour{0x00FFC0C0},
    .font = {.family = "Times New Roman",
             .points = 12,
             .weight = 400,
             .italic = false,
             .underline = false,
             .strikeOut = false,
             .characterSet = 204},
};

// The controls. Where two overlap, the one stacked above covers the other
// (see stackingOrder()).
inline constexpr std::array<Control, 4> kControls{{
    {.name = "List1",
     .member = catalogue::kDescriptionStore,
     .kind = ControlKind::ListBox,
     .rect = {1920, 3120, 3975, 3765},
     .visible = false,
     .tabPlace = 4,
     .takesFocus = false,
     .content = Content::Descriptions,
     .selection = SelectionMode::Single,
     .wholeRows = true,
     .scrollBars = ScrollBars::Vertical},
    {.name = "List1",
     .member = catalogue::kNameList,
     .kind = ControlKind::ListBox,
     .rect = {1440, 360, 3975, 2340},
     .tabPlace = 3,
     .content = Content::Names,
     .selection = SelectionMode::Single,
     .wholeRows = true,
     .scrollBars = ScrollBars::Vertical,
     .accessibleName = u"Народни будители",
     .accessibleDescription =
         u"Списък с имената на народните будители. Изберете име, за да прочетете за живота и "
         u"делото му в полето отдолу."},
    {.name = "Text1",
     .member = catalogue::kDescriptionBox,
     .kind = ControlKind::TextBox,
     .rect = {120, 2760, 6375, 2535},
     .tabPlace = 1,
     .content = Content::Introduction,
     .multiLine = true,
     .wordWrap = true,
     .readOnly = true,
     .scrollBars = ScrollBars::Vertical,
     .accessibleName = u"Описание",
     .accessibleDescription =
         u"Животът и делото на избрания будител, а преди избора – въведение към проекта. "
         u"Текстът може да се избира и копира, но не и да се променя."},
    {.name = "Label1",
     .kind = ControlKind::Label,
     .rect = {1440, 0, 3975, 375},
     .tabPlace = 2,
     .takesFocus = false,
     .content = Content::Title,
     .alignment = Alignment::Centre,
     .border = false,
     .background = Colour{0x0080C0FF},
     .accessibleDescription = u"Заглавие на програмата"},
}};

// The controls from bottom to top, the order in which the Qt front end
// creates its widgets (a later sibling lies above): a label beneath every
// control that is a window of its own, as if drawn on the window itself, the
// others in their order. Only the title label and the name list overlap, the
// list covering the label's bottom pixel, so only their order shows. The
// Win32 front end creates its child windows in the order of kControls
// instead, since a new child goes below its siblings: there too the label,
// made last, lies at the bottom.
constexpr std::array<const Control*, kControls.size()> stackingOrder() {
    std::array<const Control*, kControls.size()> order{};
    std::size_t next = 0;
    for (const bool labels : {true, false}) {
        for (const Control& c : kControls) {
            if ((c.kind == ControlKind::Label) == labels) {
                order[next++] = &c;
            }
        }
    }
    return order;
}

// The control with this name and member index. Only the window's own
// controls exist; asking for another is a programming error, refused at
// compile time where the call is a constant expression.
constexpr const Control& control(std::string_view name, catalogue::MemberIndex member = 0) {
    for (const Control& c : kControls) {
        if (c.name == name && c.member == member) {
            return c;
        }
    }
    throw "no such control";
}

inline constexpr const Control& kDescriptionStore = control("List1", catalogue::kDescriptionStore);
inline constexpr const Control& kNameList = control("List1", catalogue::kNameList);
inline constexpr const Control& kDescriptionBox = control("Text1", catalogue::kDescriptionBox);
inline constexpr const Control& kTitleLabel = control("Label1");

}  // namespace definition
