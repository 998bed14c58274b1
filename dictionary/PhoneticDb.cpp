#include "dictionary/PhoneticDb.h"

#include <afxwin.h>

namespace {

// Kept as 8-bit text: it becomes UTF-16 through the ANSI code page when used.
const char kConnectionString[] =
    "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=C:\\WINDOWS\\system32\\abc.mp3;Persist Security Info=False";

// The class context that also allows a local server; such an object must be run
// (OleRun) before it is asked for its interface.
const DWORD kAnyServer = CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER | CLSCTX_LOCAL_SERVER;

// Creates an ADO object as IUnknown, runs it and asks it for iid. Whatever fails
// leaves *ppv null; the caller finds out when it needs the object.
void CreateAdoObject(REFCLSID clsid, REFIID iid, void** ppv)
{
    IUnknown* pUnknown = nullptr;
    if (FAILED(CoCreateInstance(clsid, nullptr, kAnyServer, IID_IUnknown, reinterpret_cast<void**>(&pUnknown))))
        return;
    if (SUCCEEDED(OleRun(pUnknown)))
        pUnknown->QueryInterface(iid, ppv);
    pUnknown->Release();
}

// The error's description in a box; errors raised here carry none (empty box).
void ShowError(const _com_error& e)
{
    const _bstr_t description = e.Description();
    const wchar_t* text = description;
    AfxMessageBox(text ? text : L"", MB_OK, 0);
}

}  // namespace

CPhoneticDb::CPhoneticDb() : m_pConnection(nullptr), m_pRecordset(nullptr)
{
    Connect();
}

CPhoneticDb::~CPhoneticDb()
{
    if (m_pRecordset)
        m_pRecordset.Release();
    if (m_pConnection)
        m_pConnection.Release();
}

void CPhoneticDb::Connect()
{
    CoInitialize(nullptr);
    // The ADO objects are part of this program: COM must find them before any
    // ADO the registry names. Registering again is harmless.
    ado::RegisterClassObjects();
    try {
        CLSID clsid;
        if (FAILED(CLSIDFromProgID(L"ADODB.Connection", &clsid)))
            clsid = __uuidof(Connection);   // no ADO registered on this system: ours still is
        _Connection* pConnection = nullptr;
        CreateAdoObject(clsid, __uuidof(_Connection), reinterpret_cast<void**>(&pConnection));
        if (pConnection)
            m_pConnection.Attach(pConnection);

        const _bstr_t bstrConnect(kConnectionString);   // raises E_OUTOFMEMORY itself
        if (!m_pConnection)
            _com_issue_error(E_POINTER);
        m_pConnection->PutCursorLocation(adUseClient);
        m_pConnection->Open(bstrConnect, L"", L"", 0);
    } catch (const _com_error& e) {
        ShowError(e);
    }
}

_RecordsetPtr& CPhoneticDb::OpenRecordset(BSTR bstrSQL)
{
    try {
        if (!m_pConnection)
            Connect();
        if (m_pRecordset)
            m_pRecordset.Release();
        _Recordset* pRecordset = nullptr;
        CreateAdoObject(__uuidof(Recordset), __uuidof(_Recordset), reinterpret_cast<void**>(&pRecordset));
        if (pRecordset)
            m_pRecordset.Attach(pRecordset);

        const _variant_t vSource(bstrSQL);   // raises E_OUTOFMEMORY itself
        const _variant_t vConnection(static_cast<IDispatch*>(m_pConnection.GetInterfacePtr()), true);
        if (!m_pRecordset)
            _com_issue_error(E_POINTER);
        m_pRecordset->Open(vSource, vConnection, adOpenDynamic, adLockOptimistic, adCmdText);

        // Every look-up reads columns 1 and 2: without them each one would fail,
        // so the table is refused here, once, and the look-ups find nothing.
        const long nColumns = m_pRecordset->GetFields()->GetCount();
        if (nColumns < 3) {
            m_pRecordset->Close();
            CString strMessage;
            strMessage.Format(L"词典数据不可用：数据表只有 %d 列，而查字要用第 1 列（字）和第 2 列（音标）。",
                              static_cast<int>(nColumns));
            AfxMessageBox(strMessage, MB_OK, 0);
        }
    } catch (const _com_error& e) {
        ShowError(e);
    }
    return m_pRecordset;
}
