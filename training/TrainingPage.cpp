// The training page: its controls, data exchange, message map and initialisation.
#include "training/TrainingPage.h"

#include <comutil.h>

#include "training/GameState.h"

CTrainingPage::CTrainingPage(CWnd* pParent)
    : CDialog(IDD, pParent), m_nPeriod(300), m_nFallOffset(0)
{
}

void CTrainingPage::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_SPEED, m_sliderSpeed);
    DDX_Text(pDX, IDC_FALLING, m_strFalling);
    DDX_Text(pDX, IDC_ANSWER, m_strAnswer);
    // On load this limits the answer box, so reading it back never fails the check.
    DDV_MaxChars(pDX, m_strAnswer, 10);
    DDX_Control(pDX, IDC_RICHTEXT, m_richText);
    DDX_Text(pDX, IDC_MISSES, m_strMisses);
    DDX_Text(pDX, IDC_TOTAL, m_strTotal);
    DDX_Text(pDX, IDC_RATE, m_strRate);
    DDX_Text(pDX, IDC_HITS, m_strHits);
    DDX_Text(pDX, IDC_HINT, m_strHint);
    DDX_Control(pDX, IDC_PLAYER, m_player);
}

BEGIN_MESSAGE_MAP(CTrainingPage, CDialog)
    ON_WM_DESTROY()
    ON_WM_TIMER()
    ON_BN_CLICKED(IDC_START, OnStart)
    ON_BN_CLICKED(IDC_HALT, OnPause)
    ON_WM_HSCROLL()
    ON_BN_CLICKED(IDC_CHANGE, OnChangeText)
END_MESSAGE_MAP()

BOOL CTrainingPage::OnInitDialog()
{
    CDialog::OnInitDialog();

    // Reports its own failure; the page comes up without a dictionary then.
    g_db.OpenRecordset(_bstr_t(kDictionaryQuery));

    UpdateData(FALSE);
    m_nFallOffset = 0;
    m_nPeriod = 300;
    m_sliderSpeed.SetRange(1, 10);

    g_nMisses = 0;
    g_nHits = 0;
    g_fHitRate = 100;  // so that a pass without a single try counts as won
    g_nTotal = 0;

    m_strMisses = L"失败次数:      0";
    m_strTotal = L"总计次数:      0";
    m_strRate = L"正确率:        0";
    m_strHits = L"正确次数:      0";
    m_strHint = L"请输入:";

    EnableToolTips(TRUE);
    // A tip window left over from a page that has been destroyed died with it.
    if (g_toolTip.m_hWnd && !::IsWindow(g_toolTip.m_hWnd))
        g_toolTip.Detach();
    if (!g_toolTip.m_hWnd) {
        g_toolTip.Create(this);
        g_toolTip.Activate(TRUE);
        // The button is not subclassed: the tip sees the mouse only through the relay
        // in PreTranslateMessage.
        g_toolTip.AddTool(GetDlgItem(IDC_CHANGE), L"点击这里更新练习库");
        g_toolTip.SetTipTextColor(RGB(0, 0, 0));
        g_toolTip.SetDelayTime(150);
    }

    UpdateData(FALSE);
    return TRUE;
}

// Kept on purpose: Enter arrives here as the OK command, and the page is never closed by it.
void CTrainingPage::OnOK()
{
}

// Kept on purpose: the framework's default only.
void CTrainingPage::OnDestroy()
{
    CDialog::OnDestroy();
}
