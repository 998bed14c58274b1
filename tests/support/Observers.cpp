#include "support/Observers.h"

#include <commctrl.h>
#include <oleauto.h>

#include <hosting/HostedControl.h>

#include "app/PronounceDlg.h"

namespace {

constexpr DISPID kDispUrl = 1;
constexpr DISPID kDispPlayState = 10;
constexpr UINT_PTR kSubclassId = 0x5259;  // "RY"

// Forwards every call to the player's own IDispatch and tells the spy about the
// two members the walk uses.
class ForwardingDispatch final : public IDispatch {
public:
    ForwardingDispatch(IDispatch* inner, PlayerSpy* spy) : m_inner(inner), m_spy(spy) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override
    {
        if (!ppv)
            return E_POINTER;
        if (riid == IID_IUnknown || riid == IID_IDispatch) {
            *ppv = static_cast<IDispatch*>(this);
            AddRef();
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++m_refs; }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const ULONG refs = --m_refs;
        if (refs == 0) {
            m_inner->Release();
            delete this;
        }
        return refs;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* pctinfo) override { return m_inner->GetTypeInfoCount(pctinfo); }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT i, LCID lcid, ITypeInfo** ppti) override
    {
        return m_inner->GetTypeInfo(i, lcid, ppti);
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT n, LCID lcid, DISPID* ids) override
    {
        return m_inner->GetIDsOfNames(riid, names, n, lcid, ids);
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID riid, LCID lcid, WORD flags, DISPPARAMS* params,
                                     VARIANT* result, EXCEPINFO* excep, UINT* argErr) override
    {
        if (id == kDispPlayState && m_spy->failStateReads)
            return E_FAIL;
        const HRESULT hr = m_inner->Invoke(id, riid, lcid, flags, params, result, excep, argErr);
        if (SUCCEEDED(hr) && id == kDispUrl && (flags & DISPATCH_PROPERTYPUT) && params && params->cArgs == 1 &&
            V_VT(&params->rgvarg[0]) == VT_BSTR)
            m_spy->Started(V_BSTR(&params->rgvarg[0]), m_inner);
        if (id == kDispPlayState && (flags & DISPATCH_PROPERTYGET))
            m_spy->StateRead();
        return hr;
    }

private:
    ULONG m_refs = 1;
    IDispatch* m_inner;
    PlayerSpy* m_spy;
};

long ReadPlayState(IDispatch* player)
{
    DISPPARAMS none{};
    VARIANT v;
    VariantInit(&v);
    if (FAILED(player->Invoke(kDispPlayState, IID_NULL, 0, DISPATCH_PROPERTYGET, &none, &v, nullptr, nullptr)))
        return 0;
    const long state = V_VT(&v) == VT_I4 ? V_I4(&v) : 0;
    VariantClear(&v);
    return state;
}

WindowWatch* g_watch = nullptr;

}  // namespace

PlayerSpy::~PlayerSpy()
{
    if (m_hPlayer && ::IsWindow(m_hPlayer))
        RemoveWindowSubclass(m_hPlayer, Proc, kSubclassId);
}

void PlayerSpy::Attach(CPronounceDlg& dlg)
{
    m_hPlayer = ::GetDlgItem(dlg.m_hWnd, IDC_PLAYER);
    m_hLookup = ::GetDlgItem(dlg.m_hWnd, IDC_LOOKUP);
    SetWindowSubclass(m_hPlayer, Proc, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
}

std::vector<std::wstring> PlayerSpy::Urls() const
{
    std::vector<std::wstring> urls;
    for (const Start& s : m_starts)
        urls.push_back(s.url);
    return urls;
}

void PlayerSpy::Started(const std::wstring& url, IDispatch* player)
{
    Start start;
    start.url = url;
    start.playing = ReadPlayState(player) != 1;
    start.lookupEnabled = ::IsWindowEnabled(m_hLookup) != FALSE;
    start.tick = GetTickCount();
    m_starts.push_back(start);
    if (onStart)
        onStart(m_starts.back());
}

LRESULT CALLBACK PlayerSpy::Proc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data)
{
    if (msg == hosting::GetDispatchMessageId()) {
        auto* inner = reinterpret_cast<IDispatch*>(DefSubclassProc(hWnd, msg, wParam, lParam));
        if (!inner)
            return 0;
        return reinterpret_cast<LRESULT>(
            static_cast<IDispatch*>(new ForwardingDispatch(inner, reinterpret_cast<PlayerSpy*>(data))));
    }
    if (msg == WM_NCDESTROY)
        RemoveWindowSubclass(hWnd, Proc, kSubclassId);
    return DefSubclassProc(hWnd, msg, wParam, lParam);
}

WindowWatch::~WindowWatch()
{
    if (m_hook)
        UnhookWindowsHookEx(m_hook);
    if (g_watch == this)
        g_watch = nullptr;
}

void WindowWatch::Attach(CPronounceDlg& dlg)
{
    m_hDlg = dlg.m_hWnd;
    m_hLabel = ::GetDlgItem(m_hDlg, IDC_PHONETIC);
    g_watch = this;
    m_hook = SetWindowsHookExW(WH_CALLWNDPROC, Hook, nullptr, GetCurrentThreadId());
}

LRESULT CALLBACK WindowWatch::Hook(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HC_ACTION && g_watch) {
        const auto* cwp = reinterpret_cast<const CWPSTRUCT*>(lParam);
        if (cwp->hwnd == g_watch->m_hLabel && cwp->message == WM_SETTEXT && cwp->lParam)
            g_watch->m_labels.emplace_back(reinterpret_cast<const wchar_t*>(cwp->lParam));
        if (cwp->hwnd == g_watch->m_hDlg && cwp->message == WM_COMMAND && LOWORD(cwp->wParam) == IDC_LOOKUP &&
            HIWORD(cwp->wParam) == BN_CLICKED)
            ++g_watch->m_lookupCommands;
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}
