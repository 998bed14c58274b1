// Very fast repeated clicks on every button of both pages while a read-aloud walk
// and a game run: nothing breaks, and afterwards the buttons, the walk and the game
// are in states that agree with each other.
#include <gtest/gtest.h>

#include <windows.h>
#include <tlhelp32.h>

#include <set>

#include "RobustnessTest.h"

namespace robustness {
namespace {

// The Notepad processes there are. WinExec has created its process by the time it
// returns, so a snapshot finds every Notepad "更换" started, windows or not.
std::set<DWORD> NotepadProcesses()
{
    std::set<DWORD> pids;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32W entry{sizeof entry};
    for (BOOL more = Process32FirstW(snapshot, &entry); more; more = Process32NextW(snapshot, &entry))
        if (lstrcmpiW(entry.szExeFile, L"notepad.exe") == 0)
            pids.insert(entry.th32ProcessID);
    CloseHandle(snapshot);
    return pids;
}

// Ends the Notepads that "更换" opened (they have changed nothing).
void EndNotepads(const std::set<DWORD>& before)
{
    for (DWORD pid : NotepadProcesses()) {
        if (before.count(pid))
            continue;
        HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, pid);
        if (!process)
            continue;
        TerminateProcess(process, 0);
        WaitForSingleObject(process, 5000);
        CloseHandle(process);
    }
}

// Both ways a click reaches a handler: the button's own click, and the command
// it sends to its dialog.
void PostClicks(HWND dlg, int id)
{
    HWND button = GetDlgItem(dlg, id);
    PostMessageW(button, BM_CLICK, 0, 0);
    PostMessageW(dlg, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
}

const wchar_t* SpellingOf(const std::wstring& ch)
{
    if (ch == L"你") return L"nei";
    if (ch == L"好") return L"hou";
    if (ch == L"们") return L"mun";
    if (ch == L"学") return L"hok";
    if (ch == L"习") return L"zaap";
    return L"?";
}

TEST(RobustnessClicks, RapidClicksOnEveryButtonWhileAWalkAndAGameRun)
{
    UseDictionary(StandardDictionary());
    for (const wchar_t* name : {L"nei5", L"hou2", L"mun4", L"hok6", L"zaap6", L"ok", L"ng"})
        WriteRecording(name, 50);
    RemoveInstalledFile(VideoPath());
    std::wstring text;
    for (int i = 0; i < 100; ++i)
        text += L"你好们学习";
    WritePracticeText(text);
    Boxes().Reset();
    const std::set<DWORD> notepadsBefore = NotepadProcesses();
    PlayerSpy spy;
    int commands = 0;

    MainWindowDriver::Run([&](MainWindowDriver& s) {
        spy.Attach(s.Main());
        s.LetPageTimersTick();  // the fall and the hint run in real time among the clicks
        const HWND main = s.MainWnd(), page = s.PageWnd();
        const HWND tab = GetDlgItem(main, IDC_TAB), answer = GetDlgItem(page, IDC_ANSWER);

        s.ClickTab(1);
        ASSERT_TRUE(s.Click(IDC_START));
        ASSERT_TRUE(g_bRunning);
        s.ClickTab(0);
        s.SetLookupText(text.substr(0, 200));
        ASSERT_TRUE(s.ClickMain(IDC_LOOKUP));
        ASSERT_TRUE(s.WalkRunning());

        for (int round = 0; round < 80; ++round) {
            // Stop in one round of four, so that walks also run long between stops.
            for (int id : {IDC_LOOKUP, IDC_PAUSE, IDC_STOP, IDOK, IDC_BUTTON3})
                if (id != IDC_STOP || round % 4 == 0)
                    PostClicks(main, id), commands += 2;
            for (int id : {IDC_START, IDC_HALT})
                PostClicks(page, id), commands += 2;
            if (round == 20 || round == 60)
                PostClicks(page, IDC_CHANGE), commands += 2;
            PostKey(answer, VK_RETURN);
            if (round % 8 == 3) {
                ClickTabItem(tab, 1);
                ClickTabItem(tab, round % 16 == 3 ? 2 : 0);
                ClickTabItem(tab, 0);
            }
            s.Pump();
            if (round % 10 == 9)
                s.Wait(40);  // the timers get their turn: the fall, the hint, the walk's waits
        }
        s.Wait(300);

        // The pause button says what a click on it will do.
        EXPECT_EQ(s.MainText(IDC_PAUSE), s.Main().m_bPause ? L"播放(&P)" : L"暂停(&P)");
        s.ClickTab(0);
        if (s.Main().m_bPause) {
            ASSERT_TRUE(s.ClickMain(IDC_PAUSE));
        }
        ASSERT_TRUE(s.ClickMain(IDC_STOP));
        EXPECT_TRUE(s.WaitForWalkEnd(3000)) << "a walk is still running after Stop";
        EXPECT_TRUE(s.MainEnabled(IDC_LOOKUP));

        // A new walk runs to its end: nothing of the old ones is left on the stack.
        const size_t before = Recordings(spy.Urls()).size();
        s.SetLookupText(L"们");
        ASSERT_TRUE(s.ClickMain(IDC_LOOKUP));
        EXPECT_TRUE(s.WaitForWalkEnd());
        ASSERT_EQ(Recordings(spy.Urls()).size(), before + 1);
        EXPECT_EQ(Recordings(spy.Urls()).back(), RecordingPath(L"mun4"));
        EXPECT_EQ(s.MainText(IDC_PHONETIC), L"mun4");

        // The game: its counts agree, pause halts it, start resumes it, an answer scores.
        EXPECT_EQ(g_nTotal, g_nHits + g_nMisses);
        s.ClickTab(1);
        ASSERT_TRUE(IsWindowVisible(page));
        ASSERT_TRUE(s.Click(IDC_HALT));
        EXPECT_FALSE(g_bRunning);
        EXPECT_TRUE(g_bHalted);
        ASSERT_TRUE(s.Click(IDC_START));
        ASSERT_TRUE(g_bRunning);
        const int hits = g_nHits;
        s.Answer(SpellingOf(s.Text(IDC_FALLING)));
        EXPECT_EQ(g_nHits, hits + 1) << "falling: " << ::Utf8(s.Text(IDC_FALLING));
    });
    EndNotepads(notepadsBefore);

    // Only the boxes that clicks may ask for: the video notice and the verdict of a
    // pass (the text is long enough that none ends).
    for (const MessageBoxRecord& box : Boxes().Taken())
        EXPECT_EQ(box.text, L"视频文件太大,请在退出程序时,登录我们的网站免费观看更多完整视频") << BoxList();
    std::printf("%d clicks posted; %zu recordings started; %d tries in the game\n", commands, Recordings(spy.Urls()).size(),
                g_nTotal);
}

}  // namespace
}  // namespace robustness
