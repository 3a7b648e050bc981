// Starts a Kalvetor executable as a user does, waits until its window is
// shown with the program's caption and client area, closes it as the close
// button does (WM_CLOSE) and checks that the program ends with status 0:
//
//     win32_launch_check <Kalvetor.exe>
//
// Prints what it found and exits 0 when all of it held.

#include <windows.h>

#include <cstdio>
#include <string>

#include "window/caption.h"
#include "window/definition.h"
#include "window/win32/dpi.h"
#include "window/win32/text.h"

namespace {

using kalvetor::win32::toWide;

struct Search {
    DWORD process;
    std::wstring caption;
    HWND found;
};

// EnumWindows' callback, a CALLBACK (stdcall on 32-bit Windows) as no
// lambda can be.
BOOL CALLBACK findShownWindow(HWND window, LPARAM parameter) {
    auto& s = *reinterpret_cast<Search*>(parameter);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    wchar_t text[256] = {};
    GetWindowTextW(window, text, 256);
    if (owner == s.process && IsWindowVisible(window) && s.caption == text) {
        s.found = window;
        return FALSE;
    }
    return TRUE;
}

HWND shownWindowOf(DWORD process, const std::wstring& caption) {
    Search search{process, caption, nullptr};
    EnumWindows(findShownWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: win32_launch_check <Kalvetor.exe>\n");
        return 2;
    }
    std::wstring commandLine = L"\"" + std::wstring(argv[1]) + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(argv[1], commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process)) {
        std::fprintf(stderr, "launch check: the program did not start (error %lu)\n", GetLastError());
        return 1;
    }
    CloseHandle(process.hThread);

    // Until its window is shown: generous, since a first start in a fresh
    // Wine prefix is slow.
    WaitForInputIdle(process.hProcess, 30000);
    const std::wstring caption = toWide(frontend::caption());
    HWND window = nullptr;
    for (int waited = 0; window == nullptr && waited < 30000; waited += 50) {
        if (WaitForSingleObject(process.hProcess, 50) == WAIT_OBJECT_0) {
            break;
        }
        window = shownWindowOf(process.dwProcessId, caption);
    }
    int failures = 0;
    if (window == nullptr) {
        std::fprintf(stderr, "launch check: no window with the program's caption was shown\n");
        TerminateProcess(process.hProcess, 1);
        CloseHandle(process.hProcess);
        return 1;
    }
    RECT client{};
    GetClientRect(window, &client);
    const int dpi = static_cast<int>(kalvetor::win32::dpiOfWindow(window));
    const int width = definition::twipsToPixels(definition::kWindow.clientWidth, dpi);
    const int height = definition::twipsToPixels(definition::kWindow.clientHeight, dpi);
    std::printf("launch check: window shown, client area %ldx%ld at %d dpi\n", client.right, client.bottom,
                dpi);
    if (client.right != width || client.bottom != height) {
        std::fprintf(stderr, "launch check: the client area should be %dx%d\n", width, height);
        ++failures;
    }

    PostMessageW(window, WM_CLOSE, 0, 0);
    DWORD status = 1;
    if (WaitForSingleObject(process.hProcess, 30000) != WAIT_OBJECT_0) {
        std::fprintf(stderr, "launch check: the program did not end after WM_CLOSE\n");
        TerminateProcess(process.hProcess, 1);
        ++failures;
    } else {
        GetExitCodeProcess(process.hProcess, &status);
        std::printf("launch check: the program ended with status %lu\n", status);
        if (status != 0) {
            ++failures;
        }
    }
    CloseHandle(process.hProcess);
    return failures == 0 ? 0 : 1;
}
