#include "ProcessFigures.h"

#include <psapi.h>

#include <cstdio>

namespace {

DWORD CountHandles()
{
    DWORD count = 0, flags = 0;
    for (ULONG_PTR value = 4; value < 0x20000; value += 4)
        count += GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags) != FALSE;
    return count;
}

// The GDI handle table that the process environment block points to: 64K cells of
// 24 bytes whose type byte (offset 14) is 0 when the cell is free.
DWORD CountGdiObjects()
{
#if defined(_WIN64)
    const auto* teb = reinterpret_cast<const unsigned char*>(NtCurrentTeb());
    const auto* peb = *reinterpret_cast<const unsigned char* const*>(teb + 0x60);
    const auto* table = *reinterpret_cast<const unsigned char* const*>(peb + 0xF8);
    if (!table)
        return 0;
    DWORD count = 0;
    for (size_t cell = 0; cell < 0x10000; ++cell)
        count += table[cell * 24 + 14] != 0;
    return count;
#else
    return 0;
#endif
}

BOOL CALLBACK CountChild(HWND, LPARAM counter)
{
    ++*reinterpret_cast<DWORD*>(counter);
    return TRUE;
}

void CountWindow(HWND hwnd, DWORD& count)
{
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (pid != GetCurrentProcessId())
        return;
    ++count;
    EnumChildWindows(hwnd, CountChild, reinterpret_cast<LPARAM>(&count));
}

BOOL CALLBACK CountTopLevel(HWND hwnd, LPARAM counter)
{
    CountWindow(hwnd, *reinterpret_cast<DWORD*>(counter));
    return TRUE;
}

DWORD CountWindows()
{
    DWORD count = 0;
    EnumWindows(CountTopLevel, reinterpret_cast<LPARAM>(&count));
    for (HWND h = FindWindowExW(HWND_MESSAGE, nullptr, nullptr, nullptr); h;
         h = FindWindowExW(HWND_MESSAGE, h, nullptr, nullptr))
        CountWindow(h, count);
    return count;
}

}  // namespace

ProcessFigures ProcessFigures::Now()
{
    ProcessFigures f;
    HANDLE self = GetCurrentProcess();
    if (!GetProcessHandleCount(self, &f.handles) || f.handles == 0) {
        f.handles = CountHandles();
        f.counted = true;
    }
    SetLastError(ERROR_SUCCESS);
    f.gdiObjects = GetGuiResources(self, GR_GDIOBJECTS);
    f.userObjects = GetGuiResources(self, GR_USEROBJECTS);
    if (f.gdiObjects == 0 && GetLastError() == ERROR_CALL_NOT_IMPLEMENTED) {
        f.gdiObjects = CountGdiObjects();
        f.userObjects = CountWindows();
        f.counted = true;
    }
    PROCESS_MEMORY_COUNTERS_EX pmc{};
    pmc.cb = sizeof pmc;
    if (GetProcessMemoryInfo(self, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&pmc), sizeof pmc)) {
        f.workingSetBytes = pmc.WorkingSetSize;
        f.privateBytes = pmc.PrivateUsage ? pmc.PrivateUsage : pmc.PagefileUsage;
    }
    return f;
}

std::string ProcessFigures::Line() const
{
    char line[200];
    std::snprintf(line, sizeof line, "handles %lu, GDI %lu, %s %lu, working set %.1f MB, private %.1f MB%s",
                  static_cast<unsigned long>(handles), static_cast<unsigned long>(gdiObjects),
                  counted ? "windows" : "USER", static_cast<unsigned long>(userObjects),
                  workingSetBytes / 1048576.0, privateBytes / 1048576.0, counted ? " (counted)" : "");
    return line;
}

std::string ProcessFigures::GrowthSince(const ProcessFigures& before) const
{
    char line[200];
    std::snprintf(line, sizeof line, "handles %+ld, GDI %+ld, %s %+ld, working set %+.1f MB, private %+.1f MB",
                  static_cast<long>(handles) - static_cast<long>(before.handles),
                  static_cast<long>(gdiObjects) - static_cast<long>(before.gdiObjects), counted ? "windows" : "USER",
                  static_cast<long>(userObjects) - static_cast<long>(before.userObjects),
                  (static_cast<double>(workingSetBytes) - static_cast<double>(before.workingSetBytes)) / 1048576.0,
                  (static_cast<double>(privateBytes) - static_cast<double>(before.privateBytes)) / 1048576.0);
    return line;
}
