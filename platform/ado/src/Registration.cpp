// Class objects for ADODB.Connection and ADODB.Recordset, registered with COM at
// run time: the objects live in the program itself, and a class object registered
// by the process is found by CoGetClassObject/CoCreateInstance (in-process
// contexts) before any server the registry names.
#include "Connection.h"
#include "Recordset.h"

namespace ado {
namespace {

using CreateFunction = HRESULT (*)(REFIID, void**);

class ClassFactory final : public IClassFactory {
public:
    constexpr explicit ClassFactory(CreateFunction create) : m_create(create) {}

    HRESULT __stdcall QueryInterface(REFIID riid, void** ppv) override
    {
        if (!ppv)
            return E_POINTER;
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IClassFactory)) {
            *ppv = static_cast<IClassFactory*>(this);
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    // A static object: COM's references do not decide its life.
    ULONG __stdcall AddRef() override { return 2; }
    ULONG __stdcall Release() override { return 1; }

    HRESULT __stdcall CreateInstance(IUnknown* outer, REFIID riid, void** ppv) override
    {
        if (!ppv)
            return E_POINTER;
        *ppv = nullptr;
        if (outer)
            return CLASS_E_NOAGGREGATION;
        return m_create(riid, ppv);
    }
    HRESULT __stdcall LockServer(BOOL) override { return S_OK; }

private:
    CreateFunction m_create;
};

// Constant-initialised, so usable from static constructors of any priority.
ClassFactory g_connectionFactory(&detail::ConnectionObject::Create);
ClassFactory g_recordsetFactory(&detail::RecordsetObject::Create);
DWORD g_connectionCookie = 0;
DWORD g_recordsetCookie = 0;

// Registrations end with their apartment (the last CoUninitialize), and then the
// registry's ADO would answer instead: check that ours is still the one found.
bool StillRegistered()
{
    if (!g_connectionCookie || !g_recordsetCookie)
        return false;
    IClassFactory* pFactory = nullptr;
    if (FAILED(CoGetClassObject(__uuidof(Connection), CLSCTX_INPROC_SERVER, nullptr, IID_IClassFactory,
                                reinterpret_cast<void**>(&pFactory))))
        return false;
    const bool ours = pFactory == &g_connectionFactory;
    pFactory->Release();
    return ours;
}

}  // namespace

HRESULT RegisterClassObjects()
{
    if (StillRegistered())
        return S_OK;
    g_connectionCookie = g_recordsetCookie = 0;   // stale: COM has dropped them
    HRESULT hr = CoRegisterClassObject(__uuidof(Connection), &g_connectionFactory, CLSCTX_INPROC_SERVER,
                                       REGCLS_MULTIPLEUSE, &g_connectionCookie);
    if (SUCCEEDED(hr))
        hr = CoRegisterClassObject(__uuidof(Recordset), &g_recordsetFactory, CLSCTX_INPROC_SERVER,
                                   REGCLS_MULTIPLEUSE, &g_recordsetCookie);
    if (FAILED(hr))
        RevokeClassObjects();
    return hr;
}

void RevokeClassObjects()
{
    if (g_connectionCookie)
        CoRevokeClassObject(g_connectionCookie);
    if (g_recordsetCookie)
        CoRevokeClassObject(g_recordsetCookie);
    g_connectionCookie = g_recordsetCookie = 0;
}

}  // namespace ado
