// The word lookup page's walk: every character of the typed text is looked up
// in the dictionary, its spelling shown in label 1003 and its recording played,
// one after another. The walk runs inside the lookup click and keeps the window
// alive by pumping messages in its waits; the pause, stop and close handlers
// reach it only through m_bPause and m_bStop.
#include "app/PronounceDlg.h"

#include <comdef.h>

#include "dictionary/FindPhonetic.h"
#include "resources/Paths.h"
#include "PumpPendingMessages.h"
#include "resource.h"

namespace {

constexpr DWORD kLongestWaitMs = 800;  // a recording gets at most this long
constexpr long kPlayStateStopped = 1;
// How long a pumping loop sleeps at most between two cycles. Short against the clock's
// own 16 ms steps, so no deadline or state change is noticed later than a spinning loop
// would notice it.
constexpr DWORD kIdleSliceMs = 4;

// Returns when a message arrives in the thread's queue or after kIdleSliceMs.
// MWMO_INPUTAVAILABLE: also wake for messages that an earlier peek has already seen
// but left in the queue, so nothing waits behind the sleep.
void WaitForInputOrTimeout()
{
    MsgWaitForMultipleObjectsEx(0, nullptr, kIdleSliceMs, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
}

// Tells the learner that the walk ended because the dictionary failed: the error's
// description, or its code when it carries none.
void ReportDictionaryFailure(const _com_error& e)
{
    CString text(L"读取词典失败，朗读已停止。");
    const _bstr_t description = e.Description();
    if (description.length() > 0) {
        text += L"\n";
        text += static_cast<const wchar_t*>(description);
    } else {
        CString code;
        code.Format(L"\n(0x%08lX)", static_cast<unsigned long>(e.Error()));
        text += code;
    }
    AfxMessageBox(text, MB_OK | MB_ICONERROR);
}

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

void EnableLookup(CWnd& dlg, BOOL enable)
{
    if (CWnd* button = dlg.GetDlgItem(IDC_LOOKUP))
        button->EnableWindow(enable);
}

// For as long as the lookup click is on the stack: the walk is marked as running and
// the lookup button is disabled. Whichever way the walk ends (its last character,
// Stop, the window's end, a failing dictionary or player) the button comes back.
class WalkScope {
public:
    WalkScope(CWnd& dlg, bool& bWalking) : m_dlg(dlg), m_bWalking(bWalking)
    {
        m_bWalking = true;
        EnableLookup(m_dlg, FALSE);
    }
    ~WalkScope()
    {
        m_bWalking = false;
        EnableLookup(m_dlg, TRUE);
    }
    WalkScope(const WalkScope&) = delete;
    WalkScope& operator=(const WalkScope&) = delete;

private:
    CWnd& m_dlg;
    bool& m_bWalking;
};

// The recording of a spelling: SoundDir + spelling + ".wav". The spelling comes from
// the dictionary file, so it is put in a path only when it looks like one (letters,
// then a tone digit); anything else could name a file outside the sound folder. The
// sound folder itself stands for such a spelling: the player plays nothing, as for a
// missing recording.
CString RecordingPath(const CString& spelling)
{
    const int n = spelling.GetLength();
    bool valid = n >= 2 && spelling[n - 1] >= L'0' && spelling[n - 1] <= L'9';
    for (int i = 0; valid && i < n - 1; ++i) {
        const wchar_t c = spelling[i];
        valid = (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z');
    }
    return valid ? CString(kSoundDir) + spelling + L".wav" : CString(kSoundDir);
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

    m_bStop = false;
    WalkScope walking(*this, m_bWalking);
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
            // (the button back before the box) and say why once.
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
            m_player.SetURL(RecordingPath(m_strPhonetic));
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
