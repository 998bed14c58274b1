// The practice text: loading it, taking its characters in order, the end of a pass and
// editing the file in Notepad.
#include <string>

#include <afxdisp.h>

#include "resources/Paths.h"
#include "dictionary/FindPhonetic.h"
#include "training/GameState.h"
#include "training/TrainingPage.h"

namespace {

CString PracticeFile()
{
    return CString(kInstallDir) + kPracticeName;
}

// False when the game's dictionary was not opened or has no rows: nothing could fall.
bool HasDictionary()
{
    const _RecordsetPtr& rs = g_db.m_pRecordset;
    if (!rs)
        return false;
    try {
        return rs->GetRecordCount() > 0;
    } catch (const _com_error&) {
        return false;
    }
}

}  // namespace

// Loads the practice file into the hidden rich text control. On failure tells the user
// why and returns false; the caller keeps the reload flag so the next start tries again.
bool CTrainingPage::LoadPracticeText()
{
    VARIANT plainText;
    VariantInit(&plainText);
    plainText.vt = VT_UI1;
    plainText.bVal = 1;
    CString reason;
    try {
        m_richText.LoadFile(PracticeFile(), plainText);
        return true;
    } catch (COleDispatchException* e) {
        reason = e->m_strDescription;  // names the file and what is wrong with it
        e->Delete();
    } catch (COleException* e) {
        reason.Format(L"无法载入文件 %s (错误代码 0x%08X)。", PracticeFile().GetString(),
                      static_cast<unsigned>(e->m_sc));
        e->Delete();
    }
    if (reason.IsEmpty())
        reason = CString(L"无法载入文件 ") + PracticeFile() + L"。";
    AfxMessageBox(CString(L"练习文本载入失败。\n\n") + reason +
                      L"\n\n请检查练习文本(点“更换”可以打开它),再点“开始”。",
                  MB_OK | MB_ICONERROR);
    return false;
}

// Loads the practice text again when "更换" has marked it. False when that load failed:
// the user has been told, and the flag stays set so that the next start tries again.
bool CTrainingPage::ReloadPracticeText()
{
    if (!g_bReloadText)
        return true;
    if (!LoadPracticeText())
        return false;
    g_bReloadText = false;
    return true;
}

// Start button, and the next character after a right answer.
void CTrainingPage::OnStart()
{
    // A failed reload changes nothing else: a falling character keeps falling.
    if (!ReloadPracticeText())
        return;
    CString text;
    m_richText.GetWindowText(text);
    const int n = text.GetLength();
    GetDlgItem(IDC_ANSWER)->SetFocus();

    // Without a dictionary no answer can be checked: the start-up boxes said why, and
    // the game stays still instead of ending passes that were never played.
    if (!HasDictionary())
        return;

    if (g_bHalted && g_nTextPos >= n) {
        // A new pass shows the text's first character as it is, and goes one step faster.
        g_nTextPos = 0;
        m_strFalling = n > 0 ? CString(text.GetAt(0)) : CString();
        m_strAnswer.Empty();
        UpdateData(FALSE);
        g_nTextPos = 1;
        m_sliderSpeed.SetPos(m_sliderSpeed.GetPos() + 1);
    }

    if (g_nTextPos < n) {
        if (g_bHalted) {
            g_bRunning = true;
            g_bHalted = false;
            UpdateSpeed();
            SetTimer(kFallTimer, m_nPeriod);
            return;
        }
        // Characters without a dictionary entry never fall; the label keeps its height.
        while (g_nTextPos < n) {
            const CString c(text.GetAt(g_nTextPos));
            ++g_nTextPos;
            m_strAnswer.Empty();
            if (FindPhonetic(g_db.m_pRecordset, c)) {
                m_strFalling = c;
                UpdateData(FALSE);
                g_bRunning = true;
                UpdateSpeed();
                SetTimer(kFallTimer, m_nPeriod);
                return;
            }
        }
        // The rest of the text had no entry at all: the pass ends now.
    }
    EndPass();
}

// The text is used up: halt, then the verdict. OK in the retry question begins a new pass
// and sets the counters back (the lines keep their texts until the next try).
void CTrainingPage::EndPass()
{
    g_bHalted = true;
    g_bRunning = false;
    KillTimer(kFallTimer);
    m_strAnswer.Empty();
    UpdateData(FALSE);

    if (g_fHitRate >= 1.0f) {
        // The page's own box: titled with the application's name, and without the
        // icon that AfxMessageBox would add.
        MessageBox(L"Greate!");
        return;
    }
    if (MessageBox(L"你输了,是否在来一盘?", L"重试?", MB_OKCANCEL) == IDOK) {
        OnStart();
        g_nMisses = 0;
        g_nHits = 0;
        g_fHitRate = 0;
        g_nTotal = 0;
        UpdateData(FALSE);
    }
}

// Opens the practice file in Notepad; the next start reloads it, wherever the game is.
void CTrainingPage::OnChangeText()
{
    g_bReloadText = true;
    const CString command = CString(L"notepad.exe ") + PracticeFile();
    const int size = WideCharToMultiByte(CP_ACP, 0, command, -1, nullptr, 0, nullptr, nullptr);
    std::string ansi(size > 0 ? size : 1, '\0');
    WideCharToMultiByte(CP_ACP, 0, command, -1, ansi.data(), size, nullptr, nullptr);
    WinExec(ansi.c_str(), SW_SHOWNORMAL);
}
