#include "ComBase.h"

namespace ado::detail {

HRESULT Fail(HRESULT hr, REFIID iid, const wchar_t* source, const std::wstring& description)
{
    ICreateErrorInfo* pCreate = nullptr;
    if (SUCCEEDED(CreateErrorInfo(&pCreate))) {
        pCreate->SetGUID(iid);
        pCreate->SetSource(const_cast<LPOLESTR>(source));
        pCreate->SetDescription(const_cast<LPOLESTR>(description.c_str()));
        IErrorInfo* pInfo = nullptr;
        if (SUCCEEDED(pCreate->QueryInterface(IID_IErrorInfo, reinterpret_cast<void**>(&pInfo)))) {
            SetErrorInfo(0, pInfo);
            pInfo->Release();
        }
        pCreate->Release();
    }
    return hr;
}

HRESULT NotAvailable(REFIID iid, const wchar_t* source, const wchar_t* member)
{
    return Fail(AdoHResult(adErrFeatureNotAvailable), iid, source,
                std::wstring(source) + L"." + member + L" 在此不可用：只支持只读查询。");
}

bool IsOneOf(REFIID riid, std::initializer_list<const IID*> iids)
{
    for (const IID* iid : iids)
        if (IsEqualIID(riid, *iid))
            return true;
    return false;
}

std::wstring Utf8ToWide(const char* utf8)
{
    if (!utf8 || !*utf8)
        return std::wstring();
    const int n = MultiByteToWideChar(CP_UTF8, 0, utf8, -1, nullptr, 0);
    std::wstring wide(n > 0 ? n - 1 : 0, L'\0');
    if (n > 1)
        MultiByteToWideChar(CP_UTF8, 0, utf8, -1, wide.data(), n);
    return wide;
}

std::string WideToUtf8(const std::wstring& wide)
{
    if (wide.empty())
        return std::string();
    const int n = WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), static_cast<int>(wide.size()), nullptr, 0,
                                      nullptr, nullptr);
    std::string utf8(n > 0 ? n : 0, '\0');
    if (n > 0)
        WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), static_cast<int>(wide.size()), utf8.data(), n, nullptr,
                            nullptr);
    return utf8;
}

}  // namespace ado::detail
