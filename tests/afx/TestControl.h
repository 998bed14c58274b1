// A small hosted control for the framework's tests: a control window of ours
// whose IDispatch logs every call exactly as the host made it.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <string>
#include <vector>

namespace testctl {

inline constexpr wchar_t kClassName[] = L"AfxTestCtl";
// {A4B1C2D3-0E0F-4A5B-8C9D-0123456789AB}
inline constexpr CLSID kClsid = {0xA4B1C2D3, 0x0E0F, 0x4A5B, {0x8C, 0x9D, 0x01, 0x23, 0x45, 0x67, 0x89, 0xAB}};

// Members:
//   1  Text   put BSTR -> records it
//   10 State  get I4, always 1
//   37 Load   method (BSTR, VARIANT) -> records both
//   99 Fail   method -> DISP_E_EXCEPTION, description kFailure, scode E_ACCESSDENIED
inline constexpr wchar_t kFailure[] = L"控件出错了";

struct Call {
    DISPID id;
    WORD flags;
    UINT args;
    UINT namedArgs;
    DISPID firstNamed;
};

struct Log {
    std::vector<Call> calls;
    std::wstring text;
    std::wstring loadedPath;
    VARIANT loadedType{};
};
Log& TheLog();
void ResetLog();

void RegisterWindowClass(HINSTANCE instance);

}  // namespace testctl
