// The training page: a child dialog in tab 1 of the main window that runs the
// typing game (a character of the practice text falls; the learner types its
// spelling without the tone digit and presses Enter).
#pragma once

#include <afxwin.h>
#include <afxcmn.h>

#include "controls/RichText.h"
#include "controls/WMPPlayer4.h"
#include "resources/resource.h"

class CTrainingPage : public CDialog
{
public:
    enum { IDD = IDD_TRAINING };

    CTrainingPage(CWnd* pParent = nullptr);

    // Timer ids of the page.
    enum { kFallTimer = 1, kHintTimer = 2 };

    int m_nPeriod;          // period of the fall timer, ms
    int m_nFallOffset;      // pixels the label has dropped below its start
    CSliderCtrl m_sliderSpeed;
    CString m_strFalling;
    CString m_strAnswer;
    CRichText m_richText;   // hidden; holds the practice text
    CString m_strMisses;
    CString m_strTotal;
    CString m_strRate;
    CString m_strHits;
    CString m_strHint;
    CWMPPlayer4 m_player;   // the page's own player, for the answer sounds

    // Arms the fall timer with the slider's period while a character falls.
    void UpdateSpeed();

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    BOOL OnInitDialog() override;
    void OnOK() override;

    void OnDestroy();
    void OnTimer(UINT_PTR nIDEvent);
    void OnStart();
    void OnPause();
    void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    void OnChangeText();
    DECLARE_MESSAGE_MAP()

private:
    // Shared by the miss at the bottom and the answer check.
    void CountTry(bool bHit, const wchar_t* rateFormat);
    void ResetFallingLabel();
    bool LoadPracticeText();
    bool ReloadPracticeText();
    void EndPass();
    void CheckAnswer();
};
