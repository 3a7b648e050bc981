#include "window/web/page.h"

#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <string_view>
#include <utility>
#include <vector>

#include "catalogue/catalogue.h"
#include "catalogue/cp1251.h"
#include "catalogue/utf8.h"
#include "window/caption.h"
#include "window/colours.h"
#include "window/definition.h"
#include "window/web/entry_ids.h"
#include "window/web/sha256.h"

namespace web {
namespace {

using definition::Colour;
using definition::Control;
using definition::ControlKind;

// The ids of the page's own parts (and idOf()'s); an entry's id must differ
// from them all.
constexpr std::string_view kWindowId = "kalvetor";
constexpr std::string_view kIntroductionId = "introduction";

// The least height of a list row on a touch screen, in CSS pixels.
constexpr int kTouchRow = 24;
// A line of the window's font, as browsers set Times New Roman and
// Liberation Serif by default ("line-height: normal"): 1.15 times its size.
int rowHeight() {
    return (definition::pointsToPixels(definition::kWindow.font.points, definition::kStandardDpi) * 115 +
            50) /
           100;
}

std::string px(definition::Twips twips) {
    return std::to_string(definition::twipsToPixels(twips, definition::kStandardDpi)) + "px";
}

std::string utf8(std::string_view cp1251) {
    return catalogue::toUtf8(catalogue::decodeCp1251(cp1251));
}

// Text as HTML shows it; line breaks as "\n" (the catalogue's CR LF).
std::string html(std::string_view text) {
    std::string out;
    for (const char c : text) {
        switch (c) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '"': out += "&quot;"; break;
            case '\r': break;
            default: out += c;
        }
    }
    return out;
}

std::string fill(std::string text, const std::vector<std::pair<std::string_view, std::string>>& values) {
    for (const auto& [name, value] : values) {
        for (std::size_t at = text.find(name); at != std::string::npos;
             at = text.find(name, at + value.size())) {
            text.replace(at, name.size(), value);
        }
    }
    return text;
}

std::string hex(Colour colour) {
    char text[8];
    std::snprintf(text, sizeof text, "#%02x%02x%02x", colour.red(), colour.green(), colour.blue());
    return text;
}

// A background and its text under a palette a browser gives pages: the
// palette's own pairs are named by their CSS system colours, so that the
// browser's real ones show.
std::string css(const frontend::ColourPair& pair, const frontend::SystemColours& system) {
    if (pair == system.window) {
        return "background:Canvas;color:CanvasText";
    }
    if (pair == system.button) {
        return "background:ButtonFace;color:ButtonText";
    }
    return "background:" + hex(pair.background) +
           (pair.text == system.window.text ? ";color:CanvasText" : ";color:" + hex(pair.text));
}

// The window's and the label's colours by the rule every front end follows
// (window/colours.h).
std::string colourRules(const frontend::SystemColours& system) {
    const frontend::WindowColours shown = frontend::windowColours(system);
    return "html,#kalvetor{" + css(shown.window, system) + "}#" + std::string(idOf(definition::kTitleLabel)) +
           "{" + css(shown.label, system) + "}";
}

// Chromium's and Firefox's light and dark palettes, near enough for the
// rule's contrast test; the page names them by keyword, never by value.
constexpr frontend::SystemColours kLightPalette{
    .window = {Colour::fromRgb(255, 255, 255), Colour::fromRgb(0, 0, 0)},
    .button = {Colour::fromRgb(239, 239, 239), Colour::fromRgb(0, 0, 0)},
    .highContrast = false};
constexpr frontend::SystemColours kDarkPalette{
    .window = {Colour::fromRgb(18, 18, 18), Colour::fromRgb(255, 255, 255)},
    .button = {Colour::fromRgb(107, 107, 107), Colour::fromRgb(255, 255, 255)},
    .highContrast = false};

std::string fontRule() {
    const definition::Font& font = definition::kWindow.font;
    std::string decoration;
    if (font.underline) {
        decoration += " underline";
    }
    if (font.strikeOut) {
        decoration += " line-through";
    }
    return std::string("font:") + (font.italic ? "italic " : "") + std::to_string(font.weight) + " " +
           std::to_string(definition::pointsToPixels(font.points, definition::kStandardDpi)) + "px \"" +
           std::string(font.family) +
           "\",\"Liberation Serif\",serif;text-decoration:" + (decoration.empty() ? " none" : decoration);
}

std::string_view alignment(definition::Alignment alignment) {
    switch (alignment) {
        case definition::Alignment::Left: return "left";
        case definition::Alignment::Centre: return "center";
        case definition::Alignment::Right: return "right";
    }
    return "left";
}

// The list keeps its place and width and shows whole rows only.
int listRows(const Control& list, int row) {
    const int border = 1;
    return (definition::twipsToPixels(list.rect.height, definition::kStandardDpi) - 2 * border) / row;
}

std::string placeRule(const Control& control) {
    std::string rule = ".live #" + std::string(idOf(control)) + "{left:" + px(control.rect.left) +
                       ";top:" + px(control.rect.top) + ";width:" + px(control.rect.width) + ";height:";
    if (control.kind == ControlKind::ListBox && control.wholeRows) {
        rule += std::to_string(listRows(control, rowHeight()) * rowHeight() + 2) + "px";
    } else {
        rule += px(control.rect.height);
    }
    rule += ";text-align:" + std::string(alignment(control.alignment));
    rule += control.border ? ";border-width:1px" : ";border:none";
    if (control.scrollBars == definition::ScrollBars::Vertical) {
        rule += control.kind == ControlKind::TextBox ? ";overflow-y:scroll" : ";overflow-y:auto";
    }
    return rule + "}";
}

std::string style() {
    using definition::kNameList;
    const std::string list = "#" + std::string(idOf(kNameList));
    const std::string store = "#" + std::string(idOf(definition::kDescriptionStore));
    const std::string intro = "#" + std::string(kIntroductionId);
    const std::string box = "#" + std::string(idOf(definition::kDescriptionBox));
    const std::string title = "#" + std::string(idOf(definition::kTitleLabel));
    const int width = definition::twipsToPixels(definition::kWindow.clientWidth, definition::kStandardDpi);
    const int height = definition::twipsToPixels(definition::kWindow.clientHeight, definition::kStandardDpi);
    std::string rules = ":root{color-scheme:light dark}body{margin:0}";
    rules += colourRules(kLightPalette);
    rules += "@media (prefers-color-scheme:dark){" + colourRules(kDarkPalette) + "}";
    frontend::SystemColours forced = kLightPalette;
    forced.highContrast = true;
    rules += "@media (forced-colors:active){" + colourRules(forced) + "}";
    // Without the script: a plain document, every text in reading order.
    rules += "#kalvetor{" + fontRule() + ";max-width:40em;margin:0 auto;padding:8px}";
    rules += "#kalvetor h1,#kalvetor h2{font-size:1.25em;margin:.5em 0}" + title +
             "{padding:4px;text-align:" + std::string(alignment(definition::kTitleLabel.alignment)) + "}" +
             intro + ",#kalvetor p{white-space:pre-line;margin:0 0 .5em}";
    // With it: the window, centred in the viewport on whole pixels.
    rules += ".live #kalvetor{position:relative;width:" + std::to_string(width) +
             "px;height:" + std::to_string(height) + "px;left:max(0px,round(down,(100% - " +
             std::to_string(width) + "px)/2,1px));top:max(0px,round(down,(100vh - " + std::to_string(height) +
             "px)/2,1px));max-width:none;margin:0;padding:0}.live "
             "#kalvetor>*{position:absolute;box-sizing:border-box;margin:0;"
             "font:inherit;padding:0}" +
             ".live " + box +
             "{resize:none;padding:1px 2px}.live #kalvetor>:focus-visible{outline-offset:-2px}.live " + list +
             " option{min-height:0;height:" + std::to_string(rowHeight()) +
             "px;line-height:" + std::to_string(rowHeight()) + "px;padding:0 2px}.live " + store + ",.live " +
             intro + "{display:none}";
    for (const Control& control : definition::kControls) {
        if (control.visible) {
            rules += placeRule(control);
        }
    }
    // Narrower than the window: title, list and description one below the
    // other across the screen, rows high enough to tap.
    rules += "@media (width < " + std::to_string(width) +
             "px){.live #kalvetor{position:static;width:auto;height:auto;"
             "display:flex;flex-direction:column;gap:8px;padding:8px}.live #kalvetor>*{position:static;width:"
             "auto}" +
             ".live " + title + "{order:0;height:auto;padding:4px}.live " + list +
             "{order:1;height:" + std::to_string(listRows(kNameList, kTouchRow) * kTouchRow + 2) +
             "px}.live " + list + " option{height:" + std::to_string(kTouchRow) +
             "px;line-height:" + std::to_string(kTouchRow) + "px}.live " + box +
             "{order:2;height:60vh;min-height:" + px(definition::kDescriptionBox.rect.height) + "}}";
    // On paper: the title, then the chosen name and its whole description
    // (the introduction before any choice), black on white, on A4.
    rules += "@page{size:A4;margin:2cm}@media print{html,#kalvetor," + title +
             "{background:#fff;color:#000}.live #kalvetor{position:static;width:auto;"
             "height:auto}.live #kalvetor>*{position:static;width:auto;height:auto}.live " +
             list + ",.live " + box + "{display:none}.live " + store + "{display:block}.live " + store +
             " section:not(.chosen),.live.chosen " + intro + "{display:none}.live " + intro +
             "{display:block}}";
    return rules;
}

// The script builds the window from the texts in the page and gives it the
// desktop's behaviour; it sets text, never markup.
constexpr std::string_view kScript = R"(
"use strict";
(() => {
  const byId = (id) => document.getElementById(id);
  const list = byId("@LIST@");
  const box = byId("@BOX@");
  const entries = Array.from(byId("@STORE@").querySelectorAll("section"));
  for (const entry of entries) {
    const option = document.createElement("option");
    option.textContent = entry.querySelector("h2").textContent;
    list.append(option);
  }
  let chosen = null;
  // The selected entry's description, from its first line, and its id in
  // the address without a new history entry.
  const show = () => {
    const entry = entries[list.selectedIndex];
    if (!entry) return;
    chosen?.classList.remove("chosen");
    chosen = entry;
    entry.classList.add("chosen");
    document.documentElement.classList.add("chosen");
    box.value = entry.querySelector("p").textContent;
    box.setSelectionRange(0, 0);
    box.scrollTop = 0;
    history.replaceState(null, "", "#" + entry.id);
  };
  const choose = (index) => {
    list.selectedIndex = Math.min(Math.max(index, 0), entries.length - 1);
    show();
  };
  const follow = () => {
    const index = entries.findIndex((entry) => "#" + entry.id === location.hash);
    if (index >= 0) choose(index);
  };
  // The list's keys, as the desktop's list box has them: with nothing
  // selected the cursor is on the first entry, which the first move
  // selects; Left and Right move as Up and Down; a page is the rows shown
  // less one. Browsers move from where the user last chose, not from an
  // entry a link chose, so the script moves the selection itself.
  const moves = {
    ArrowUp: (i) => i - 1,
    ArrowLeft: (i) => i - 1,
    ArrowDown: (i) => i + 1,
    ArrowRight: (i) => i + 1,
    Home: () => 0,
    End: () => entries.length - 1,
    PageUp: (i, page) => i - page,
    PageDown: (i, page) => i + page,
  };
  list.addEventListener("keydown", (event) => {
    const move = moves[event.key];
    if (!move || event.altKey || event.ctrlKey || event.metaKey || event.shiftKey) return;
    event.preventDefault();
    const row = list.options[0].getBoundingClientRect().height;
    const page = Math.max(1, Math.floor(list.clientHeight / row) - 1);
    choose(list.selectedIndex < 0 ? 0 : move(list.selectedIndex, page));
    list.options[list.selectedIndex].scrollIntoView({ block: "nearest" });
  });
  list.addEventListener("change", show);
  list.addEventListener("click", show);
  window.addEventListener("hashchange", follow);
  box.value = byId("@INTRODUCTION@").textContent;
  list.hidden = false;
  box.hidden = false;
  document.documentElement.classList.add("live");
  follow();
  // The box has the focus first; opened at an entry's id, the browser
  // moves to that (hidden) entry once the page has loaded, and the box
  // takes the focus back.
  const focusBox = () => {
    if (document.activeElement !== document.body && document.activeElement !== null) return;
    box.focus();
    box.setSelectionRange(0, 0);
    box.scrollTop = 0;
  };
  focusBox();
  window.addEventListener("load", focusBox);
  const manifest = document.querySelector("link[rel=manifest]");
  if (manifest && "serviceWorker" in navigator && location.protocol.startsWith("http")) {
    navigator.serviceWorker.register(manifest.dataset.worker);
  }
})();
)";

std::string script() {
    return fill(std::string(kScript), {{"@LIST@", std::string(idOf(definition::kNameList))},
                                       {"@BOX@", std::string(idOf(definition::kDescriptionBox))},
                                       {"@STORE@", std::string(idOf(definition::kDescriptionStore))},
                                       {"@INTRODUCTION@", std::string(kIntroductionId)}});
}

struct Entry {
    std::string id;
    std::string name;
    std::string description;
};

std::vector<Entry> entries() {
    std::vector<std::u16string> names;
    for (const std::string_view name : catalogue::kNames) {
        names.push_back(catalogue::decodeCp1251(name));
    }
    std::vector<std::string> reserved{std::string(kWindowId), std::string(kIntroductionId)};
    for (const Control& control : definition::kControls) {
        reserved.emplace_back(idOf(control));
        reserved.push_back(std::string(idOf(control)) + "-about");
    }
    const std::vector<std::string> ids = entryIds(names, reserved);
    std::vector<Entry> out;
    for (std::size_t i = 0; i < ids.size(); ++i) {
        out.push_back({ids[i], utf8(catalogue::kNames[i]), utf8(catalogue::kDescriptions[i])});
    }
    return out;
}

std::string attribute(std::string_view name, std::u16string_view value) {
    return " " + std::string(name) + "=\"" + html(catalogue::toUtf8(value)) + "\"";
}

// What assistive technology reads for a control beyond its own text: its
// name and a description, kept in the page as hidden text.
std::string accessible(const Control& control, std::string& descriptions) {
    std::string out;
    if (!control.accessibleName.empty()) {
        out += attribute("aria-label", control.accessibleName);
    }
    if (!control.accessibleDescription.empty()) {
        const std::string about = std::string(idOf(control)) + "-about";
        out += " aria-describedby=\"" + about + "\"";
        descriptions += "<span id=\"" + about + "\" hidden>" +
                        html(catalogue::toUtf8(control.accessibleDescription)) + "</span>\n";
    }
    return out;
}

enum class Kind { Live, Bare };

// The window's parts: the title first, then the controls a user reaches in
// their tab order; in the bare page filled as the script fills them.
std::string body(const std::vector<Entry>& list, Kind kind) {
    std::vector<const Control*> controls;
    for (const Control& control : definition::kControls) {
        if (control.visible && control.takesFocus) {
            controls.push_back(&control);
        }
    }
    std::sort(controls.begin(), controls.end(),
              [](const Control* a, const Control* b) { return a->tabPlace < b->tabPlace; });
    std::string descriptions;
    std::string out = "<main id=\"" + std::string(kWindowId) + "\">\n<h1 id=\"" +
                      std::string(idOf(definition::kTitleLabel)) + "\"" +
                      accessible(definition::kTitleLabel, descriptions) + ">" +
                      html(utf8(catalogue::kTitle)) + "</h1>\n";
    const std::string hidden = kind == Kind::Live ? " hidden" : "";
    for (const Control* control : controls) {
        const std::string id = " id=\"" + std::string(idOf(*control)) + "\"";
        if (control->kind == ControlKind::ListBox) {
            out += "<select" + id + " size=\"" + std::to_string(listRows(*control, rowHeight())) + "\"" +
                   accessible(*control, descriptions) + hidden + ">";
            if (kind == Kind::Bare) {
                for (const Entry& entry : list) {
                    out += "<option>" + html(entry.name) + "</option>";
                }
            }
            out += "</select>\n";
        } else {
            out += "<textarea" + id + (control->readOnly ? " readonly" : "") +
                   accessible(*control, descriptions) + hidden + ">" +
                   (kind == Kind::Bare ? html(utf8(catalogue::kIntroduction)) : "") + "</textarea>\n";
        }
    }
    out += descriptions;
    if (kind == Kind::Live) {
        out += "<div id=\"" + std::string(kIntroductionId) + "\">" + html(utf8(catalogue::kIntroduction)) +
               "</div>\n";
    }
    out += "<div id=\"" + std::string(idOf(definition::kDescriptionStore)) + "\">\n";
    for (const Entry& entry : list) {
        out += "<section id=\"" + entry.id + "\"><h2>" + html(entry.name) + "</h2><p>" +
               html(entry.description) + "</p></section>\n";
    }
    return out + "</div>\n</main>\n";
}

std::string hashSource(std::string_view text) {
    return "'sha256-" + base64(sha256(text)) + "'";
}

enum class Hosting { File, Folder };

std::string page(const std::vector<Entry>& list, const Icons& icons, Kind kind, Hosting hosting) {
    const std::string styleText = style();
    const std::string scriptText = script();
    // Nothing beyond the page itself; hosted, the folder's manifest, its
    // icons and its service worker as well.
    const bool hosted = hosting == Hosting::Folder;
    std::string policy = "default-src 'none'; style-src " + hashSource(styleText) +
                         "; img-src data:" + (hosted ? " 'self'" : "");
    if (kind == Kind::Live) {
        policy += "; script-src " + hashSource(scriptText);
    }
    if (hosted) {
        policy += "; manifest-src 'self'; worker-src 'self'";
    }
    std::string out =
        "<!DOCTYPE html>\n<html lang=\"bg\"" + std::string(kind == Kind::Bare ? " class=\"live\"" : "") +
        ">\n<head>\n<meta charset=\"utf-8\">\n"
        "<meta http-equiv=\"Content-Security-Policy\" content=\"" +
        policy + "\">\n<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n<title>" +
        html(catalogue::toUtf8(frontend::caption())) +
        "</title>\n<link rel=\"icon\" type=\"image/png\" href=\"data:image/png;base64," +
        base64(icons.favicon) + "\">\n";
    if (hosting == Hosting::Folder) {
        out += "<link rel=\"manifest\" href=\"" + std::string(kManifestFile) + "\" data-worker=\"" +
               kServiceWorkerFile + "\">\n";
    }
    out += "<style>" + styleText + "</style>\n</head>\n<body>\n" + body(list, kind);
    if (kind == Kind::Live) {
        out += "<script>" + scriptText + "</script>\n";
    }
    return out + "</body>\n</html>\n";
}

std::string manifest() {
    const std::string name = utf8(catalogue::kTitle);
    const frontend::WindowColours colours = frontend::windowColours(kLightPalette);
    return "{\n  \"name\": \"" + name + "\",\n  \"short_name\": \"" + name +
           "\",\n  \"lang\": \"bg\",\n  \"start_url\": \"./\",\n  \"scope\": \"./\",\n"
           "  \"display\": \"standalone\",\n  \"background_color\": \"" +
           hex(colours.window.background) + "\",\n  \"theme_color\": \"" + hex(colours.label.background) +
           "\",\n  \"icons\": [\n    {\"src\": \"" + kMediumIconFile +
           "\", \"sizes\": \"192x192\", \"type\": \"image/png\"},\n    {\"src\": \"" + kLargeIconFile +
           "\", \"sizes\": \"512x512\", \"type\": \"image/png\"}\n  ]\n}\n";
}

// Keeps the folder's files on the first visit and answers from them after;
// a new build names a new store and drops the old one.
std::string serviceWorker(const std::string& hostedPage) {
    constexpr std::string_view kWorker = R"("use strict";
const store = "kalvetor-@VERSION@";
const files = ["./", "index.html", "@MANIFEST@", "@MEDIUM@", "@LARGE@"];
self.addEventListener("install", (event) => {
  event.waitUntil(caches.open(store).then((cache) => cache.addAll(files)).then(() => self.skipWaiting()));
});
self.addEventListener("activate", (event) => {
  event.waitUntil(
    caches.keys()
      .then((names) => Promise.all(names.filter((name) => name !== store).map((name) => caches.delete(name))))
      .then(() => self.clients.claim()));
});
self.addEventListener("fetch", (event) => {
  if (event.request.method !== "GET") return;
  event.respondWith(
    caches.match(event.request, { ignoreSearch: true }).then((kept) => kept || fetch(event.request)));
});
)";
    const std::string version = base64(sha256(hostedPage)).substr(0, 12);
    std::string safe;
    for (const char c : version) {
        safe += (c == '+' || c == '/') ? '-' : c;
    }
    return fill(std::string(kWorker), {{"@VERSION@", safe},
                                       {"@MANIFEST@", kManifestFile},
                                       {"@MEDIUM@", kMediumIconFile},
                                       {"@LARGE@", kLargeIconFile}});
}

}  // namespace

std::string_view idOf(const Control& control) {
    switch (control.content) {
        case definition::Content::Title: return "title";
        case definition::Content::Names: return "names";
        case definition::Content::Introduction: return "description";
        case definition::Content::Descriptions: return "entries";
    }
    return "";
}

WebEdition makeWebEdition(const Icons& icons) {
    const std::vector<Entry> list = entries();
    WebEdition edition;
    edition.singlePage = page(list, icons, Kind::Live, Hosting::File);
    edition.hostedPage = page(list, icons, Kind::Live, Hosting::Folder);
    edition.manifest = manifest();
    edition.serviceWorker = serviceWorker(edition.hostedPage + edition.manifest + icons.medium + icons.large);
    edition.barePage = page(list, icons, Kind::Bare, Hosting::File);
    return edition;
}

}  // namespace web
