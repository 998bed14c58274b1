// Hosting of our in-process controls: CLSID -> window class, registration,
// and CreateControl.
#include <afxdisp.h>

#include <vector>

namespace {

struct HostedControl {
    CLSID clsid;
    std::wstring className;
    void (*registerClass)(HINSTANCE);
    bool registered;
};

std::vector<HostedControl>& Controls()
{
    static std::vector<HostedControl> controls;
    return controls;
}

HostedControl* Find(REFCLSID clsid)
{
    for (HostedControl& c : Controls())
        if (::IsEqualCLSID(c.clsid, clsid))
            return &c;
    return nullptr;
}

void EnsureRegistered(HostedControl& c)
{
    if (!c.registered && c.registerClass) {
        c.registerClass(AfxGetInstanceHandle());
        c.registered = true;
    }
}

}  // namespace

void AfxRegisterHostedControl(REFCLSID clsid, LPCWSTR className, void (*registerClass)(HINSTANCE))
{
    Controls().push_back({clsid, className, registerClass, false});
}

void AfxEnableControlContainer()
{
    for (HostedControl& c : Controls())
        EnsureRegistered(c);
}

BOOL CWnd::CreateControl(REFCLSID clsid, LPCTSTR pszWindowName, DWORD dwStyle, const RECT& rect,
                         CWnd* pParentWnd, UINT nID, CFile*, BOOL, BSTR)
{
    HostedControl* c = Find(clsid);
    if (!c)
        return FALSE;  // not a control of ours: nothing can create it
    EnsureRegistered(*c);
    if (pParentWnd)
        dwStyle |= WS_CHILD;
    return CreateEx(0, c->className.c_str(), pszWindowName, dwStyle, rect.left, rect.top,
                    rect.right - rect.left, rect.bottom - rect.top, pParentWnd->GetSafeHwnd(),
                    reinterpret_cast<HMENU>(static_cast<UINT_PTR>(nID)));
}
