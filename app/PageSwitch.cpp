// Page switching. There are no page objects: a page is up when its windows are shown.
// The switch follows clicks on the tabs (NM_CLICK), not selection changes, so a change
// of tab by keyboard leaves the page as it was.
#include "app/PronounceDlg.h"

#include "resources/Paths.h"
#include "training/TrainingPage.h"

namespace {

// The look-up page's windows, in the order they are shown and hidden. The "音标:" label
// has no id of its own; it is the one control of the window with id -1.
const int kLookupControls[] = {IDC_TEXT, IDC_LOOKUP, IDC_PAUSE, IDC_STOP, IDC_PHONETIC,
                               IDC_PHONETIC_LABEL};

const wchar_t kStudyNotice[] =
    L"视频文件太大,请在退出程序时,登录我们的网站免费观看更多完整视频";

void ShowControls(CWnd& dlg, int nCmdShow, bool withTextBox)
{
    for (int id : kLookupControls) {
        if (id == IDC_TEXT && !withTextBox)
            continue;
        if (CWnd* pControl = dlg.GetDlgItem(id))
            pControl->ShowWindow(nCmdShow);
    }
}

}  // namespace

void CPronounceDlg::OnClickTab(NMHDR*, LRESULT* pResult)
{
    CString strInstallDir = kInstallDir;

    // After a click the focused item is the clicked tab, even when it was selected already.
    int nTab = m_tab.GetCurFocus();
    if (nTab == 1) {
        m_pTrainingPage->ShowWindow(SW_SHOW);
        ShowControls(*this, SW_HIDE, true);
        m_player.SetURL(strInstallDir);  // a folder: whatever played ends
        m_player.ShowWindow(SW_HIDE);
    } else if (nTab == 0) {
        m_player.ShowWindow(SW_HIDE);
        m_pTrainingPage->ShowWindow(SW_HIDE);
        ShowControls(*this, SW_SHOW, true);
        m_player.SetURL(strInstallDir);
    } else if (nTab == 2) {
        // Before the video starts, every time the study page is opened. The text box and
        // the training page keep their state; the player lies above them both.
        MessageBox(kStudyNotice);
        ShowControls(*this, SW_HIDE, false);
        m_player.ShowWindow(SW_SHOW);
        m_player.SetURL(strInstallDir + kVideoName);
    }
    *pResult = 0;
}

// Kept on purpose: every change of tab is allowed.
void CPronounceDlg::OnSelChangingTab(NMHDR*, LRESULT* pResult)
{
    *pResult = 0;  // let the selection change
}

// Kept on purpose: the tab control's out-of-memory notice is answered and nothing else.
void CPronounceDlg::OnOutOfMemoryTab(NMHDR*, LRESULT* pResult)
{
    *pResult = 0;
}
