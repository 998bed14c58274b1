// Answer checking: Enter, whichever control of the page has the focus, checks the typed
// spelling of the falling character.
#include "resources/Paths.h"
#include "dictionary/FindPhonetic.h"
#include "training/GameState.h"
#include "training/TrainingPage.h"

BOOL CTrainingPage::PreTranslateMessage(MSG* pMsg)
{
    if (pMsg->message == WM_KEYDOWN && pMsg->wParam == VK_RETURN) {
        if (!g_bRunning) {
            // Nothing falls: the dialog manager may have the key (it becomes the ignored
            // OK command), but nothing is scored.
            CDialog::PreTranslateMessage(pMsg);
            return TRUE;
        }
        CheckAnswer();
        UpdateData(FALSE);
    }
    g_toolTip.RelayEvent(pMsg);
    return CDialog::PreTranslateMessage(pMsg);
}

// Scores the typed answer against the falling character's spelling less its tone digit.
void CTrainingPage::CheckAnswer()
{
    UpdateData(TRUE);
    if (m_strFalling.IsEmpty() || !FindPhonetic(g_db.m_pRecordset, m_strFalling)) {
        // An empty label, or a character the dictionary does not know (a new pass shows
        // the text's first character as it is): there is nothing to check it against,
        // so it is passed over without counting a try.
        m_strAnswer.Empty();
        ResetFallingLabel();
        OnStart();
        UpdateData(FALSE);
        return;
    }
    CString reference = ReadPhonetic(g_db.m_pRecordset);
    if (!reference.IsEmpty())
        reference.Delete(reference.GetLength() - 1);  // the tone digit

    if (m_strAnswer != reference) {
        m_strHint = CString(L"输入错误,参考音标:") + reference;
        SetTimer(kHintTimer, 800);
        m_player.SetURL(CString(kSoundDir) + kMissSound);
        m_strAnswer.Empty();
        CountTry(false, L"%.2f");
        UpdateData(FALSE);
        return;  // the same character goes on falling and may be answered again
    }
    // The answered character is done with before anything can show a box (a failed
    // reload of the practice text, a sound): a box's own loop would go on ticking the
    // fall timer, and the character would fall again behind it and could score a miss.
    CountTry(true, L"%.2f");
    KillTimer(kFallTimer);
    g_bRunning = false;
    m_strFalling.Empty();
    ResetFallingLabel();
    UpdateData(FALSE);
    m_player.SetURL(CString(kSoundDir) + kHitSound);
    // The next character; after a failed reload nothing falls until the next start.
    OnStart();
    UpdateData(FALSE);
}
