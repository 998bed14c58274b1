// Lorvane.exe runs on one thread: from the start of the process until its main window
// is up and idle, it starts no other. Watched as a debugger watches it, so that even a
// thread that ends again at once is seen.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "ProgramProcess.h"
#include "support/Dialogs.h"

namespace {

TEST(AppStartupThreads, NoThreadIsStartedBeforeTheMainWindowIsIdle)
{
    const std::wstring exe = ProgramBesideUs();
    std::wstring cmd = L"\"" + exe + L"\"";
    STARTUPINFOW si = {sizeof si};
    PROCESS_INFORMATION pi = {};
    ASSERT_TRUE(CreateProcessW(exe.c_str(), cmd.data(), nullptr, nullptr, FALSE, DEBUG_ONLY_THIS_PROCESS, nullptr,
                               nullptr, &si, &pi));

    int threadsStarted = 0;
    bool ended = false;
    HWND main = nullptr;
    const DWORD start = GetTickCount();
    while (!main && !ended && GetTickCount() - start < 60000) {
        DEBUG_EVENT ev;
        if (!WaitForDebugEvent(&ev, 20)) {
            // Nothing happening: answer any message box (a dictionary that cannot be
            // read), and see whether the window is up and waiting for input.
            for (HWND box : OpenDialogs(pi.dwProcessId))
                if (box != MainWindowOf(pi.dwProcessId))
                    PostMessageW(box, WM_COMMAND, IDOK, 0);
            HWND shown = MainWindowOf(pi.dwProcessId);
            if (shown && IsWindowVisible(shown) && IsWindowEnabled(shown) && WaitForInputIdle(pi.hProcess, 0) == 0)
                main = shown;
            continue;
        }
        DWORD status = DBG_CONTINUE;
        switch (ev.dwDebugEventCode) {
        case CREATE_THREAD_DEBUG_EVENT:
            ++threadsStarted;
            break;
        case CREATE_PROCESS_DEBUG_EVENT:
            if (ev.u.CreateProcessInfo.hFile)
                CloseHandle(ev.u.CreateProcessInfo.hFile);
            break;
        case LOAD_DLL_DEBUG_EVENT:
            if (ev.u.LoadDll.hFile)
                CloseHandle(ev.u.LoadDll.hFile);
            break;
        case EXCEPTION_DEBUG_EVENT:
            // The loader's breakpoint is ours to pass over; the program's own exceptions
            // are its own to handle.
            if (ev.u.Exception.ExceptionRecord.ExceptionCode != EXCEPTION_BREAKPOINT)
                status = DBG_EXCEPTION_NOT_HANDLED;
            break;
        case EXIT_PROCESS_DEBUG_EVENT:
            ended = true;
            break;
        }
        ContinueDebugEvent(ev.dwProcessId, ev.dwThreadId, status);
    }
    DebugActiveProcessStop(pi.dwProcessId);

    EXPECT_NE(main, nullptr) << "the main window did not come up";
    EXPECT_EQ(threadsStarted, 0);
    if (main)
        PostMessageW(main, WM_COMMAND, IDCANCEL, 0);
    if (WaitForSingleObject(pi.hProcess, 15000) != WAIT_OBJECT_0)
        TerminateProcess(pi.hProcess, 1);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
}

}  // namespace
