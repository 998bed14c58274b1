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

#include "bench/Clock.h"
#include "Fixtures.h"
#include "ProcessFigures.h"
#include "app/PronounceApp.h"
#include "app/PronounceDlg.h"
#include "support/MessageBoxes.h"
#include "training/GameState.h"
#include "training/TrainingPage.h"

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

void WritePractice(const std::wstring& text)
{
    std::string bytes = "\xFF\xFE";
    for (wchar_t c : text) {
        bytes.push_back(static_cast<char>(c & 0xFF));
        bytes.push_back(static_cast<char>(c >> 8));
    }
    const std::wstring path = L"C:\\Program Files\\Lorvane\\xunlian.txt";
    HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(h);
}

std::string ReadOptional(const std::wstring& path, bool* existed)
{
    HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    *existed = h != INVALID_HANDLE_VALUE;
    if (!*existed)
        return {};
    std::string bytes(GetFileSize(h, nullptr), '\0');
    DWORD read = 0;
    ReadFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
    CloseHandle(h);
    return bytes;
}

struct Soak {
    CPronounceDlg* dlg = nullptr;
    int characters = 2000;
    int answers = 500;
    ProcessFigures start, afterWalk, gameWarm, end;
    double walkMs = 0, gameMs = 0;
    bool walkEnded = false;
    int given = 0;        // answers posted
    int stalls = 0;       // ticks spent waiting for an answer to be scored
    int targetTotal = 0;  // g_nTotal once every posted answer is scored
    bool gameDone = false;
    double gameStart = 0;
};

Soak g_soak;

void PostClick(HWND hwnd, POINT at)
{
    const LPARAM pos = MAKELPARAM(at.x, at.y);
    PostMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, pos);
    PostMessageW(hwnd, WM_LBUTTONUP, 0, pos);
}

void PostButtonClick(HWND button)
{
    RECT rc{};
    GetClientRect(button, &rc);
    PostClick(button, POINT{rc.right / 2, rc.bottom / 2});
}

// One answer per tick, once the last one has been scored: the characters typed
// into the answer box, then Enter, all as posted input that the modal loop
// dispatches (the page catches Enter in its pre-translation).
void CALLBACK AnswerTick(HWND, UINT, UINT_PTR id, DWORD)
{
    Soak& s = g_soak;
    CTrainingPage& page = *s.dlg->m_pTrainingPage;
    if (g_nTotal < s.targetTotal) {
        if (++s.stalls > 2000) {
            KillTimer(nullptr, id);
            std::printf("the game stopped scoring after %d answers\n", s.given);
            s.dlg->EndDialog(IDABORT);
        }
        return;
    }
    if (s.given == s.answers) {
        KillTimer(nullptr, id);
        s.gameMs = NowMs() - s.gameStart;
        s.gameDone = true;
        s.end = ProcessFigures::Now();
        s.dlg->EndDialog(IDOK);
        return;
    }
    if (s.given == kGameWarmUp)
        s.gameWarm = ProcessFigures::Now();
    wchar_t falling[8] = {};
    GetDlgItemTextW(page.m_hWnd, IDC_FALLING, falling, 8);
    const int row = falling[0] - 0x4E00;
    std::wstring answer = row >= 0 && row < kDictionaryRows ? SpellingOf(row) : L"?";
    answer.pop_back();  // the tone digit
    if (s.given % 5 == 4)
        answer += L"x";  // a miss: the same character falls on
    HWND edit = GetDlgItem(page.m_hWnd, IDC_ANSWER);
    for (wchar_t c : answer)
        PostMessageW(edit, WM_CHAR, c, 1);
    const LPARAM scan = static_cast<LPARAM>(MapVirtualKeyW(VK_RETURN, MAPVK_VK_TO_VSC)) << 16;
    PostMessageW(edit, WM_KEYDOWN, VK_RETURN, 1 | scan);
    PostMessageW(edit, WM_KEYUP, VK_RETURN, 1 | scan | (1LL << 30) | (1LL << 31));
    ++s.given;
    s.targetTotal = g_nTotal + 1;
}

void CALLBACK StartGame(HWND, UINT, UINT_PTR id, DWORD)
{
    KillTimer(nullptr, id);
    Soak& s = g_soak;
    if (!g_bRunning) {
        std::printf("the game did not start\n");
        s.dlg->EndDialog(IDABORT);
        return;
    }
    s.gameStart = NowMs();
    SetTimer(nullptr, 0, 10, AnswerTick);
}

void ClickTab(CPronounceDlg& dlg, int index)
{
    HWND tab = GetDlgItem(dlg.m_hWnd, IDC_TAB);
    RECT item{};
    SendMessageW(tab, TCM_GETITEMRECT, index, reinterpret_cast<LPARAM>(&item));
    PostClick(tab, POINT{(item.left + item.right) / 2, (item.top + item.bottom) / 2});
}

void CALLBACK RunWalk(HWND, UINT, UINT_PTR id, DWORD)
{
    KillTimer(nullptr, id);
    Soak& s = g_soak;
    CPronounceDlg& dlg = *s.dlg;
    s.start = ProcessFigures::Now();
    std::printf("at start:        %s\n", s.start.Line().c_str());
    std::fflush(stdout);

    const std::wstring text = SoakText(s.characters);
    SetDlgItemTextW(dlg.m_hWnd, IDC_TEXT, text.c_str());
    const double t0 = NowMs();
    SendMessageW(dlg.m_hWnd, WM_COMMAND, MAKEWPARAM(IDC_LOOKUP, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dlg.m_hWnd, IDC_LOOKUP)));
    s.walkMs = NowMs() - t0;
    wchar_t label[32] = {};
    GetDlgItemTextW(dlg.m_hWnd, IDC_PHONETIC, label, 32);
    int last = s.characters - 1;  // the last character with an entry shows its spelling
    while (last % 10 == 9)
        --last;
    s.walkEnded = IsWindowEnabled(GetDlgItem(dlg.m_hWnd, IDC_LOOKUP)) &&
                  std::wstring(label) == SpellingOf((last * 37) % kDictionaryRows);
    s.afterWalk = ProcessFigures::Now();
    std::printf("after the walk:  %s\n", s.afterWalk.Line().c_str());
    std::fflush(stdout);

    // The training tab, then "开始", as mouse clicks.
    ClickTab(dlg, 1);
    PostButtonClick(GetDlgItem(dlg.m_pTrainingPage->m_hWnd, IDC_START));
    SetTimer(nullptr, 0, 200, StartGame);
}

// Both pages are shown once before the figures start: drawing the training page
// the first time makes its fonts, brushes and bitmaps, which live as long as it.
void CALLBACK WarmUp(HWND, UINT, UINT_PTR id, DWORD)
{
    KillTimer(nullptr, id);
    CPronounceDlg& dlg = *g_soak.dlg;
    ClickTab(dlg, 1);
    ClickTab(dlg, 0);
    // The first recordings open the sound output, which stays open.
    SetDlgItemTextW(dlg.m_hWnd, IDC_TEXT, SoakText(3).c_str());
    SendMessageW(dlg.m_hWnd, WM_COMMAND, MAKEWPARAM(IDC_LOOKUP, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dlg.m_hWnd, IDC_LOOKUP)));
    SetTimer(nullptr, 0, 300, RunWalk);
}

bool Within(long growth, long bound)
{
    return growth <= bound;
}

}  // namespace

int main(int argc, char** argv)
{
    Boxes().MarkMainStarted();
    Soak& s = g_soak;
    if (argc > 1)
        s.characters = std::max(2, std::atoi(argv[1]));
    if (argc > 2)
        s.answers = std::max(1, std::atoi(argv[2]));

    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES | ICC_TAB_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&icc);
    CoInitialize(nullptr);
    AfxEnableControlContainer();

    WriteDictionarySql(DictionarySql().c_str());
    TestRecordings recordings;
    for (int i = 0; i < kSyllableCount * 6; ++i)
        recordings.Write(SpellingOf(i), kRecordingMs);
    recordings.Write(L"ok", kRecordingMs);
    recordings.Write(L"ng", kRecordingMs);
    bool hadPractice = false;
    const std::string practice = ReadOptional(L"C:\\Program Files\\Lorvane\\xunlian.txt", &hadPractice);
    WritePractice(PracticeText(s.answers + 100));
    // The game's dictionary connected before main() to the file that was there.
    g_db.m_pRecordset = nullptr;
    g_db.m_pConnection = nullptr;
    g_db.Connect();

    {
        CPronounceDlg dlg;
        s.dlg = &dlg;
        theApp.m_pMainWnd = &dlg;
        SetTimer(nullptr, 0, 300, WarmUp);
        dlg.DoModal();
        theApp.m_pMainWnd = nullptr;
    }

    if (hadPractice) {
        HANDLE h = CreateFileW(L"C:\\Program Files\\Lorvane\\xunlian.txt", GENERIC_WRITE, 0, nullptr,
                               CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        DWORD written = 0;
        WriteFile(h, practice.data(), static_cast<DWORD>(practice.size()), &written, nullptr);
        CloseHandle(h);
    }

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
