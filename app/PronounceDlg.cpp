#include "app/PronounceDlg.h"

#include <shellapi.h>

#include "app/AboutDlg.h"
#include "resources/Paths.h"
#include "app/Skin.h"
#include "training/TrainingPage.h"

BEGIN_MESSAGE_MAP(CPronounceDlg, CDialog)
    ON_WM_SYSCOMMAND()
    ON_WM_PAINT()
    ON_WM_QUERYDRAGICON()
    ON_BN_CLICKED(IDC_LOOKUP, OnLookup)
    ON_BN_CLICKED(IDC_PAUSE, OnPauseResume)
    ON_BN_CLICKED(IDC_BUTTON3, OnButton3)
    ON_BN_CLICKED(IDC_STOP, OnStop)
    ON_WM_CTLCOLOR()
    ON_EN_CHANGE(IDC_TEXT, OnChangeText)
    ON_NOTIFY(NM_CLICK, IDC_TAB, OnClickTab)
    ON_NOTIFY(TCN_SELCHANGING, IDC_TAB, OnSelChangingTab)
    ON_NOTIFY(NM_OUTOFMEMORY, IDC_TAB, OnOutOfMemoryTab)
    ON_WM_DESTROY()
    ON_WM_CLOSE()
END_MESSAGE_MAP()

CPronounceDlg::CPronounceDlg(CWnd* pParent)
    : CDialog(IDD, pParent), m_pTrainingPage(nullptr), m_bStop(false), m_bPause(false)
{
    m_strText = L"";
    m_strPhonetic = L"";
    m_hIcon = AfxGetApp()->LoadIcon(IDR_MAINFRAME);
}

// The page's window went with ours (it is a child of the tab control); the object is
// ours to release.
CPronounceDlg::~CPronounceDlg()
{
    delete m_pTrainingPage;
}

void CPronounceDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_TAB, m_tab);
    DDX_Text(pDX, IDC_TEXT, m_strText);
    DDX_Control(pDX, IDC_PLAYER, m_player);
    DDX_Text(pDX, IDC_PHONETIC, m_strPhonetic);
    DDX_Control(pDX, IDC_BROWSER, m_browser);
}

BOOL CPronounceDlg::OnInitDialog()
{
    CDialog::OnInitDialog();

    if (CMenu* pSysMenu = GetSystemMenu(FALSE)) {
        CString strAboutMenu;
        strAboutMenu.LoadString(IDS_ABOUTBOX);
        if (!strAboutMenu.IsEmpty()) {
            pSysMenu->AppendMenu(MF_SEPARATOR);
            pSysMenu->AppendMenu(MF_STRING, IDM_ABOUTBOX, strAboutMenu);
        }
    }

    SetIcon(m_hIcon, TRUE);
    SetIcon(m_hIcon, FALSE);

    AttachSkin();

    // The training page opens g_db's recordset after this one, from its own OnInitDialog.
    m_db.OpenRecordset(_bstr_t(kDictionaryQuery));

    m_tab.InsertItem(0, L"单词查询");
    m_tab.InsertItem(1, L"拼音训练");
    m_tab.InsertItem(2, L"拼音学习");

    m_bPause = false;
    m_bStop = false;

    // The page covers the tab control's client area below the tab row.
    CRect rc;
    m_tab.GetClientRect(&rc);
    rc.top += 20;
    rc.bottom -= 1;
    rc.left += 1;
    rc.right -= 1;

    // Template 103 is not visible: the page starts hidden until tab 1 is clicked.
    m_pTrainingPage = new CTrainingPage;
    m_pTrainingPage->Create(IDD_TRAINING, &m_tab);
    m_pTrainingPage->MoveWindow(&rc, TRUE);

    return TRUE;
}

void CPronounceDlg::OnSysCommand(UINT nID, LPARAM lParam)
{
    // The system keeps the low four bits of a command id for itself.
    if ((nID & 0xFFF0) == IDM_ABOUTBOX) {
        CAboutDlg dlgAbout;
        dlgAbout.DoModal();
    } else {
        CDialog::OnSysCommand(nID, lParam);
    }
}

void CPronounceDlg::OnPaint()
{
    if (!IsIconic()) {
        CDialog::OnPaint();
        return;
    }
    CPaintDC dc(this);
    SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc.GetSafeHdc()), 0);

    CRect rect;
    GetClientRect(&rect);
    // Centred; the division truncates toward zero, so a client one pixel smaller than
    // the icon still gives 0, not -1.
    const int x = (rect.Width() - GetSystemMetrics(SM_CXICON) + 1) / 2;
    const int y = (rect.Height() - GetSystemMetrics(SM_CYICON) + 1) / 2;
    dc.DrawIcon(x, y, m_hIcon);
}

// The cursor shown while the minimised window is dragged.
HCURSOR CPronounceDlg::OnQueryDragIcon()
{
    return static_cast<HCURSOR>(m_hIcon);
}

HBRUSH CPronounceDlg::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor)
{
    return CDialog::OnCtlColor(pDC, pWnd, nCtlColor);
}

// OK (the hidden "验证" button, or Enter outside the text box) never ends the window.
void CPronounceDlg::OnOK() {}

void CPronounceDlg::OnButton3() {}

// Kept on purpose: typing in the text box changes nothing until the next look-up.
void CPronounceDlg::OnChangeText() {}

// Kept on purpose: the framework's default only.
void CPronounceDlg::OnDestroy()
{
    CDialog::OnDestroy();
}

// The caption's close button, the system menu's Close and Alt+F4 come here; the
// Cancel command does not, so it closes without the website.
void CPronounceDlg::OnClose()
{
    m_bStop = true;  // a running read-aloud ends at its next check
    ShellExecuteW(nullptr, L"open", kWebsiteUrl, nullptr, nullptr, SW_SHOW);
    CDialog::OnClose();
}
