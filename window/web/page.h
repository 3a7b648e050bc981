#pragma once

// The web edition's files, written from the window definition and the
// catalogue: the single page (kalvetor.html, for a disk or a USB stick), the
// hosted folder's page (the same window, with a web app manifest and a
// service worker for offline use) and, for the benchmark, a bare page that
// shows the same controls and texts without a script.

#include <string>
#include <string_view>

#include "window/definition.h"

namespace web {

// The id of the page's element that stands for the control.
std::string_view idOf(const definition::Control& control);

// The project's icon as PNG files: the favicon and the manifest's icons.
struct Icons {
    std::string favicon;  // 32 x 32
    std::string medium;   // 192 x 192
    std::string large;    // 512 x 512
};

// The names the hosted folder's files go by, beside its index.html.
inline constexpr const char* kManifestFile = "manifest.webmanifest";
inline constexpr const char* kServiceWorkerFile = "service-worker.js";
inline constexpr const char* kMediumIconFile = "kalvetor-192.png";
inline constexpr const char* kLargeIconFile = "kalvetor-512.png";

struct WebEdition {
    std::string singlePage;
    std::string hostedPage;
    std::string manifest;
    std::string serviceWorker;
    std::string barePage;
};

// Everything at once; throws std::runtime_error when the catalogue's names
// do not give one id each (see entry_ids.h).
WebEdition makeWebEdition(const Icons& icons);

}  // namespace web
