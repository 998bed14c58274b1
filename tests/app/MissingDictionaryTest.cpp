// Lorvane.exe itself, started with no dictionary at its fixed path: four error boxes
// (the training page's connection before any window, then the main window's, then the
// two recordsets), each titled with the program's name, and then the main window all the
// same. The dictionary is away while this test program runs, so CTest runs it alone.
#include <windows.h>

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "ProgramProcess.h"
#include "support/Dialogs.h"
#include "support/InstalledFiles.h"
#include "support/MessageBoxes.h"

namespace {

struct Sighting {
    Box box;
    bool mainWindowExisted;
};

TEST(AppStartupWithoutDictionary, ShowsFourErrorBoxesThenTheMainWindow)
{
    test_support::RemoveDictionary();  // back when this program ends
    ASSERT_EQ(GetFileAttributesW(test_support::kDictionaryPath), INVALID_FILE_ATTRIBUTES);

    std::wstring exe = ProgramBesideUs();
    STARTUPINFOW si = {sizeof si};
    PROCESS_INFORMATION pi = {};
    std::wstring cmd = L"\"" + exe + L"\"";
    ASSERT_TRUE(CreateProcessW(exe.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                               &si, &pi))
        << "cannot start " << Utf8(exe);

    std::vector<Sighting> boxes;
    std::set<HWND> answered;
    HWND main = nullptr;
    DWORD start = GetTickCount(), quietSince = GetTickCount();
    while (GetTickCount() - start < 60000 && WaitForSingleObject(pi.hProcess, 20) == WAIT_TIMEOUT) {
        HWND mainNow = MainWindowOf(pi.dwProcessId);
        for (HWND hwnd : OpenDialogs(pi.dwProcessId)) {
            if (hwnd == mainNow || answered.count(hwnd))
                continue;
            answered.insert(hwnd);
            boxes.push_back({ReadBox(hwnd), mainNow != nullptr});
            PostMessageW(hwnd, WM_COMMAND, IDOK, 0);
            quietSince = GetTickCount();
        }
        // Up, taking input, and no new box for a while: start-up is over.
        if (mainNow && IsWindowVisible(mainNow) && IsWindowEnabled(mainNow) &&
            GetTickCount() - quietSince > 1500) {
            main = mainNow;
            break;
        }
    }

    ASSERT_NE(main, nullptr) << "the main window did not come up";
    ASSERT_EQ(boxes.size(), 4u);
    EXPECT_FALSE(boxes[0].mainWindowExisted) << "the first box comes before any window";
    for (const Sighting& s : boxes) {
        EXPECT_EQ(s.box.caption, L"Lorvane");
        EXPECT_EQ(s.box.buttons.size(), 1u);
    }
    PostMessageW(main, WM_COMMAND, IDCANCEL, 0);
    EXPECT_EQ(WaitForSingleObject(pi.hProcess, 15000), WAIT_OBJECT_0);
    TerminateProcess(pi.hProcess, 1);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
}

}  // namespace
