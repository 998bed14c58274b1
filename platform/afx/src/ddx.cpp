// Data exchange between dialog members and controls (DDX_/DDV_, UpdateData).
#include "internal.h"

#include <cerrno>
#include <cwchar>

CDataExchange::CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate)
    : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlgWnd)
{
}

HWND CDataExchange::PrepareCtrl(int nIDC)
{
    HWND hWndCtrl = ::GetDlgItem(m_pDlgWnd->GetSafeHwnd(), nIDC);
    m_hWndLastControl = hWndCtrl;
    m_bEditLastControl = FALSE;
    return hWndCtrl;
}

HWND CDataExchange::PrepareEditCtrl(int nIDC)
{
    HWND hWndCtrl = PrepareCtrl(nIDC);
    m_bEditLastControl = TRUE;
    return hWndCtrl;
}

void CDataExchange::Fail()
{
    if (m_bSaveAndValidate && m_hWndLastControl) {
        // Back to the control with the bad value, its text selected.
        ::SetFocus(m_hWndLastControl);
        if (m_bEditLastControl)
            ::SendMessageW(m_hWndLastControl, EM_SETSEL, 0, -1);
    }
    AfxThrowUserException();
}

BOOL CWnd::UpdateData(BOOL bSaveAndValidate)
{
    CDataExchange dx(this, bSaveAndValidate);
    try {
        DoDataExchange(&dx);
    } catch (CException* e) {
        // A failed check was reported where it was found.
        if (!e->IsKindOf(RUNTIME_CLASS(CUserException)))
            e->ReportError(MB_ICONEXCLAMATION);
        e->Delete();
        return FALSE;
    }
    return TRUE;
}

void CWnd::DoDataExchange(CDataExchange*) {}

namespace {

// Sets the text only when it differs, so an unchanged field sends no EN_CHANGE.
void SetTextIfChanged(HWND hWnd, LPCWSTR text)
{
    if (!hWnd)
        return;
    CString current;
    CWnd::FromHandle(hWnd)->GetWindowText(current);
    if (current != text)
        ::SetWindowTextW(hWnd, text);
}

CString ReadText(HWND hWnd)
{
    CString s;
    if (hWnd)
        CWnd::FromHandle(hWnd)->GetWindowText(s);
    return s;
}

[[noreturn]] void FailWith(CDataExchange* pDX, LPCWSTR prompt)
{
    AfxMessageBox(prompt, MB_ICONEXCLAMATION);
    pDX->Fail();
}

bool ParseLong(const CString& text, long long& out)
{
    CString t(text);
    t.TrimLeft();
    t.TrimRight();
    if (t.IsEmpty())
        return false;
    wchar_t* end = nullptr;
    errno = 0;
    out = std::wcstoll(t, &end, 10);
    return errno == 0 && end && *end == L'\0';
}

}  // namespace

void DDX_Text(CDataExchange* pDX, int nIDC, CString& value)
{
    HWND hWndCtrl = pDX->PrepareEditCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
        value = ReadText(hWndCtrl);
    else
        SetTextIfChanged(hWndCtrl, value);
}

void DDX_Text(CDataExchange* pDX, int nIDC, long& value)
{
    HWND hWndCtrl = pDX->PrepareEditCtrl(nIDC);
    if (pDX->m_bSaveAndValidate) {
        long long v = 0;
        if (!ParseLong(ReadText(hWndCtrl), v) || v < LONG_MIN || v > LONG_MAX)
            FailWith(pDX, L"请输入一个整数。");
        value = static_cast<long>(v);
    } else {
        CString s;
        s.Format(L"%ld", value);
        SetTextIfChanged(hWndCtrl, s);
    }
}

void DDX_Text(CDataExchange* pDX, int nIDC, int& value)
{
    long v = value;
    DDX_Text(pDX, nIDC, v);
    value = static_cast<int>(v);
}

void DDX_Text(CDataExchange* pDX, int nIDC, UINT& value)
{
    HWND hWndCtrl = pDX->PrepareEditCtrl(nIDC);
    if (pDX->m_bSaveAndValidate) {
        long long v = 0;
        if (!ParseLong(ReadText(hWndCtrl), v) || v < 0 || v > static_cast<long long>(UINT_MAX))
            FailWith(pDX, L"请输入一个正整数。");
        value = static_cast<UINT>(v);
    } else {
        CString s;
        s.Format(L"%u", value);
        SetTextIfChanged(hWndCtrl, s);
    }
}

void DDX_Text(CDataExchange* pDX, int nIDC, double& value)
{
    HWND hWndCtrl = pDX->PrepareEditCtrl(nIDC);
    if (pDX->m_bSaveAndValidate) {
        CString t = ReadText(hWndCtrl);
        t.TrimLeft();
        t.TrimRight();
        wchar_t* end = nullptr;
        double v = t.IsEmpty() ? 0 : std::wcstod(t, &end);
        if (t.IsEmpty() || !end || *end != L'\0')
            FailWith(pDX, L"请输入一个数字。");
        value = v;
    } else {
        CString s;
        s.Format(L"%.15g", value);
        SetTextIfChanged(hWndCtrl, s);
    }
}

void DDX_Check(CDataExchange* pDX, int nIDC, int& value)
{
    HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
        value = static_cast<int>(::SendMessageW(hWndCtrl, BM_GETCHECK, 0, 0));
    else
        ::SendMessageW(hWndCtrl, BM_SETCHECK, static_cast<WPARAM>(value), 0);
}

void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl)
{
    if (rControl.m_hWnd)
        return;
    HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
    if (!hWndCtrl || !rControl.SubclassWindow(hWndCtrl))
        AfxThrowNotSupportedException();  // no such control, or bound to another object
}

void DDV_MaxChars(CDataExchange* pDX, CString const& value, int nChars)
{
    if (pDX->m_bSaveAndValidate) {
        if (value.GetLength() > nChars) {
            CString prompt;
            prompt.Format(L"请输入不超过 %d 个字符。", nChars);
            FailWith(pDX, prompt);
        }
    } else if (pDX->m_hWndLastControl && pDX->m_bEditLastControl) {
        ::SendMessageW(pDX->m_hWndLastControl, EM_LIMITTEXT, static_cast<WPARAM>(nChars), 0);
    }
}

void DDV_MinMaxInt(CDataExchange* pDX, int value, int minVal, int maxVal)
{
    if (pDX->m_bSaveAndValidate && (value < minVal || value > maxVal)) {
        CString prompt;
        prompt.Format(L"请输入一个介于 %d 和 %d 之间的整数。", minVal, maxVal);
        FailWith(pDX, prompt);
    }
}
