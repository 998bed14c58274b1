// Files of the install folder that are missing, locked, a folder, or very large:
// a clear message where the learner must act, silence where nothing is lost, and
// the program goes on.
#include <gtest/gtest.h>

#include <afxwin.h>

#include "RobustnessTest.h"
#include "controls/WMPPlayer4.h"

namespace robustness {
namespace {

class RobustnessFiles : public testing::Test {
protected:
    void SetUp() override
    {
        UseDictionary(StandardDictionary());
        Boxes().Reset();
    }
};

TEST_F(RobustnessFiles, MissingRecordingsShowTheSpellingAndPassInSilence)
{
    for (const wchar_t* spelling : {L"nei5", L"hou2", L"ok", L"ng"})
        RemoveInstalledFile(RecordingPath(spelling));
    WritePracticeText(L"你好");
    PlayerSpy spy;
    MainWindowDriver::Run([&](MainWindowDriver& s) {
        spy.Attach(s.Main());
        s.SetLookupText(L"你好");
        ASSERT_TRUE(s.ClickMain(IDC_LOOKUP));
        ASSERT_TRUE(s.WaitForWalkEnd());
        EXPECT_EQ(spy.StateReads(), 2) << "nothing plays, so each wait ends at its first look at the player";
        EXPECT_EQ(s.MainText(IDC_PHONETIC), L"hou2");
        EXPECT_TRUE(s.MainEnabled(IDC_LOOKUP));

        // The answer sounds are missing too: answers are scored all the same.
        s.ClickTab(1);
        ASSERT_TRUE(s.Click(IDC_START));
        s.Answer(L"nei");
        s.Answer(L"hou9");
        EXPECT_EQ(g_nHits, 1);
        EXPECT_EQ(g_nMisses, 1);
        EXPECT_EQ(s.Page().m_player.GetPlayState(), 1) << "something plays without a file";
    });
    EXPECT_EQ(Recordings(spy.Urls()), (std::vector<std::wstring>{RecordingPath(L"nei5"), RecordingPath(L"hou2")}));
    EXPECT_EQ(Boxes().Taken().size(), 0u) << BoxList();
}

TEST_F(RobustnessFiles, MissingVideoGivesOnlyTheNoticeAndThePagesComeBack)
{
    RemoveInstalledFile(VideoPath());
    WriteRecording(L"nei5", 50);
    PlayerSpy spy;
    MainWindowDriver::Run([&](MainWindowDriver& s) {
        spy.Attach(s.Main());
        s.ClickTab(2);
        EXPECT_EQ(s.Main().m_player.GetPlayState(), 1) << "the missing video plays";
        s.ClickTab(2);  // again: the notice again, nothing else
        s.ClickTab(0);
        EXPECT_TRUE(IsWindowVisible(GetDlgItem(s.MainWnd(), IDC_LOOKUP)));
        s.SetLookupText(L"你");
        ASSERT_TRUE(s.ClickMain(IDC_LOOKUP));
        ASSERT_TRUE(s.WaitForWalkEnd());
        EXPECT_EQ(s.MainText(IDC_PHONETIC), L"nei5");
    });
    ASSERT_EQ(Boxes().Taken().size(), 2u) << BoxList();
    for (const MessageBoxRecord& box : Boxes().Taken())
        EXPECT_EQ(box.text, L"视频文件太大,请在退出程序时,登录我们的网站免费观看更多完整视频");
    EXPECT_EQ(spy.Urls().front(), VideoPath());
}

// Each kind of practice file that cannot be loaded gets the page's error box; the
// game stays still, and once the file is right the next start plays.
TEST_F(RobustnessFiles, PracticeFileMissingLockedFolderOrTooBigIsExplainedAndRetried)
{
    struct Case {
        const char* name;
        std::function<void()> spoil;
        const wchar_t* reasonHas;  // part of the control's own explanation
    };
    std::unique_ptr<ExclusiveLock> lock;
    const Case cases[] = {
        {"missing", [] { RemoveInstalledFile(PracticePath()); }, L"xunlian.txt"},
        {"held by another program",
         [&] {
             WritePracticeText(L"你好");
             lock = std::make_unique<ExclusiveLock>(PracticePath());
         },
         L"xunlian.txt"},
        {"a folder",
         [] {
             RemoveInstalledFile(PracticePath());
             CreateDirectoryW(PracticePath().c_str(), nullptr);
         },
         L"xunlian.txt"},
        {"17 MB", [] { WriteInstalledFile(PracticePath(), std::string(17u << 20, 'a')); }, L"文件太大"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Boxes().Reset();
        c.spoil();
        MainWindowDriver::Run([&](MainWindowDriver& s) {
            s.ClickTab(1);
            ASSERT_TRUE(s.Click(IDC_START));
            ASSERT_EQ(Boxes().Taken().size(), 1u) << BoxList();
            const MessageBoxRecord box = Boxes().Taken()[0];
            EXPECT_TRUE(box.text.starts_with(L"练习文本载入失败。")) << ::Utf8(box.text);
            EXPECT_NE(box.text.find(c.reasonHas), std::wstring::npos) << ::Utf8(box.text);
            EXPECT_EQ(box.icon, static_cast<UINT>(MB_ICONERROR));
            EXPECT_FALSE(g_bRunning);
            EXPECT_TRUE(g_bReloadText) << "the next start must try the file again";

            lock.reset();
            RemoveInstalledFile(PracticePath());
            WritePracticeText(L"你好");
            ASSERT_TRUE(s.Click(IDC_START));
            EXPECT_EQ(Boxes().Taken().size(), 1u) << BoxList();
            EXPECT_TRUE(g_bRunning);
            EXPECT_EQ(s.Text(IDC_FALLING), L"你");
        });
    }
}

// A practice file of 10 MB loads; the game plays it like any other.
TEST_F(RobustnessFiles, TenMegabytePracticeFileLoadsAndPlays)
{
    std::wstring text;
    while (text.size() / 7 * 17 < (10u << 20))  // 17 bytes a line in UTF-8
        text += L"你好们学习\r\n";
    const std::string bytes = Utf8(text);
    ASSERT_GE(bytes.size(), 10u << 20);
    WriteInstalledFile(PracticePath(), bytes);
    MainWindowDriver::Run([&](MainWindowDriver& s) {
        s.ClickTab(1);
        ASSERT_TRUE(s.Click(IDC_START));
        EXPECT_EQ(GetWindowTextLengthW(GetDlgItem(s.PageWnd(), IDC_RICHTEXT)), static_cast<int>(text.size()));
        EXPECT_EQ(s.Text(IDC_FALLING), L"你");
        for (const wchar_t* answer : {L"nei", L"hou", L"mun", L"hok", L"zaap"}) {
            s.Answer(answer);
        }
        EXPECT_EQ(g_nHits, 5);
        EXPECT_EQ(s.Text(IDC_FALLING), L"你") << "the line break is skipped";
        EXPECT_EQ(g_nTextPos, 8);
    });
    EXPECT_EQ(Boxes().Taken().size(), 0u) << BoxList();
}

}  // namespace
}  // namespace robustness
