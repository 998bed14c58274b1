// Soak run in one process on the real main window: a read-aloud walk over a text
// of 2 000 characters, then a game of 500 answers given with real key messages
// (typed characters and Enter, four hits to one miss). The process's figures are
// printed at the start (once both pages have been shown), between the two and at
// the end: kernel handles, GDI and USER objects, working set and private bytes;
// they must not grow beyond noise.
//
// Recordings are 50 ms long, so each found character's wait ends when its
// recording does (instead of after the 800 ms bound: the walk takes about two
// minutes rather than half an hour); 10 % of the text has no dictionary entry.
//   bench_soak [characters] [answers]     defaults: 2000 500
// The dictionary, recordings and practice text are written at the program's fixed
// paths; what stood there before is put back at exit. Exit status 0 when both runs
// completed and nothing grew beyond the noise bounds printed.
#include <afxdisp.h>
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "ProcessFigures.h"
#include "app/PronounceDlg.h"
#include "bench/Clock.h"
#include "support/Drive.h"
#include "support/InstalledFiles.h"
#include "support/MainWindowDriver.h"
#include "support/MessageBoxes.h"
#include "training/GameState.h"
#include "training/TrainingPage.h"

using namespace test_support;

namespace {

constexpr int kDictionaryRows = 3000;
constexpr int kRecordingMs = 50;
// The first answers make what lives as long as the page (the answer sounds'
// player, the tooltip's first relay...): the game's growth counts from here.
constexpr int kGameWarmUp = 10;
const wchar_t* const kSyllables[] = {L"nei", L"hou", L"mun", L"hok", L"zaap", L"gwong", L"dung", L"waa",
                                     L"jyut", L"jyu",  L"ping", L"jam", L"sin",  L"saang", L"ngo", L"tin"};
constexpr int kSyllableCount = sizeof kSyllables / sizeof kSyllables[0];

// Row i: the ideograph U+4E00 + i, spelled with syllable i mod 16 and tone i mod 6 + 1.
wchar_t CharacterOf(int i)
{
    return static_cast<wchar_t>(0x4E00 + i);
}
std::wstring SpellingOf(int i)
{
    return kSyllables[i % kSyllableCount] + std::to_wstring(i % 6 + 1);
}

std::string DictionarySql()
{
    std::string sql = "CREATE TABLE cantonesePhonetic (id INTEGER PRIMARY KEY, character TEXT, phonetic TEXT);"
                      "WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < " +
                      std::to_string(kDictionaryRows - 1) +
                      ") INSERT INTO cantonesePhonetic SELECT i + 1, char(19968 + i), "
                      "CASE i % 16";
    for (int s = 0; s < kSyllableCount; ++s) {
        char syllable[16];
        std::snprintf(syllable, sizeof syllable, "%ls", kSyllables[s]);
        sql += " WHEN " + std::to_string(s) + " THEN '" + syllable + "'";
    }
    return sql + " END || (i % 6 + 1) FROM n;";
}

// Characters spread over the table; one in ten is punctuation without an entry.
std::wstring SoakText(int length)
{
    std::wstring text;
    for (int k = 0; k < length; ++k)
        text += k % 10 == 9 ? L'，' : CharacterOf((k * 37) % kDictionaryRows);
    return text;
}

// The practice text: characters from the start of the table, enough that no pass
// ends during the game.
std::wstring PracticeText(int length)
{
    std::wstring text;
    for (int k = 0; k < length; ++k)
        text += CharacterOf((k * 11) % kDictionaryRows);
    return text;
}

struct Soak {
    int characters = 2000;
    int answers = 500;
    ProcessFigures start, afterWalk, gameWarm, end;
    double walkMs = 0, gameMs = 0;
    bool walkEnded = false;
    int given = 0;  // answers given and scored
    bool gameDone = false;
};

void Run(MainWindowDriver& s, Soak& soak)
{
    // Both pages are shown once before the figures start: drawing the training page
    // the first time makes its fonts, brushes and bitmaps, which live as long as it.
    s.Wait(300);
    s.ClickTab(1);
    s.ClickTab(0);
    // The first recordings open the sound output, which stays open.
    s.SetLookupText(SoakText(3));
    s.Lookup();
    s.Wait(300);

    soak.start = ProcessFigures::Now();
    std::printf("at start:        %s\n", soak.start.Line().c_str());
    std::fflush(stdout);
    s.SetLookupText(SoakText(soak.characters));
    const double t0 = NowMs();
    s.Lookup();
    soak.walkMs = NowMs() - t0;
    int last = soak.characters - 1;  // the last character with an entry shows its spelling
    while (last % 10 == 9)
        --last;
    soak.walkEnded = s.MainEnabled(IDC_LOOKUP) && s.MainText(IDC_PHONETIC) == SpellingOf((last * 37) % kDictionaryRows);
    soak.afterWalk = ProcessFigures::Now();
    std::printf("after the walk:  %s\n", soak.afterWalk.Line().c_str());
    std::fflush(stdout);

    // The training tab, then "开始", as mouse clicks.
    s.ClickTab(1);
    s.Click(IDC_START);
    s.Wait(200);
    if (!g_bRunning) {
        std::printf("the game did not start\n");
        return;
    }
    // One answer at a time, each scored before the next: the characters typed into
    // the answer box, then Enter, all as posted input that the modal loop dispatches
    // (the page catches Enter in its pre-translation).
    const double gameStart = NowMs();
    const HWND edit = GetDlgItem(s.PageWnd(), IDC_ANSWER);
    for (; soak.given < soak.answers; ++soak.given) {
        if (soak.given == kGameWarmUp)
            soak.gameWarm = ProcessFigures::Now();
        const std::wstring falling = s.Text(IDC_FALLING);
        const int row = falling.empty() ? -1 : falling[0] - 0x4E00;
        std::wstring answer = row >= 0 && row < kDictionaryRows ? SpellingOf(row) : L"?";
        answer.pop_back();  // the tone digit
        if (soak.given % 5 == 4)
            answer += L"x";  // a miss: the same character falls on
        const int target = g_nTotal + 1;
        TypeText(edit, answer.c_str());
        PostKey(edit, VK_RETURN);
        s.Pump();
        if (!s.WaitFor([&] { return g_nTotal >= target; }, 20000)) {
            std::printf("the game stopped scoring after %d answers\n", soak.given);
            return;
        }
    }
    soak.gameMs = NowMs() - gameStart;
    soak.gameDone = true;
    soak.end = ProcessFigures::Now();
}

bool Within(long growth, long bound)
{
    return growth <= bound;
}

}  // namespace

int main(int argc, char** argv)
{
    Boxes().MarkMainStarted();
    Soak s;
    if (argc > 1)
        s.characters = std::max(2, std::atoi(argv[1]));
    if (argc > 2)
        s.answers = std::max(1, std::atoi(argv[2]));

    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES | ICC_TAB_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&icc);
    CoInitialize(nullptr);

    WriteDictionarySql(DictionarySql());
    for (int i = 0; i < kSyllableCount * 6; ++i)
        WriteRecording(SpellingOf(i), kRecordingMs);
    WriteRecording(L"ok", kRecordingMs);
    WriteRecording(L"ng", kRecordingMs);
    WritePracticeText(PracticeText(s.answers + 100));
    // The game's dictionary connected before main() to the file that was there.
    ConnectGameDictionaryAgain();

    // The walk takes about two minutes; the watchdog only ends a run that hangs.
    MainWindowDriver::Run([&s](MainWindowDriver& driver) { Run(driver, s); }, 30 * 60 * 1000);

    std::printf("after %d answers: %s\n", kGameWarmUp, s.gameWarm.Line().c_str());
    std::printf("at end:          %s\n", s.end.Line().c_str());
    std::printf("growth over the walk:                  %s\n", s.afterWalk.GrowthSince(s.start).c_str());
    std::printf("growth over the game after %2d answers: %s\n", kGameWarmUp, s.end.GrowthSince(s.gameWarm).c_str());
    std::printf("growth from start to end:              %s\n", s.end.GrowthSince(s.start).c_str());
    std::printf("walk:  %d characters (%d with an entry, %d ms recordings) in %.1f s, %s\n", s.characters,
                s.characters - s.characters / 10, kRecordingMs, s.walkMs / 1000,
                s.walkEnded ? "ended with the last spelling shown" : "DID NOT END AS EXPECTED");
    std::printf("game:  %d answers given in %.1f s: %d hits, %d misses, %d tries counted%s\n", s.given,
                s.gameMs / 1000, g_nHits, g_nMisses, g_nTotal, s.gameDone ? "" : " (NOT COMPLETED)");
    std::printf("message boxes: %zu\n", Boxes().Count());
    for (const MessageBoxRecord& box : Boxes().Taken())
        std::printf("  %s: %s\n", Utf8(box.caption).c_str(), Utf8(box.text).c_str());

    // Noise: a few handles of the sound output and the heap's own growth. Objects
    // made once per page are outside both spans (warm-up).
    const auto steadyOver = [](const ProcessFigures& from, const ProcessFigures& to) {
        const long handles = static_cast<long>(to.handles) - static_cast<long>(from.handles);
        const long gui = static_cast<long>(to.gdiObjects + to.userObjects) -
                         static_cast<long>(from.gdiObjects + from.userObjects);
        const double privateMb = (static_cast<double>(to.privateBytes) - from.privateBytes) / 1048576.0;
        return Within(handles, 8) && Within(gui, 4) && privateMb < 8.0;
    };
    const bool steady = steadyOver(s.start, s.afterWalk) && steadyOver(s.gameWarm, s.end);
    std::printf("bounds over the walk and over the game: handles +8, GDI and USER objects +4, private bytes"
                " +8 MB: %s\n", steady ? "held" : "EXCEEDED");
    const bool ok = steady && s.walkEnded && s.gameDone && g_nTotal == s.answers && Boxes().Count() == 0;

    // Machine-readable: FIGURE <tab> name <tab> value <tab> unit (collected by ./benchmarks).
    const auto figures = [](const char* at, const ProcessFigures& f) {
        std::printf("FIGURE\tsoak_handles_%s\t%lu\thandles\n", at, static_cast<unsigned long>(f.handles));
        std::printf("FIGURE\tsoak_gui_objects_%s\t%lu\tobjects\n", at,
                    static_cast<unsigned long>(f.gdiObjects + f.userObjects));
        std::printf("FIGURE\tsoak_private_mb_%s\t%.1f\tMB\n", at, f.privateBytes / 1048576.0);
        std::printf("FIGURE\tsoak_working_set_mb_%s\t%.1f\tMB\n", at, f.workingSetBytes / 1048576.0);
    };
    figures("start", s.start);
    figures("after_walk", s.afterWalk);
    figures("game_warm", s.gameWarm);
    figures("end", s.end);
    std::printf("FIGURE\tsoak_bounds_held\t%d\tflag\n", steady ? 1 : 0);
    std::printf("FIGURE\tsoak_completed\t%d\tflag\n", ok ? 1 : 0);
    return ok ? 0 : 1;
}
