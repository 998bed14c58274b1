// Data exchange: members to controls and back, validation failures reported
// in a message box, the length limit put on the edit control.
#include <afxwin.h>
#include <gtest/gtest.h>

#include "afx_test_ids.h"
#include "support/Drive.h"
#include "support/MessageBoxes.h"

namespace {

class CExchangeDlg : public CDialog {
public:
    CExchangeDlg() : CDialog(IDD_ROUTING) {}
    CString m_strEdit;
    int m_nNumber = 0;
    CString m_strLabel;
    int exchanges = 0;
    int changes = 0;

protected:
    afx_msg void OnEditChange() { ++changes; }
    DECLARE_MESSAGE_MAP()

    void DoDataExchange(CDataExchange* pDX) override
    {
        ++exchanges;
        CDialog::DoDataExchange(pDX);
        DDX_Text(pDX, IDC_EDIT, m_strEdit);
        DDV_MaxChars(pDX, m_strEdit, 10);
        DDX_Text(pDX, IDC_NUMBER, m_nNumber);
        DDX_Text(pDX, IDC_LABEL, m_strLabel);
    }
};

BEGIN_MESSAGE_MAP(CExchangeDlg, CDialog)
    ON_EN_CHANGE(IDC_EDIT, OnEditChange)
END_MESSAGE_MAP()

class AfxDataExchange : public testing::Test {
protected:
    void SetUp() override
    {
        dlg.m_strLabel = L"123";
        ASSERT_TRUE(dlg.Create(IDD_ROUTING, nullptr));
        dlg.ShowWindow(SW_SHOW);
        PumpUntilIdle();
    }
    void TearDown() override { dlg.DestroyWindow(); }
    HWND Item(int id) { return ::GetDlgItem(dlg.m_hWnd, id); }

    CExchangeDlg dlg;
};

TEST_F(AfxDataExchange, InitDialogWritesMembersToControls)
{
    EXPECT_EQ(dlg.exchanges, 1);
    EXPECT_EQ(TextOf(Item(IDC_LABEL)), L"123");
    EXPECT_EQ(TextOf(Item(IDC_NUMBER)), L"0");
    EXPECT_EQ(TextOf(Item(IDC_EDIT)), L"");

    dlg.m_strLabel = L"";
    dlg.m_nNumber = -12;
    EXPECT_TRUE(dlg.UpdateData(FALSE));
    EXPECT_EQ(TextOf(Item(IDC_LABEL)), L"");
    EXPECT_EQ(TextOf(Item(IDC_NUMBER)), L"-12");
}

TEST_F(AfxDataExchange, SaveReadsWhatWasTyped)
{
    ::SetFocus(Item(IDC_EDIT));
    TypeText(Item(IDC_EDIT), L"nei");
    ::SetWindowTextW(Item(IDC_NUMBER), L" 42 ");
    PumpUntilIdle();
    EXPECT_TRUE(dlg.UpdateData(TRUE));
    EXPECT_EQ(dlg.m_strEdit, L"nei");
    EXPECT_EQ(dlg.m_nNumber, 42);
    EXPECT_EQ(Boxes().Count(), 0u);
}

TEST_F(AfxDataExchange, MaxCharsLimitsTheEditControl)
{
    EXPECT_EQ(::SendMessageW(Item(IDC_EDIT), EM_GETLIMITTEXT, 0, 0), 10);
    ::SetFocus(Item(IDC_EDIT));
    TypeText(Item(IDC_EDIT), L"abcdefghijkl");
    PumpUntilIdle();
    EXPECT_EQ(TextOf(Item(IDC_EDIT)), L"abcdefghij");
    EXPECT_TRUE(dlg.UpdateData(TRUE));
    EXPECT_EQ(dlg.m_strEdit, L"abcdefghij");
}

TEST_F(AfxDataExchange, TooLongTextFailsTheSaveWithAMessage)
{
    // Text set by the program is not held to the typing limit.
    ::SetWindowTextW(Item(IDC_EDIT), L"一二三四五六七八九十十一");
    EXPECT_FALSE(dlg.UpdateData(TRUE));
    ASSERT_EQ(Boxes().Count(), 1u);
    EXPECT_NE(Boxes().Taken()[0].text.find(L"10"), std::wstring::npos) << testing::PrintToString(Boxes().Taken()[0]);
    EXPECT_EQ(::GetFocus(), Item(IDC_EDIT)) << "focus goes back to the control that failed";
    EXPECT_TRUE(dlg.m_strEdit.IsEmpty() || dlg.m_strEdit.GetLength() > 10);
}

TEST_F(AfxDataExchange, NonNumberFailsTheSaveAndLeavesTheMember)
{
    dlg.m_nNumber = 5;
    ::SetWindowTextW(Item(IDC_NUMBER), L"12x");
    EXPECT_FALSE(dlg.UpdateData(TRUE));
    EXPECT_EQ(dlg.m_nNumber, 5);
    ASSERT_EQ(Boxes().Count(), 1u);
    EXPECT_EQ(::GetFocus(), Item(IDC_NUMBER));
}

TEST_F(AfxDataExchange, UnchangedTextIsNotWrittenAgain)
{
    dlg.m_strEdit = L"same";
    ASSERT_TRUE(dlg.UpdateData(FALSE));
    EXPECT_EQ(dlg.changes, 1);
    ASSERT_TRUE(dlg.UpdateData(FALSE));  // SetWindowText would send EN_CHANGE again
    EXPECT_EQ(dlg.changes, 1);
    EXPECT_EQ(TextOf(Item(IDC_EDIT)), L"same");
}

}  // namespace
