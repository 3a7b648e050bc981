// Build tool: writes the web edition from the window definition and the
// catalogue (see page.h).
//
//   make_web_edition <icon-dir> <output-dir>
//
// Into <output-dir>: kalvetor.html, the single page; kalvetor-web/, the
// folder to host (index.html, the manifest, the service worker and the
// icons); bare.html, the benchmark's page without a script.

#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>

#include "window/web/page.h"

namespace {

std::string readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        throw std::runtime_error("cannot read " + path.string());
    }
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeFile(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary);
    out << bytes;
    if (!out.flush()) {
        throw std::runtime_error("cannot write " + path.string());
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fputs("usage: make_web_edition <icon-dir> <output-dir>\n", stderr);
        return 2;
    }
    try {
        const std::filesystem::path icons = argv[1];
        const std::filesystem::path out = argv[2];
        const web::Icons icon{readFile(icons / "kalvetor-32.png"), readFile(icons / web::kMediumIconFile),
                              readFile(icons / web::kLargeIconFile)};
        const web::WebEdition edition = web::makeWebEdition(icon);
        const std::filesystem::path folder = out / "kalvetor-web";
        std::filesystem::create_directories(folder);
        writeFile(out / "kalvetor.html", edition.singlePage);
        writeFile(out / "bare.html", edition.barePage);
        writeFile(folder / "index.html", edition.hostedPage);
        writeFile(folder / web::kManifestFile, edition.manifest);
        writeFile(folder / web::kServiceWorkerFile, edition.serviceWorker);
        writeFile(folder / web::kMediumIconFile, icon.medium);
        writeFile(folder / web::kLargeIconFile, icon.large);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "make_web_edition: %s\n", error.what());
        return 1;
    }
    return 0;
}
