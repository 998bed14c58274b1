// Start-up benchmark of Lorvane.exe, printed beside the same figures for the smallest
// dialog program built the same way (MinimalDialog.exe), in one run:
//   - time from process creation to its main window being shown and idle (median of rounds);
//   - Lorvane's resident memory once started on a 40 000-row dictionary.
// Goals: under 1.5 times the minimal program's start-up, and under 40 MB.
//
// It puts its own 40 000-row dictionary at the program's fixed path for the run and puts
// back whatever was there afterwards, so run it in a prefix no test is using at the time:
//   WINEPREFIX=... tools/wine/wine-run build-x/bin/StartupBench.exe [rounds [rows]]
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <exception>
#include <string>
#include <vector>

#include "bench/Clock.h"
#include "support/InstalledFiles.h"

namespace {

constexpr int kDictionaryRows = 40000;  // the goal's dictionary; a second argument overrides it

// The benchmark's dictionary: characters from U+4E00 on, repeating once the block is
// used up (as a dictionary with several readings does), each spelled with an initial,
// a final and a tone digit.
std::string DictionarySql(int rows)
{
    const char* const initials[] = {"b", "p", "m", "f", "d", "t", "n", "l", "g", "k", "ng", "h",
                                    "gw", "kw", "w", "z", "c", "s", "j"};
    const char* const finals[] = {"aa", "aai", "aau", "aam", "aan", "aang", "aap", "aat", "aak",
                                  "ai", "au", "am", "an", "ang", "e", "ei", "eng", "i", "in",
                                  "ing", "o", "oi", "ou", "on", "ong", "u", "ui", "un", "ung",
                                  "yu", "yun", "oe", "eoi", "eon"};
    auto values = [](const char* const* parts, int n) {
        std::string list;
        for (int k = 0; k < n; ++k)
            list += (k ? ", (" : "(") + std::to_string(k) + ", '" + parts[k] + "')";
        return list;
    };
    return "CREATE TABLE cantonesePhonetic(id INTEGER PRIMARY KEY, Character TEXT NOT NULL, Phonetic TEXT NOT NULL);"
           "WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < " + std::to_string(rows - 1) +
           "), initial(k, s) AS (VALUES " + values(initials, 19) + "), final(k, s) AS (VALUES " +
           values(finals, 34) +
           ") INSERT INTO cantonesePhonetic SELECT i + 1, char(0x4E00 + i % 20992), initial.s || final.s || (i % 6 + 1)"
           " FROM n JOIN initial ON initial.k = i % 19 JOIN final ON final.k = i / 19 % 34 ORDER BY i;";
}

std::wstring ProgramFolder()
{
    wchar_t path[MAX_PATH];
    DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring s(path, n);
    return s.substr(0, s.find_last_of(L"\\/") + 1);
}

struct FindWindowArgs {
    DWORD pid;
    const wchar_t* title;
    HWND found;
};

BOOL CALLBACK FindShownWindow(HWND hwnd, LPARAM lParam)
{
    auto* args = reinterpret_cast<FindWindowArgs*>(lParam);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    wchar_t title[128] = {};
    if (pid == args->pid && IsWindowVisible(hwnd) && GetWindowTextW(hwnd, title, 128) &&
        wcscmp(title, args->title) == 0) {
        args->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

struct Run {
    double ms = -1;           // creation to shown and idle; negative on failure
    SIZE_T workingSet = 0;    // bytes, once idle
    SIZE_T peakWorkingSet = 0;
};

// Starts the program, waits for its window titled `title` to show and the program to
// go idle, measures, and closes it with the Cancel command (no website on that way out).
Run StartAndMeasure(const std::wstring& exe, const wchar_t* title)
{
    Run run;
    STARTUPINFOW si = {sizeof si};
    PROCESS_INFORMATION pi = {};
    std::wstring cmd = L"\"" + exe + L"\"";
    double t0 = NowMs();
    if (!CreateProcessW(exe.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &si, &pi)) {
        std::fwprintf(stderr, L"cannot start %ls (error %lu)\n", exe.c_str(), GetLastError());
        return run;
    }
    FindWindowArgs args{pi.dwProcessId, title, nullptr};
    while (!args.found && NowMs() - t0 < 30000) {
        if (WaitForSingleObject(pi.hProcess, 0) == WAIT_OBJECT_0)
            break;
        EnumWindows(FindShownWindow, reinterpret_cast<LPARAM>(&args));
        if (!args.found)
            Sleep(1);
    }
    if (args.found) {
        WaitForInputIdle(pi.hProcess, 10000);
        run.ms = NowMs() - t0;
        PROCESS_MEMORY_COUNTERS pmc = {};
        pmc.cb = sizeof pmc;
        if (GetProcessMemoryInfo(pi.hProcess, &pmc, sizeof pmc)) {
            run.workingSet = pmc.WorkingSetSize;
            run.peakWorkingSet = pmc.PeakWorkingSetSize;
        }
        PostMessageW(args.found, WM_COMMAND, IDCANCEL, 0);
    } else {
        std::fwprintf(stderr, L"no window from %ls\n", exe.c_str());
    }
    if (WaitForSingleObject(pi.hProcess, 10000) != WAIT_OBJECT_0)
        TerminateProcess(pi.hProcess, 1);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return run;
}

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

double Least(const std::vector<double>& v)
{
    return v.empty() ? 0 : *std::min_element(v.begin(), v.end());
}

double Mb(SIZE_T bytes)
{
    return double(bytes) / (1024.0 * 1024.0);
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    int rounds = argc > 1 ? std::max(1, _wtoi(argv[1])) : 11;
    int rows = argc > 2 ? std::max(1, _wtoi(argv[2])) : kDictionaryRows;
    std::wstring folder = ProgramFolder();
    std::wstring lorvane = folder + L"Lorvane.exe";
    std::wstring minimal = folder + L"MinimalDialog.exe";

    // What stood at the dictionary's path comes back when this program ends.
    try {
        test_support::WriteDictionarySql(DictionarySql(rows));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "cannot write the benchmark dictionary: %s\n", e.what());
        return 1;
    }

    // Alternate the two programs so that drift in the machine's load hits both alike.
    std::vector<double> lorvaneMs, minimalMs;
    Run last, lastMinimal;
    StartAndMeasure(minimal, L"最小对话框");  // warms the file cache and the wineserver
    for (int i = 0; i < rounds; ++i) {
        Run m = StartAndMeasure(minimal, L"最小对话框");
        Run l = StartAndMeasure(lorvane, L"粤语拼音学习");
        if (m.ms < 0 || l.ms < 0)
            return 1;
        minimalMs.push_back(m.ms);
        lorvaneMs.push_back(l.ms);
        last = l;
        lastMinimal = m;
    }

    // The fastest round shows the cost with the least disturbance from other work on
    // the machine; the median, what a typical start costs.
    double l = Median(lorvaneMs), m = Median(minimalMs);
    double lMin = Least(lorvaneMs), mMin = Least(minimalMs);
    std::printf("start-up to an idle main window, %d rounds:     median      fastest\n", rounds);
    std::printf("  Lorvane.exe                             %8.1f ms  %8.1f ms\n", l, lMin);
    std::printf("  MinimalDialog.exe                       %8.1f ms  %8.1f ms\n", m, mMin);
    std::printf("  ratio (goal: under 1.50)                %8.2f     %8.2f\n", l / m, lMin / mMin);
    std::printf("resident memory once started (working set), dictionary of %d rows:\n", rows);
    std::printf("  Lorvane.exe        %8.1f MB   (goal: under 40 MB; peak %.1f MB)\n",
                Mb(last.workingSet), Mb(last.peakWorkingSet));
    std::printf("  MinimalDialog.exe  %8.1f MB\n", Mb(lastMinimal.workingSet));
    // Machine-readable: FIGURE <tab> name <tab> value <tab> unit (collected by ./benchmarks).
    std::printf("FIGURE\tstartup_ratio\t%.2f\tx\n", l / m);
    std::printf("FIGURE\tstartup_ratio_fastest\t%.2f\tx\n", lMin / mMin);
    std::printf("FIGURE\tstartup_lorvane_ms\t%.1f\tms\n", l);
    std::printf("FIGURE\tstartup_minimal_ms\t%.1f\tms\n", m);
    std::printf("FIGURE\tstartup_resident_mb\t%.1f\tMB\n", Mb(last.workingSet));
    std::printf("FIGURE\tstartup_rows\t%d\trows\n", rows);
    return 0;
}
