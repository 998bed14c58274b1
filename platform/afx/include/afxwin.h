// The application framework: windows, dialogs, strings, message maps and data
// exchange, with the names and signatures of the classic MFC 4.2 API (Unicode).
#pragma once

#ifndef UNICODE
#define UNICODE
#endif
#ifndef _UNICODE
#define _UNICODE
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif

#include <windows.h>
#include <commctrl.h>
#include <ole2.h>
#include <oleauto.h>
#include <tchar.h>

#include <cstdarg>
#include <string>

#ifndef AFXAPI
#define AFXAPI
#endif
#ifndef AFX_CDECL
#define AFX_CDECL
#endif
#define AFX_MSG_CALL
#define afx_msg

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif
#ifndef ID_HELP
#define ID_HELP 0xE146
#endif

// WM_CTLCOLOR is not a real message; maps name it, the framework turns every
// WM_CTLCOLORxxx into it with the control kind (CTLCOLOR_xxx) as parameter.
#ifndef WM_CTLCOLOR
#define WM_CTLCOLOR 0x0019
#endif
#ifndef CTLCOLOR_MSGBOX
#define CTLCOLOR_MSGBOX 0
#define CTLCOLOR_EDIT 1
#define CTLCOLOR_LISTBOX 2
#define CTLCOLOR_BTN 3
#define CTLCOLOR_DLG 4
#define CTLCOLOR_SCROLLBAR 5
#define CTLCOLOR_STATIC 6
#endif

class CObject;
class CCmdTarget;
class CWnd;
class CDialog;
class CDC;
class CMenu;
class CScrollBar;
class CDataExchange;
class CWinApp;
struct CCreateContext;
class CFile;

// ---------------------------------------------------------------------------
// Run-time classes

struct CRuntimeClass {
    LPCSTR m_lpszClassName;
    int m_nObjectSize;
    UINT m_wSchema;
    CObject* (*m_pfnCreateObject)();
    CRuntimeClass* m_pBaseClass;

    CObject* CreateObject();
    BOOL IsDerivedFrom(const CRuntimeClass* pBaseClass) const;
    // The class registered under this name by IMPLEMENT_DYNCREATE/DYNAMIC, or nullptr.
    static CRuntimeClass* FromName(LPCSTR lpszClassName);
};

struct AFX_CLASSINIT {
    explicit AFX_CLASSINIT(CRuntimeClass* pNewClass);
};

#define RUNTIME_CLASS(class_name) ((CRuntimeClass*)(&class_name::class##class_name))

#define DECLARE_DYNAMIC(class_name)                    \
public:                                                \
    static const CRuntimeClass class##class_name;      \
    virtual CRuntimeClass* GetRuntimeClass() const override;

#define DECLARE_DYNCREATE(class_name) \
    DECLARE_DYNAMIC(class_name)       \
    static CObject* CreateObject();

#define IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, wSchema, pfnNew)                    \
    const CRuntimeClass class_name::class##class_name = {                                       \
        #class_name, sizeof(class class_name), wSchema, pfnNew, RUNTIME_CLASS(base_class_name)}; \
    CRuntimeClass* class_name::GetRuntimeClass() const { return RUNTIME_CLASS(class_name); }    \
    static const AFX_CLASSINIT _init_##class_name(RUNTIME_CLASS(class_name));

#define IMPLEMENT_DYNAMIC(class_name, base_class_name) \
    IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, 0xFFFF, nullptr)

#define IMPLEMENT_DYNCREATE(class_name, base_class_name)                    \
    CObject* class_name::CreateObject() { return new class_name; }          \
    IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, 0xFFFF, class_name::CreateObject)

class CObject {
public:
    static const CRuntimeClass classCObject;
    virtual CRuntimeClass* GetRuntimeClass() const;
    virtual ~CObject() = default;
    BOOL IsKindOf(const CRuntimeClass* pClass) const;

protected:
    CObject() = default;

private:
    CObject(const CObject&) = delete;
    CObject& operator=(const CObject&) = delete;
};

// ---------------------------------------------------------------------------
// CString: a wide (UTF-16) string; 8-bit text is converted with the ANSI code page.

class CString {
public:
    CString() = default;
    CString(const CString&) = default;
    CString(CString&&) noexcept = default;
    CString(const wchar_t* psz);
    CString(const wchar_t* pch, int nLength);
    CString(const char* psz);  // ANSI code page (936 on the target systems)
    CString(wchar_t ch);

    CString& operator=(const CString&) = default;
    CString& operator=(CString&&) noexcept = default;
    CString& operator=(const wchar_t* psz);

    int GetLength() const { return static_cast<int>(m_str.size()); }
    BOOL IsEmpty() const { return m_str.empty(); }
    void Empty() { m_str.clear(); }
    operator LPCWSTR() const { return m_str.c_str(); }
    LPCWSTR GetString() const { return m_str.c_str(); }
    // Out-of-range positions read as L'\0' rather than past the text.
    wchar_t GetAt(int nIndex) const;

    CString Left(int nCount) const;
    int Delete(int nIndex, int nCount = 1);
    CString& TrimLeft();
    CString& TrimRight();

    CString& operator+=(const CString& s);

    // printf-style with wide semantics: %s is a wide string, %d int, %f/%.2f double.
    void Format(LPCWSTR pszFormat, ...);
    BOOL LoadString(UINT nID);

private:
    std::wstring m_str;
};

CString operator+(const CString& a, const CString& b);
// Exact, embedded L'\0' included.
bool operator==(const CString& a, const CString& b);
bool operator!=(const CString& a, const CString& b);
bool operator==(const CString& a, LPCWSTR b);
bool operator!=(const CString& a, LPCWSTR b);

// ---------------------------------------------------------------------------
// Exceptions: thrown as pointers (throw new ...), released with Delete().

class CException : public CObject {
    DECLARE_DYNAMIC(CException)
public:
    explicit CException(BOOL bAutoDelete = TRUE) : m_bAutoDelete(bAutoDelete) {}
    void Delete();
    virtual BOOL GetErrorMessage(LPWSTR lpszError, UINT nMaxError, PUINT pnHelpContext = nullptr);
    // Shows the error in a message box titled with the application name.
    virtual int ReportError(UINT nType = MB_OK, UINT nMessageID = 0);

    BOOL m_bAutoDelete;
};

class CUserException : public CException {
    DECLARE_DYNAMIC(CUserException)
};

class CMemoryException : public CException {
    DECLARE_DYNAMIC(CMemoryException)
};

class CNotSupportedException : public CException {
    DECLARE_DYNAMIC(CNotSupportedException)
};

[[noreturn]] void AFXAPI AfxThrowUserException();
[[noreturn]] void AFXAPI AfxThrowNotSupportedException();
[[noreturn]] void AFXAPI AfxThrowMemoryException();

// ---------------------------------------------------------------------------
// Simple value types

class CPoint : public POINT {
public:
    CPoint() { x = 0; y = 0; }
    CPoint(int initX, int initY) { x = initX; y = initY; }
    CPoint(POINT pt) { x = pt.x; y = pt.y; }
};

class CSize : public SIZE {
public:
    CSize() { cx = 0; cy = 0; }
    CSize(int initCX, int initCY) { cx = initCX; cy = initCY; }
    CSize(SIZE s) { cx = s.cx; cy = s.cy; }
};

class CRect : public RECT {
public:
    CRect() { left = top = right = bottom = 0; }
    CRect(int l, int t, int r, int b) { left = l; top = t; right = r; bottom = b; }
    CRect(const RECT& rc) { ::CopyRect(this, &rc); }
    CRect(LPCRECT prc) { ::CopyRect(this, prc); }
    CRect(POINT pt, SIZE sz) { left = pt.x; top = pt.y; right = pt.x + sz.cx; bottom = pt.y + sz.cy; }

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    CSize Size() const { return CSize(Width(), Height()); }
    CPoint TopLeft() const { return CPoint(left, top); }
    CPoint BottomRight() const { return CPoint(right, bottom); }
    CPoint CenterPoint() const { return CPoint((left + right) / 2, (top + bottom) / 2); }
    BOOL IsRectEmpty() const { return ::IsRectEmpty(this); }
    BOOL PtInRect(POINT pt) const { return ::PtInRect(this, pt); }
    void SetRect(int l, int t, int r, int b) { ::SetRect(this, l, t, r, b); }
    void OffsetRect(int dx, int dy) { ::OffsetRect(this, dx, dy); }
    void InflateRect(int dx, int dy) { ::InflateRect(this, dx, dy); }
    void DeflateRect(int dx, int dy) { ::InflateRect(this, -dx, -dy); }
    operator LPRECT() { return this; }
    operator LPCRECT() const { return this; }
    BOOL operator==(const RECT& rc) const { return ::EqualRect(this, &rc); }
    BOOL operator!=(const RECT& rc) const { return !::EqualRect(this, &rc); }
};

// ---------------------------------------------------------------------------
// Message maps

using AFX_PMSG = void (CCmdTarget::*)();

enum AfxSig : UINT_PTR {
    AfxSig_end = 0,
    AfxSig_vv,        // void ()
    AfxSig_vwl,       // void (UINT, LPARAM)            OnSysCommand
    AfxSig_hv,        // HCURSOR ()                     OnQueryDragIcon
    AfxSig_hDWw,      // HBRUSH (CDC*, CWnd*, UINT)     OnCtlColor
    AfxSig_vNMHDRpl,  // void (NMHDR*, LRESULT*)        ON_NOTIFY
    AfxSig_vt,        // void (UINT_PTR)                OnTimer
    AfxSig_vwwW,      // void (UINT, UINT, CScrollBar*) OnHScroll/OnVScroll
    AfxSig_lwl,       // LRESULT (WPARAM, LPARAM)       ON_MESSAGE
};

struct AFX_MSGMAP_ENTRY {
    UINT nMessage;  // WM_xxx
    UINT nCode;     // notification code (WM_COMMAND, WM_NOTIFY)
    UINT nID;       // control id, or 0 for window messages
    UINT nLastID;   // last id of a range
    UINT_PTR nSig;  // AfxSig
    AFX_PMSG pfn;
};

struct AFX_MSGMAP {
    const AFX_MSGMAP* (*pfnGetBaseMap)();
    const AFX_MSGMAP_ENTRY* lpEntries;
};

// Turns a handler of any of the signatures above into the map's generic type.
template <class T, class R, class... A>
AFX_PMSG AfxPmsg(R (T::*pfn)(A...))
{
    return reinterpret_cast<AFX_PMSG>(static_cast<R (CCmdTarget::*)(A...)>(pfn));
}

#define DECLARE_MESSAGE_MAP()                              \
protected:                                                 \
    static const AFX_MSGMAP* GetThisMessageMap();          \
    virtual const AFX_MSGMAP* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                          \
    const AFX_MSGMAP* theClass::GetMessageMap() const { return GetThisMessageMap(); }   \
    const AFX_MSGMAP* theClass::GetThisMessageMap()                                     \
    {                                                                                   \
        [[maybe_unused]] typedef theClass ThisClass;                                                   \
        [[maybe_unused]] typedef baseClass TheBaseClass;                                                \
        static const AFX_MSGMAP_ENTRY _messageEntries[] = {

#define END_MESSAGE_MAP()                                                             \
        {0, 0, 0, 0, AfxSig_end, nullptr}};                                           \
        static const AFX_MSGMAP messageMap = {&TheBaseClass::GetThisMessageMap,       \
                                              &_messageEntries[0]};                   \
        return &messageMap;                                                           \
    }

#define AFX_MAP_FN(sig_type, fn) AfxPmsg(static_cast<sig_type>(&ThisClass::fn))

#define ON_COMMAND(id, memberFxn) \
    {WM_COMMAND, 0, (UINT)(id), (UINT)(id), AfxSig_vv, AFX_MAP_FN(void (ThisClass::*)(), memberFxn)},
#define ON_CONTROL(wNotifyCode, id, memberFxn)                              \
    {WM_COMMAND, (UINT)(WORD)(wNotifyCode), (UINT)(id), (UINT)(id), AfxSig_vv, \
     AFX_MAP_FN(void (ThisClass::*)(), memberFxn)},
#define ON_BN_CLICKED(id, memberFxn) ON_CONTROL(BN_CLICKED, id, memberFxn)
#define ON_BN_DOUBLECLICKED(id, memberFxn) ON_CONTROL(BN_DOUBLECLICKED, id, memberFxn)
#define ON_EN_CHANGE(id, memberFxn) ON_CONTROL(EN_CHANGE, id, memberFxn)
#define ON_EN_UPDATE(id, memberFxn) ON_CONTROL(EN_UPDATE, id, memberFxn)
#define ON_EN_SETFOCUS(id, memberFxn) ON_CONTROL(EN_SETFOCUS, id, memberFxn)
#define ON_EN_KILLFOCUS(id, memberFxn) ON_CONTROL(EN_KILLFOCUS, id, memberFxn)
#define ON_STN_CLICKED(id, memberFxn) ON_CONTROL(STN_CLICKED, id, memberFxn)

#define ON_NOTIFY(wNotifyCode, id, memberFxn)                               \
    {WM_NOTIFY, (UINT)(int)(wNotifyCode), (UINT)(id), (UINT)(id), AfxSig_vNMHDRpl, \
     AFX_MAP_FN(void (ThisClass::*)(NMHDR*, LRESULT*), memberFxn)},

#define ON_MESSAGE(message, memberFxn) \
    {(UINT)(message), 0, 0, 0, AfxSig_lwl, AFX_MAP_FN(LRESULT (ThisClass::*)(WPARAM, LPARAM), memberFxn)},

#define ON_WM_SYSCOMMAND() \
    {WM_SYSCOMMAND, 0, 0, 0, AfxSig_vwl, AFX_MAP_FN(void (ThisClass::*)(UINT, LPARAM), OnSysCommand)},
#define ON_WM_PAINT() {WM_PAINT, 0, 0, 0, AfxSig_vv, AFX_MAP_FN(void (ThisClass::*)(), OnPaint)},
#define ON_WM_QUERYDRAGICON() \
    {WM_QUERYDRAGICON, 0, 0, 0, AfxSig_hv, AFX_MAP_FN(HCURSOR (ThisClass::*)(), OnQueryDragIcon)},
#define ON_WM_CTLCOLOR() \
    {WM_CTLCOLOR, 0, 0, 0, AfxSig_hDWw, AFX_MAP_FN(HBRUSH (ThisClass::*)(CDC*, CWnd*, UINT), OnCtlColor)},
#define ON_WM_DESTROY() {WM_DESTROY, 0, 0, 0, AfxSig_vv, AFX_MAP_FN(void (ThisClass::*)(), OnDestroy)},
#define ON_WM_CLOSE() {WM_CLOSE, 0, 0, 0, AfxSig_vv, AFX_MAP_FN(void (ThisClass::*)(), OnClose)},
#define ON_WM_TIMER() {WM_TIMER, 0, 0, 0, AfxSig_vt, AFX_MAP_FN(void (ThisClass::*)(UINT_PTR), OnTimer)},
#define ON_WM_HSCROLL() \
    {WM_HSCROLL, 0, 0, 0, AfxSig_vwwW, AFX_MAP_FN(void (ThisClass::*)(UINT, UINT, CScrollBar*), OnHScroll)},
#define ON_WM_VSCROLL() \
    {WM_VSCROLL, 0, 0, 0, AfxSig_vwwW, AFX_MAP_FN(void (ThisClass::*)(UINT, UINT, CScrollBar*), OnVScroll)},

// ---------------------------------------------------------------------------
// CCmdTarget: the root of everything that has a message map.

class CCmdTarget : public CObject {
    DECLARE_DYNAMIC(CCmdTarget)
public:
    // Runs the WM_COMMAND handler for (nID, nCode) from this object's map; FALSE when none.
    virtual BOOL OnCmdMsg(UINT nID, int nCode);

protected:
    static const AFX_MSGMAP* GetThisMessageMap();
    virtual const AFX_MSGMAP* GetMessageMap() const;

    friend class CWnd;
};

// Finds the entry for (message, code, id) in a map chain, or nullptr.
const AFX_MSGMAP_ENTRY* AFXAPI AfxFindMessageEntry(const AFX_MSGMAP* pMap, UINT nMsg, UINT nCode, UINT nID);

// ---------------------------------------------------------------------------
// GDI and menu wrappers

class CDC : public CObject {
public:
    CDC() = default;
    ~CDC() override = default;
    HDC m_hDC = nullptr;

    // Null-safe: callable on a null pointer, like the other GetSafeXxx.
    HDC GetSafeHdc() const;
    operator HDC() const { return m_hDC; }
    // A framework object for a device context that the framework does not own.
    static CDC* FromHandle(HDC hDC);
    BOOL Attach(HDC hDC);
    HDC Detach();

    BOOL DrawIcon(int x, int y, HICON hIcon) { return ::DrawIcon(m_hDC, x, y, hIcon); }
    BOOL DrawIcon(POINT pt, HICON hIcon) { return ::DrawIcon(m_hDC, pt.x, pt.y, hIcon); }
    COLORREF SetTextColor(COLORREF crColor) { return ::SetTextColor(m_hDC, crColor); }
    COLORREF SetBkColor(COLORREF crColor) { return ::SetBkColor(m_hDC, crColor); }
    int SetBkMode(int nBkMode) { return ::SetBkMode(m_hDC, nBkMode); }
    BOOL TextOut(int x, int y, const CString& str) { return ::TextOutW(m_hDC, x, y, str, str.GetLength()); }
    void FillSolidRect(LPCRECT lpRect, COLORREF clr);
};

class CPaintDC : public CDC {
public:
    explicit CPaintDC(CWnd* pWnd);
    ~CPaintDC() override;
    PAINTSTRUCT m_ps;

protected:
    HWND m_hWnd;
};

class CClientDC : public CDC {
public:
    explicit CClientDC(CWnd* pWnd);
    ~CClientDC() override;

protected:
    HWND m_hWnd;
};

class CMenu : public CObject {
public:
    CMenu() = default;
    ~CMenu() override = default;
    HMENU m_hMenu = nullptr;

    HMENU GetSafeHmenu() const;
    operator HMENU() const { return m_hMenu; }
    static CMenu* FromHandle(HMENU hMenu);
    BOOL Attach(HMENU hMenu);
    HMENU Detach();

    BOOL AppendMenu(UINT nFlags, UINT_PTR nIDNewItem = 0, LPCTSTR lpszNewItem = nullptr);
    UINT GetMenuItemCount() const { return ::GetMenuItemCount(m_hMenu); }
    UINT GetMenuItemID(int nPos) const { return ::GetMenuItemID(m_hMenu, nPos); }
    int GetMenuString(UINT nIDItem, CString& rString, UINT nFlags) const;
    UINT EnableMenuItem(UINT nIDEnableItem, UINT nEnable) { return ::EnableMenuItem(m_hMenu, nIDEnableItem, nEnable); }
};

// ---------------------------------------------------------------------------
// CWnd

class CWnd : public CCmdTarget {
    DECLARE_DYNCREATE(CWnd)
public:
    CWnd();
    explicit CWnd(HWND hWnd);  // a wrapper for a window that the framework does not own
    ~CWnd() override;

    HWND m_hWnd;

    // Null-safe: pWnd->GetSafeHwnd() is nullptr for a null pWnd.
    HWND GetSafeHwnd() const;
    operator HWND() const { return GetSafeHwnd(); }
    BOOL operator==(const CWnd& wnd) const { return m_hWnd == wnd.m_hWnd; }
    BOOL operator!=(const CWnd& wnd) const { return m_hWnd != wnd.m_hWnd; }

    // The framework object of a window: the permanent one bound to it, otherwise a
    // temporary wrapper that the framework owns (do not delete it, do not keep it
    // beyond the handler). nullptr for a null handle.
    static CWnd* FromHandle(HWND hWnd);
    // Only the object bound to the window (created by, attached or subclassed by the framework).
    static CWnd* FromHandlePermanent(HWND hWnd);
    static void DeleteTempMap();

    BOOL Attach(HWND hWndNew);
    HWND Detach();
    // Routes the window's messages through this object (and its message map).
    BOOL SubclassWindow(HWND hWnd);
    BOOL SubclassDlgItem(UINT nID, CWnd* pParent);
    HWND UnsubclassWindow();

    virtual BOOL Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                        CWnd* pParentWnd, UINT nID, CCreateContext* pContext = nullptr);
    virtual BOOL CreateEx(DWORD dwExStyle, LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle,
                          int x, int y, int nWidth, int nHeight, HWND hWndParent, HMENU nIDorHMenu,
                          LPVOID lpParam = nullptr);
    virtual BOOL DestroyWindow();

    // Hosting of the in-process controls (see AfxRegisterHostedControl in <afxdisp.h>).
    BOOL CreateControl(REFCLSID clsid, LPCTSTR pszWindowName, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd,
                       UINT nID, CFile* pPersist = nullptr, BOOL bStorage = FALSE, BSTR bstrLicKey = nullptr);
    // Calls the control's IDispatch::Invoke. Parameters follow pbParamInfo (VTS_BSTR,
    // VTS_VARIANT); pvRet receives a vtRet value (VT_I4: long*). Throws
    // COleDispatchException* or COleException* on failure.
    void AFX_CDECL InvokeHelper(DISPID dwDispID, WORD wFlags, VARTYPE vtRet, void* pvRet,
                                const BYTE* pbParamInfo, ...);

    // Window state and geometry
    CWnd* GetDlgItem(int nID) const;
    int GetDlgCtrlID() const { return ::GetDlgCtrlID(m_hWnd); }
    int SetDlgCtrlID(int nID) { return static_cast<int>(::SetWindowLongPtrW(m_hWnd, GWLP_ID, nID)); }
    CWnd* GetParent() const;
    CWnd* SetParent(CWnd* pWndNewParent);
    CWnd* GetTopLevelParent() const;
    CWnd* GetOwner() const;
    BOOL ShowWindow(int nCmdShow) { return ::ShowWindow(m_hWnd, nCmdShow); }
    BOOL IsWindowVisible() const { return ::IsWindowVisible(m_hWnd); }
    BOOL EnableWindow(BOOL bEnable = TRUE) { return ::EnableWindow(m_hWnd, bEnable); }
    BOOL IsWindowEnabled() const { return ::IsWindowEnabled(m_hWnd); }
    BOOL IsIconic() const { return ::IsIconic(m_hWnd); }
    BOOL IsZoomed() const { return ::IsZoomed(m_hWnd); }
    BOOL IsWindow() const { return ::IsWindow(m_hWnd); }
    void MoveWindow(int x, int y, int nWidth, int nHeight, BOOL bRepaint = TRUE);
    void MoveWindow(LPCRECT lpRect, BOOL bRepaint = TRUE);
    BOOL SetWindowPos(const CWnd* pWndInsertAfter, int x, int y, int cx, int cy, UINT nFlags);
    void GetClientRect(LPRECT lpRect) const { ::GetClientRect(m_hWnd, lpRect); }
    void GetWindowRect(LPRECT lpRect) const { ::GetWindowRect(m_hWnd, lpRect); }
    void ClientToScreen(LPRECT lpRect) const;
    void ClientToScreen(LPPOINT lpPoint) const { ::ClientToScreen(m_hWnd, lpPoint); }
    void ScreenToClient(LPRECT lpRect) const;
    void ScreenToClient(LPPOINT lpPoint) const { ::ScreenToClient(m_hWnd, lpPoint); }
    DWORD GetStyle() const { return static_cast<DWORD>(::GetWindowLongPtrW(m_hWnd, GWL_STYLE)); }
    DWORD GetExStyle() const { return static_cast<DWORD>(::GetWindowLongPtrW(m_hWnd, GWL_EXSTYLE)); }
    BOOL ModifyStyle(DWORD dwRemove, DWORD dwAdd, UINT nFlags = 0);

    // Text
    void SetWindowText(LPCTSTR lpszString) { ::SetWindowTextW(m_hWnd, lpszString); }
    int GetWindowText(LPTSTR lpszStringBuf, int nMaxCount) const { return ::GetWindowTextW(m_hWnd, lpszStringBuf, nMaxCount); }
    void GetWindowText(CString& rString) const;
    int GetWindowTextLength() const { return ::GetWindowTextLengthW(m_hWnd); }
    void SetDlgItemText(int nID, LPCTSTR lpszString) { ::SetDlgItemTextW(m_hWnd, nID, lpszString); }
    int GetDlgItemText(int nID, CString& rString) const;
    void SetDlgItemInt(int nID, UINT nValue, BOOL bSigned = TRUE) { ::SetDlgItemInt(m_hWnd, nID, nValue, bSigned); }
    UINT GetDlgItemInt(int nID, BOOL* lpTrans = nullptr, BOOL bSigned = TRUE) const { return ::GetDlgItemInt(m_hWnd, nID, lpTrans, bSigned); }
    void SetFont(HFONT hFont, BOOL bRedraw = TRUE) { ::SendMessageW(m_hWnd, WM_SETFONT, (WPARAM)hFont, bRedraw); }

    // Focus, painting, messages
    CWnd* SetFocus();
    static CWnd* GetFocus();
    static CWnd* GetActiveWindow();
    CWnd* SetActiveWindow();
    BOOL SetForegroundWindow() { return ::SetForegroundWindow(m_hWnd); }
    void Invalidate(BOOL bErase = TRUE) { ::InvalidateRect(m_hWnd, nullptr, bErase); }
    void InvalidateRect(LPCRECT lpRect, BOOL bErase = TRUE) { ::InvalidateRect(m_hWnd, lpRect, bErase); }
    void UpdateWindow() { ::UpdateWindow(m_hWnd); }
    BOOL RedrawWindow(LPCRECT lpRectUpdate = nullptr, HRGN hrgn = nullptr,
                      UINT flags = RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE)
    {
        return ::RedrawWindow(m_hWnd, lpRectUpdate, hrgn, flags);
    }
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const { return ::SendMessageW(m_hWnd, message, wParam, lParam); }
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const { return ::PostMessageW(m_hWnd, message, wParam, lParam); }
    LRESULT SendDlgItemMessage(int nID, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const
    {
        return ::SendDlgItemMessageW(m_hWnd, nID, message, wParam, lParam);
    }
    UINT_PTR SetTimer(UINT_PTR nIDEvent, UINT nElapse, void(CALLBACK* lpfnTimer)(HWND, UINT, UINT_PTR, DWORD) = nullptr)
    {
        return ::SetTimer(m_hWnd, nIDEvent, nElapse, lpfnTimer);
    }
    BOOL KillTimer(UINT_PTR nIDEvent) { return ::KillTimer(m_hWnd, nIDEvent); }

    CMenu* GetSystemMenu(BOOL bRevert) const;
    CMenu* GetMenu() const;
    HICON SetIcon(HICON hIcon, BOOL bBigIcon);
    HICON GetIcon(BOOL bBigIcon) const;
    // Marks the window for the framework's tooltips. Tool texts come from
    // CToolTipCtrl tools; nothing is shown for windows without one.
    BOOL EnableToolTips(BOOL bEnable = TRUE);

    // A message box owned by this window; the caption defaults to the application name.
    int MessageBox(LPCTSTR lpszText, LPCTSTR lpszCaption = nullptr, UINT nType = MB_OK);
    BOOL CheckDlgButton(int nIDButton, UINT nCheck) { return ::CheckDlgButton(m_hWnd, nIDButton, nCheck); }
    UINT IsDlgButtonChecked(int nIDButton) const { return ::IsDlgButtonChecked(m_hWnd, nIDButton); }

    // Data exchange: runs DoDataExchange; FALSE when a validation failed (already reported).
    BOOL UpdateData(BOOL bSaveAndValidate = TRUE);
    virtual void DoDataExchange(CDataExchange* pDX);

    virtual BOOL PreTranslateMessage(MSG* pMsg);
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    virtual BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual void PostNcDestroy();

    // The default processing of the message being handled now.
    LRESULT Default();

    // Walks from pMsg->hwnd up through the parents, offering the message to the
    // PreTranslateMessage of every window that has a framework object; stops
    // after hWndStop. TRUE when one of them took it.
    static BOOL WalkPreTranslateTree(HWND hWndStop, MSG* pMsg);

    // Default handlers, callable from derived classes
    afx_msg void OnPaint();
    afx_msg void OnSysCommand(UINT nID, LPARAM lParam);
    afx_msg void OnClose();
    afx_msg void OnDestroy();
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    afx_msg void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    afx_msg HCURSOR OnQueryDragIcon();

protected:
    BOOL PreTranslateInput(LPMSG lpMsg);
    BOOL IsDialogMessage(LPMSG lpMsg) { return ::IsDialogMessageW(m_hWnd, lpMsg); }

    WNDPROC m_pfnSuper = nullptr;  // the window's own procedure when subclassed
    BOOL m_bToolTips = FALSE;

    static const AFX_MSGMAP* GetThisMessageMap();
    const AFX_MSGMAP* GetMessageMap() const override;

    friend LRESULT CALLBACK AfxWndProc(HWND, UINT, WPARAM, LPARAM);
    friend LRESULT AFXAPI AfxCallWndProc(CWnd*, HWND, UINT, WPARAM, LPARAM);
    friend class CDialog;
};

// Window procedure of windows subclassed by the framework.
LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam);
// Delivers one message to a framework window (saves the current message for
// Default(), reports exceptions that escape the handler).
LRESULT AFXAPI AfxCallWndProc(CWnd* pWnd, HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam);
// The framework's pre-translation of one message from a message loop: the walk of
// WalkPreTranslateTree up to the main window (or to the top when there is none).
BOOL AFXAPI AfxPreTranslateMessage(MSG* pMsg);

class CScrollBar : public CWnd {
    DECLARE_DYNAMIC(CScrollBar)
public:
    int GetScrollPos() const { return ::GetScrollPos(m_hWnd, SB_CTL); }
    int SetScrollPos(int nPos, BOOL bRedraw = TRUE) { return ::SetScrollPos(m_hWnd, SB_CTL, nPos, bRedraw); }
};

class CStatic : public CWnd {
    DECLARE_DYNAMIC(CStatic)
};

class CButton : public CWnd {
    DECLARE_DYNAMIC(CButton)
public:
    int GetCheck() const { return static_cast<int>(::SendMessageW(m_hWnd, BM_GETCHECK, 0, 0)); }
    void SetCheck(int nCheck) { ::SendMessageW(m_hWnd, BM_SETCHECK, nCheck, 0); }
};

class CEdit : public CWnd {
    DECLARE_DYNAMIC(CEdit)
public:
    void SetLimitText(UINT nMax) { ::SendMessageW(m_hWnd, EM_LIMITTEXT, nMax, 0); }
    UINT GetLimitText() const { return static_cast<UINT>(::SendMessageW(m_hWnd, EM_GETLIMITTEXT, 0, 0)); }
    void SetSel(int nStartChar, int nEndChar, BOOL bNoScroll = FALSE);
    void ReplaceSel(LPCTSTR lpszNewText, BOOL bCanUndo = FALSE)
    {
        ::SendMessageW(m_hWnd, EM_REPLACESEL, bCanUndo, (LPARAM)lpszNewText);
    }
};

// ---------------------------------------------------------------------------
// Data exchange

class CDataExchange {
public:
    CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate);

    BOOL m_bSaveAndValidate;  // TRUE: controls -> members; FALSE: members -> controls
    CWnd* m_pDlgWnd;
    HWND m_hWndLastControl = nullptr;
    BOOL m_bEditLastControl = FALSE;

    HWND PrepareCtrl(int nIDC);      // the control, remembered as the last one exchanged
    HWND PrepareEditCtrl(int nIDC);  // the same, marked as an edit control
    // Ends the exchange as failed: focus goes back to the last control when saving.
    [[noreturn]] void Fail();
};

void AFXAPI DDX_Text(CDataExchange* pDX, int nIDC, CString& value);
void AFXAPI DDX_Text(CDataExchange* pDX, int nIDC, int& value);
void AFXAPI DDX_Text(CDataExchange* pDX, int nIDC, UINT& value);
void AFXAPI DDX_Text(CDataExchange* pDX, int nIDC, long& value);
void AFXAPI DDX_Text(CDataExchange* pDX, int nIDC, double& value);
void AFXAPI DDX_Check(CDataExchange* pDX, int nIDC, int& value);
// Binds rControl to the dialog's control nIDC the first time (the control's
// messages then pass through rControl's message map).
void AFXAPI DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl);
// Saving: a longer text is reported and fails the exchange. Loading: limits the
// edit control exchanged last to nChars characters.
void AFXAPI DDV_MaxChars(CDataExchange* pDX, CString const& value, int nChars);
void AFXAPI DDV_MinMaxInt(CDataExchange* pDX, int value, int minVal, int maxVal);

// ---------------------------------------------------------------------------
// CDialog

class CDialog : public CWnd {
    DECLARE_DYNAMIC(CDialog)
public:
    CDialog();
    explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
    explicit CDialog(LPCTSTR lpszTemplateName, CWnd* pParentWnd = nullptr);
    ~CDialog() override;

    // Modeless: creates the dialog from its template as a child or owned window of pParentWnd.
    virtual BOOL Create(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
    virtual BOOL Create(LPCTSTR lpszTemplateName, CWnd* pParentWnd = nullptr);
    using CWnd::Create;

    // Modal: runs the framework's modal loop until EndDialog; returns its result,
    // -1 when the dialog could not be created or the loop ended by WM_QUIT.
    virtual INT_PTR DoModal();
    void EndDialog(int nResult);
    void NextDlgCtrl() const { ::SendMessageW(m_hWnd, WM_NEXTDLGCTL, 0, 0); }
    void PrevDlgCtrl() const { ::SendMessageW(m_hWnd, WM_NEXTDLGCTL, 1, 0); }
    void GotoDlgCtrl(CWnd* pWndCtrl);
    void SetDefID(UINT nID) { ::SendMessageW(m_hWnd, DM_SETDEFID, nID, 0); }
    DWORD GetDefID() const { return static_cast<DWORD>(::SendMessageW(m_hWnd, DM_GETDEFID, 0, 0)); }

    virtual BOOL OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();

    BOOL PreTranslateMessage(MSG* pMsg) override;
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL OnCmdMsg(UINT nID, int nCode) override;

protected:
    LPCTSTR m_lpszTemplateName;
    UINT m_nIDHelp = 0;
    CWnd* m_pParentWnd;
    int m_nModalResult = -1;
    BOOL m_bInModalLoop = FALSE;    // this dialog's own loop is running
    BOOL m_bContinueModal = FALSE;  // cleared by EndDialog
    // Set by Default(): the next call of the dialog procedure for this message is
    // the dialog manager asking before its own default processing.
    const MSG* m_pDefaultPending = nullptr;

    BOOL CreateFromTemplate(LPCTSTR lpszTemplateName, HWND hWndParent);
    INT_PTR RunModalLoop();
    afx_msg LRESULT HandleInitDialog(WPARAM, LPARAM);

    static const AFX_MSGMAP* GetThisMessageMap();
    const AFX_MSGMAP* GetMessageMap() const override;

    friend INT_PTR CALLBACK AfxDlgProc(HWND, UINT, WPARAM, LPARAM);
};

INT_PTR CALLBACK AfxDlgProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam);

// ---------------------------------------------------------------------------
// Application

class CWinThread : public CCmdTarget {
    DECLARE_DYNAMIC(CWinThread)
public:
    CWinThread();
    CWnd* m_pMainWnd = nullptr;

    virtual BOOL InitInstance();
    virtual int Run();  // the message loop; returns the WM_QUIT exit code
    virtual int ExitInstance();
    virtual BOOL PreTranslateMessage(MSG* pMsg);
    virtual BOOL OnIdle(LONG lCount);
    BOOL PumpMessage();

    MSG m_msgCur{};
    BOOL m_bInRun = FALSE;  // Run's loop is active: the main window's end posts WM_QUIT
};

class CWinApp : public CWinThread {
    DECLARE_DYNAMIC(CWinApp)
public:
    // No name: the application name is the executable file's name without extension.
    explicit CWinApp(LPCTSTR lpszAppName = nullptr);
    ~CWinApp() override;

    HINSTANCE m_hInstance;
    LPCTSTR m_pszAppName;
    LPCTSTR m_pszExeName;
    LPTSTR m_lpCmdLine = nullptr;
    int m_nCmdShow = SW_SHOWNORMAL;

    virtual BOOL InitApplication();
    BOOL InitInstance() override;
    int ExitInstance() override;
    // Message box titled with the application name, owned as AfxMessageBox says.
    virtual int DoMessageBox(LPCTSTR lpszPrompt, UINT nType, UINT nIDPrompt);

    HICON LoadIcon(UINT nIDResource) const;
    HICON LoadIcon(LPCTSTR lpszResourceName) const;
    HICON LoadStandardIcon(LPCTSTR lpszIconName) const;
    HCURSOR LoadCursor(UINT nIDResource) const;
    HCURSOR LoadStandardCursor(LPCTSTR lpszCursorName) const;
    // The look comes from the system on every supported Windows; kept for callers.
    BOOL Enable3dControls() { return TRUE; }
    BOOL Enable3dControlsStatic() { return TRUE; }
    afx_msg void OnHelp();

protected:
    static const AFX_MSGMAP* GetThisMessageMap();
    const AFX_MSGMAP* GetMessageMap() const override;

private:
    CString m_strAppName;
    CString m_strExeName;
};

CWinApp* AFXAPI AfxGetApp();
CWnd* AFXAPI AfxGetMainWnd();
HINSTANCE AFXAPI AfxGetInstanceHandle();
HINSTANCE AFXAPI AfxGetResourceHandle();
void AFXAPI AfxSetResourceHandle(HINSTANCE hInstResource);
LPCTSTR AFXAPI AfxGetAppName();
// The entry point's work: initialise, InitInstance, then Run when it returned TRUE.
int AFXAPI AfxWinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nCmdShow);

// Message box titled with the application name (the exe's file name without its
// extension unless the application object was given a name). Owner: the main
// window's last active popup, or the thread's enabled active window when there
// is no main window.
int AFXAPI AfxMessageBox(LPCTSTR lpszText, UINT nType = MB_OK, UINT nIDHelp = 0);
int AFXAPI AfxMessageBox(UINT nIDPrompt, UINT nType = MB_OK, UINT nIDHelp = (UINT)-1);
