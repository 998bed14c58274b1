// The falling character: the fall and hint timers, the speed slider and the pause button.
#include "training/TrainingPage.h"

#include "training/GameState.h"

namespace {
// Where the label stands when it moves, in the page's client pixels.
constexpr int kLabelX = 128;
constexpr int kLabelTop = 6;
constexpr int kLabelWidth = 67;
constexpr int kLabelHeight = 14;
}  // namespace

void CTrainingPage::ResetFallingLabel()
{
    m_nFallOffset = 0;
    GetDlgItem(IDC_FALLING)->MoveWindow(kLabelX, kLabelTop, kLabelWidth, kLabelHeight, TRUE);
}

// Every tick moves the label, the hint timer's single tick included.
void CTrainingPage::OnTimer(UINT_PTR nIDEvent)
{
    // KillTimer leaves a tick already queued: once the fall has stopped it moves nothing.
    if (nIDEvent == kFallTimer && !g_bRunning)
        return;
    ++m_nFallOffset;
    CRect client;
    GetClientRect(&client);
    if (m_nFallOffset + 20 < client.bottom) {
        GetDlgItem(IDC_FALLING)->MoveWindow(kLabelX, kLabelTop + m_nFallOffset, kLabelWidth,
                                            kLabelHeight, TRUE);
    } else {
        // The label's bottom edge reached the bottom of the page: a miss. The missed
        // character is not offered again (g_bHalted stays false).
        CountTry(false, L"%f");
        ResetFallingLabel();
        KillTimer(kFallTimer);
        g_bRunning = false;
        UpdateData(FALSE);
    }

    if (nIDEvent == kHintTimer) {
        m_strHint = L"请输入:";
        KillTimer(kHintTimer);
        UpdateData(FALSE);
    }
    CDialog::OnTimer(nIDEvent);
}

void CTrainingPage::OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar)
{
    UpdateSpeed();
    CDialog::OnHScroll(nSBCode, nPos, pScrollBar);
}

// While a character falls, re-arms the fall timer with the slider's period (re-arming
// restarts the period). While nothing falls the next start does this.
void CTrainingPage::UpdateSpeed()
{
    if (!g_bRunning)
        return;
    const int p = static_cast<int>(GetDlgItem(IDC_SPEED)->SendMessage(TBM_GETPOS, 0, 0));
    m_nPeriod = 300 - 29 * p;
    SetTimer(kFallTimer, m_nPeriod);
}

// The label keeps its character and height; the next start resumes the same fall.
void CTrainingPage::OnPause()
{
    KillTimer(kFallTimer);
    g_bRunning = false;
    g_bHalted = true;
}
