// The word lookup page's walk: every character of the typed text is looked up
// in the dictionary, its spelling shown in label 1003 and its recording played,
// one after another. The walk runs inside the lookup click and keeps the window
// alive by pumping messages in its waits; the pause, stop and close handlers
// reach it only through m_bPause and m_bStop.
#include "app/PronounceDlg.h"

#include <comdef.h>

#include "dictionary/FindPhonetic.h"
#include "app/Paths.h"
#include "PumpPendingMessages.h"
#include "IdleWait.h"
#include "DictionaryFailure.h"
#include "resource.h"

namespace {

constexpr DWORD kLongestWaitMs = 800;  // a recording gets at most this long
constexpr long kPlayStateStopped = 1;

// The dialog has been ended (closing and Cancel both hide it) or its window is
// gone. A walk still on the stack then has to give way: the modal loop can only
// finish once the lookup click has returned.
bool DialogEnded(HWND hwnd)
{
    return !::IsWindow(hwnd) || !::IsWindowVisible(hwnd);
}

// Pause check: one pump, then more for as long as the pause is set. The Stop
// button does not end a hold (the walk obeys it once the learner resumes); an
// ended dialog does, so a close never leaves the process waiting for a resume.
// Returns false when the dialog has ended, whether it held or not: nothing more
// is played for a window that is gone.
bool HoldWhilePaused(const bool& bPause, HWND hwnd)
{
    PumpPendingMessages();
    while (bPause && !DialogEnded(hwnd)) {
        WaitForInputOrTimeout();
        PumpPendingMessages();
    }
    return !DialogEnded(hwnd);
}

// Waits, pumping, until the player is stopped or more than 800 ms have passed.
// The tick difference is unsigned, so the counter's wrap does no harm.
// Returns false when a stop request (or the dialog's end) cut the wait short;
// the request is consumed.
bool WaitForRecording(bool& bStop, CWMPPlayer4& player, HWND hwnd)
{
    const DWORD t0 = GetTickCount();
    for (;;) {
        if (GetTickCount() - t0 > kLongestWaitMs)
            return true;
        if (bStop || DialogEnded(hwnd)) {
            bStop = false;
            return false;
        }
        PumpPendingMessages();
        if (DialogEnded(hwnd))
            continue;  // the player may be gone; the next checks end the walk
        if (player.GetPlayState() == kPlayStateStopped)
            return true;
        WaitForInputOrTimeout();
    }
}

// Marks a walk as running for as long as the lookup click is on the stack,
// whichever way it leaves.
class WalkMark {
public:
    explicit WalkMark(bool& bWalking) : m_bWalking(bWalking) { m_bWalking = true; }
    ~WalkMark() { m_bWalking = false; }
    WalkMark(const WalkMark&) = delete;
    WalkMark& operator=(const WalkMark&) = delete;

private:
    bool& m_bWalking;
};

void EnableLookup(CWnd& dlg, BOOL enable)
{
    if (CWnd* button = dlg.GetDlgItem(IDC_LOOKUP))
        button->EnableWindow(enable);
}

}  // namespace

void CPronounceDlg::OnLookup()
{
    // Refuse a lookup dispatched from a running walk's own pump (possible once
    // Stop has enabled the button again): a nested walk would clear the stop
    // request and the first walk would carry on after it.
    if (m_bWalking)
        return;

    UpdateData(TRUE);
    if (m_strText.IsEmpty()) {
        AfxMessageBox(L"请在文本框中输入一些文字", MB_OK);
        return;
    }

    WalkMark walking(m_bWalking);
    m_bStop = false;
    EnableLookup(*this, FALSE);
    const HWND hwnd = GetSafeHwnd();

    for (int i = 0; i < m_strText.GetLength(); ++i) {
        bool found = false;
        CString phonetic;
        try {
            found = FindPhonetic(m_db.m_pRecordset, CString(m_strText.GetAt(i)));
            if (found)
                phonetic = ReadPhonetic(m_db.m_pRecordset);
        } catch (const _com_error& e) {
            // The dictionary cannot be read: end the walk, leave the page usable
            // and say why once.
            EnableLookup(*this, TRUE);
            ReportDictionaryFailure(e);
            return;
        }

        if (found) {
            m_strPhonetic = phonetic;
            if (!HoldWhilePaused(m_bPause, hwnd)) {
                m_bStop = false;  // the window has ended
                return;
            }
            m_player.SetURL(CString(kSoundDir) + m_strPhonetic + L".wav");
            UpdateData(FALSE);
        }

        if (!WaitForRecording(m_bStop, m_player, hwnd))
            return;  // Stop has already enabled the button, or the window has ended
        if (!HoldWhilePaused(m_bPause, hwnd)) {
            m_bStop = false;  // the window has ended
            return;
        }
        if (m_bStop) {
            m_bStop = false;
            break;
        }
    }
    EnableLookup(*this, TRUE);
}

void CPronounceDlg::OnPauseResume()
{
    m_bPause = !m_bPause;
    // The caption names what the next click will do.
    if (CWnd* button = GetDlgItem(IDC_PAUSE))
        button->SetWindowText(m_bPause ? L"播放(&P)" : L"暂停(&P)");
}

void CPronounceDlg::OnStop()
{
    m_bStop = true;
    EnableLookup(*this, TRUE);
}
