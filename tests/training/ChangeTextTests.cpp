// "更换": Notepad opens the practice file, and the next start loads what was saved.
#include "TrainingTest.h"

#include <winternl.h>

#include <set>

namespace {

std::set<HWND> NotepadWindows()
{
    std::set<HWND> found;
    EnumWindows(
        [](HWND h, LPARAM p) -> BOOL {
            wchar_t cls[32] = {};
            GetClassNameW(h, cls, 32);
            DWORD pid = 0;
            GetWindowThreadProcessId(h, &pid);
            if (lstrcmpiW(cls, L"Notepad") == 0 && pid != GetCurrentProcessId())
                reinterpret_cast<std::set<HWND>*>(p)->insert(h);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

// The Notepad window that appeared since `before`, waiting up to 20 s through the loop.
HWND WaitForNewNotepad(MainWindowDriver& s, const std::set<HWND>& before)
{
    for (int i = 0; i < 400; ++i) {
        for (HWND h : NotepadWindows())
            if (!before.count(h) && IsWindowVisible(h))
                return h;
        s.Wait(50);
    }
    return nullptr;
}

// Closes a Notepad that has changed nothing and waits for its process to end.
void CloseNotepad(MainWindowDriver& s, HWND notepad)
{
    DWORD pid = 0;
    GetWindowThreadProcessId(notepad, &pid);
    HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, pid);
    PostMessageW(notepad, WM_CLOSE, 0, 0);
    bool ended = false;
    for (int i = 0; i < 200 && !ended; ++i) {
        ended = !process || WaitForSingleObject(process, 0) == WAIT_OBJECT_0;
        if (!ended)
            s.Wait(50);
    }
    if (process)
        CloseHandle(process);
    EXPECT_TRUE(ended) << "Notepad did not close";
}

// The command line another process was started with, read from its process parameters.
std::wstring CommandLineOf(HWND window)
{
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    HANDLE h = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid);
    if (!h)
        return L"(cannot open the process)";
    std::wstring command;
    PROCESS_BASIC_INFORMATION pbi{};
    PEB peb{};
    RTL_USER_PROCESS_PARAMETERS params{};
    if (NtQueryInformationProcess(h, ProcessBasicInformation, &pbi, sizeof pbi, nullptr) == 0 &&
        ReadProcessMemory(h, pbi.PebBaseAddress, &peb, sizeof peb, nullptr) &&
        ReadProcessMemory(h, peb.ProcessParameters, &params, sizeof params, nullptr)) {
        command.resize(params.CommandLine.Length / sizeof(wchar_t));
        ReadProcessMemory(h, params.CommandLine.Buffer, command.data(), params.CommandLine.Length, nullptr);
    }
    CloseHandle(h);
    return command;
}

std::wstring EditTextOf(HWND notepad)
{
    HWND edit = FindWindowExW(notepad, nullptr, L"Edit", nullptr);
    const int n = static_cast<int>(SendMessageW(edit, WM_GETTEXTLENGTH, 0, 0));
    std::wstring text(n + 1, L'\0');
    text.resize(SendMessageW(edit, WM_GETTEXT, n + 1, reinterpret_cast<LPARAM>(text.data())));
    return text;
}

TEST(TrainingChangeText, NotepadOpensThePracticeFileAndTheNextCharacterComesFromTheSavedText)
{
    WritePracticeText(L"你好我");
    MainWindowDriver::Run([](MainWindowDriver& s) {
        StartGame(s);
        s.Answer(L"nei");
        ASSERT_EQ(s.Text(IDC_FALLING), L"好");
        s.Tick(1, 12);

        const std::set<HWND> before = NotepadWindows();
        ASSERT_TRUE(s.Click(IDC_CHANGE));
        EXPECT_TRUE(g_bReloadText);
        HWND notepad = WaitForNewNotepad(s, before);
        ASSERT_TRUE(notepad) << "no Notepad window appeared";
        EXPECT_EQ(CommandLineOf(notepad), L"notepad.exe C:\\Program Files\\Lorvane\\xunlian.txt");
        EXPECT_EQ(EditTextOf(notepad), L"你好我") << "Notepad did not open the practice file";
        EXPECT_NE(TextOf(notepad).find(L"xunlian.txt"), std::wstring::npos) << Utf8(TextOf(notepad));
        CloseNotepad(s, notepad);

        // The pass goes on with the old text until the next character is taken.
        EXPECT_TRUE(g_bRunning);
        EXPECT_EQ(s.Text(IDC_FALLING), L"好");
        WritePracticeText(L"天一行x", Encoding::Utf8);  // as saved in Notepad
        s.Answer(L"hou");
        EXPECT_FALSE(g_bReloadText);
        EXPECT_EQ(TextOf(GetDlgItem(s.PageWnd(), IDC_RICHTEXT)), L"天一行x");
        EXPECT_EQ(s.Text(IDC_FALLING), L"行") << "the position carries over into the new text";
        EXPECT_EQ(s.Rect(IDC_FALLING).top, 6);
        s.Answer(L"hang");
        ASSERT_EQ(Boxes().Count(), 1u);  // x has no entry: the pass ends, won
        EXPECT_EQ(Boxes().Taken()[0].text, L"Greate!");
    });
}

// A practice file that cannot be read when the next character is taken after a hit:
// the user is told, and the character just answered does not fall a second time.
TEST(TrainingChangeText, FileGoneAfterChangeStopsTheFallUntilTheNextStart)
{
    WritePracticeText(L"你好");
    MainWindowDriver::Run([](MainWindowDriver& s) {
        StartGame(s);
        const std::set<HWND> before = NotepadWindows();
        ASSERT_TRUE(s.Click(IDC_CHANGE));
        HWND notepad = WaitForNewNotepad(s, before);
        ASSERT_TRUE(notepad);
        CloseNotepad(s, notepad);

        RemovePracticeText();
        s.Answer(L"nei");
        ASSERT_EQ(Boxes().Count(), 1u);
        EXPECT_EQ(Boxes().Taken()[0].icon, static_cast<UINT>(MB_ICONERROR));
        EXPECT_EQ(g_nHits, 1);
        EXPECT_FALSE(g_bRunning);
        EXPECT_FALSE(KillTimer(s.PageWnd(), 1)) << "the fall timer is still armed";
        EXPECT_TRUE(g_bReloadText);
        ::SetFocus(GetDlgItem(s.PageWnd(), IDC_ANSWER));
        s.Answer(L"nei");
        EXPECT_EQ(g_nHits, 1) << "the answered character was offered again";

        WritePracticeText(L"你好");
        ASSERT_TRUE(s.Click(IDC_START));
        EXPECT_EQ(Boxes().Count(), 1u);
        EXPECT_EQ(s.Text(IDC_FALLING), L"好");
        EXPECT_TRUE(g_bRunning);
    });
}

// The box that reports a failed reload after a hit runs a loop of its own, which goes on
// delivering timer ticks: by the time it shows, the answered character is done with.
TEST(TrainingChangeText, NoMissIsScoredBehindTheReloadErrorAfterAHit)
{
    WritePracticeText(L"你好");
    MainWindowDriver::Run([](MainWindowDriver& s) {
        StartGame(s);
        s.Tick(1, 40);
        g_bReloadText = true;  // as "更换" leaves it
        RemovePracticeText();
        bool armed = false;
        Boxes().onTake = [&](const MessageBoxRecord&) {
            armed = KillTimer(s.PageWnd(), 1);
            s.Tick(1, s.ClientHeight());  // far enough to reach the bottom
        };
        s.Answer(L"nei");
        Boxes().onTake = nullptr;
        ASSERT_EQ(Boxes().Count(), 1u);
        EXPECT_FALSE(armed) << "the fall timer was armed while the box showed";
        EXPECT_EQ(ReadLines(s), (StatLines{MissesLine(L"0"), TotalLine(L"1"), HitsLine(L"1"), RateLine(L"1.00")}));
        EXPECT_EQ(s.Text(IDC_FALLING), L"");
        EXPECT_EQ(s.Rect(IDC_FALLING).top, 6);
        EXPECT_FALSE(g_bRunning);
    });
}

// Anywhere but after a hit, a failed reload changes nothing else: a start clicked while a
// character falls leaves it falling where it is.
TEST(TrainingChangeText, FileGoneOnAStartMidFallLeavesTheCharacterFalling)
{
    WritePracticeText(L"你好");
    MainWindowDriver::Run([](MainWindowDriver& s) {
        StartGame(s);
        s.Tick(1, 5);
        const LONG top = s.Rect(IDC_FALLING).top;
        g_bReloadText = true;  // as "更换" leaves it
        RemovePracticeText();
        ASSERT_TRUE(s.Click(IDC_START));
        ASSERT_EQ(Boxes().Count(), 1u);
        EXPECT_TRUE(g_bReloadText);
        EXPECT_TRUE(g_bRunning);
        EXPECT_EQ(s.Text(IDC_FALLING), L"你");
        EXPECT_EQ(s.Rect(IDC_FALLING).top, top);
        EXPECT_TRUE(KillTimer(s.PageWnd(), 1)) << "the fall timer was disarmed";
    });
}

}  // namespace
