// Starts each program given, in turn and round after round, and prints one
// line per start:
//
//     startup_probe <rounds> <program>...
//     <program index> <milliseconds> <peak working set in bytes>
//
// The time runs from just before CreateProcess to the moment the program's
// thread first waits for input with nothing left to handle
// (WaitForInputIdle), which comes after its first paint. The peak working
// set is read then. The program is closed with WM_CLOSE, as its close button
// does, and waited for before the next start. The order of the programs
// turns round every round, so that neither always goes first.

#include <windows.h>
// After windows.h, whose types it uses.
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

struct Search {
    DWORD process;
    HWND found;
};

// EnumWindows' callback, a CALLBACK (stdcall on 32-bit Windows) as no
// lambda can be.
BOOL CALLBACK findTopLevelWindow(HWND window, LPARAM parameter) {
    auto& s = *reinterpret_cast<Search*>(parameter);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == s.process && IsWindowVisible(window) && GetParent(window) == nullptr) {
        s.found = window;
        return FALSE;
    }
    return TRUE;
}

HWND windowOf(DWORD process) {
    Search search{process, nullptr};
    EnumWindows(findTopLevelWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

bool measure(const std::wstring& program, double& milliseconds, SIZE_T& peak) {
    std::wstring commandLine = L"\"" + program + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    LARGE_INTEGER frequency, before, after;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&before);
    if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
        std::fprintf(stderr, "startup_probe: cannot start %ls (error %lu)\n", program.c_str(),
                     GetLastError());
        return false;
    }
    const DWORD idle = WaitForInputIdle(process.hProcess, 30000);
    QueryPerformanceCounter(&after);
    milliseconds = 1000.0 * static_cast<double>(after.QuadPart - before.QuadPart) /
                   static_cast<double>(frequency.QuadPart);
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(process.hProcess, &counters, sizeof counters);
    peak = counters.PeakWorkingSetSize;

    bool ended = false;
    for (int tries = 0; tries < 200 && !ended; ++tries) {
        if (const HWND window = windowOf(process.dwProcessId)) {
            PostMessageW(window, WM_CLOSE, 0, 0);
        }
        ended = WaitForSingleObject(process.hProcess, 50) == WAIT_OBJECT_0;
    }
    if (!ended) {
        TerminateProcess(process.hProcess, 1);
        WaitForSingleObject(process.hProcess, 5000);
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    if (idle != 0) {
        std::fprintf(stderr, "startup_probe: %ls never became idle\n", program.c_str());
        return false;
    }
    return ended;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: startup_probe <rounds> <program>...\n");
        return 2;
    }
    const int rounds = std::max(1, _wtoi(argv[1]));
    const std::vector<std::wstring> programs(argv + 2, argv + argc);
    const int count = static_cast<int>(programs.size());
    for (int round = 0; round < rounds; ++round) {
        for (int i = 0; i < count; ++i) {
            const int index = round % 2 == 0 ? i : count - 1 - i;
            double milliseconds = 0;
            SIZE_T peak = 0;
            if (!measure(programs[static_cast<std::size_t>(index)], milliseconds, peak)) {
                return 1;
            }
            std::printf("%d %.3f %llu\n", index, milliseconds, static_cast<unsigned long long>(peak));
            std::fflush(stdout);
        }
    }
    return 0;
}
