// The main window: the look-up page's controls, the hidden media player, the tab
// control with the training page inside it, and an inert web browser control.
#pragma once

#include <afxwin.h>
#include <afxcmn.h>

#include "controls/WebBrowser2.h"
#include "controls/WMPPlayer4.h"
#include "dictionary/PhoneticDb.h"
#include "resources/resource.h"

class CTrainingPage;

class CPronounceDlg : public CDialog
{
public:
    enum { IDD = IDD_PRONOUNCE_DIALOG };

    CPronounceDlg(CWnd* pParent = nullptr);
    ~CPronounceDlg() override;

    CPhoneticDb m_db;                // read-aloud's dictionary; connects on construction
    CTrainingPage* m_pTrainingPage;  // created in OnInitDialog, deleted with this object
    bool m_bStop;                    // stop request to the read-aloud loop
    bool m_bPause;                   // pause state of the read-aloud loop
    CTabCtrl m_tab;
    CString m_strText;               // text box 1001
    CWMPPlayer4 m_player;            // recordings and the study video
    CString m_strPhonetic;           // label 1003
    CWebBrowser2 m_browser;          // hosted, never used
    HICON m_hIcon;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;

    void OnSysCommand(UINT nID, LPARAM lParam);
    void OnPaint();
    HCURSOR OnQueryDragIcon();
    void OnLookup();        // readaloud/ReadAloud.cpp
    void OnPauseResume();   // readaloud/ReadAloud.cpp
    void OnButton3();
    void OnStop();          // readaloud/ReadAloud.cpp
    HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    void OnChangeText();
    void OnClickTab(NMHDR* pNMHDR, LRESULT* pResult);        // app/PageSwitch.cpp
    void OnSelChangingTab(NMHDR* pNMHDR, LRESULT* pResult);  // app/PageSwitch.cpp
    void OnOutOfMemoryTab(NMHDR* pNMHDR, LRESULT* pResult);  // app/PageSwitch.cpp
    void OnDestroy();
    void OnClose();
    DECLARE_MESSAGE_MAP()

private:
    bool m_bWalking = false;  // a read-aloud walk is on the stack (readaloud/ReadAloud.cpp)
};
