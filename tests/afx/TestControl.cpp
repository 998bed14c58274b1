#include "TestControl.h"

#include <hosting/ControlWindow.h>

#include <oleauto.h>

namespace testctl {

Log& TheLog()
{
    static Log log;
    return log;
}

void ResetLog()
{
    ::VariantClear(&TheLog().loadedType);
    TheLog() = Log{};
}

namespace {

// Takes every call itself, before the base's checks, to log it as it came.
class LoggingDispatch final : public hosting::ControlDispatch {
public:
    LoggingDispatch() : ControlDispatch({}) {}

    STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* p, VARIANT* result, EXCEPINFO* info,
                        UINT*) override
    {
        TheLog().calls.push_back({id, flags, p->cArgs, p->cNamedArgs,
                                  p->cNamedArgs ? p->rgdispidNamedArgs[0] : DISPID_UNKNOWN});
        const bool put = (flags & DISPATCH_PROPERTYPUT) && p->cArgs == 1 && p->cNamedArgs == 1 &&
                         p->rgdispidNamedArgs[0] == DISPID_PROPERTYPUT;
        switch (id) {
        case 1:
            if (!put)
                return DISP_E_BADPARAMCOUNT;
            if (p->rgvarg[0].vt != VT_BSTR)
                return DISP_E_TYPEMISMATCH;
            TheLog().text = p->rgvarg[0].bstrVal;
            return S_OK;
        case 10:
            if (!(flags & DISPATCH_PROPERTYGET) || p->cArgs != 0 || !result)
                return DISP_E_BADPARAMCOUNT;
            result->vt = VT_I4;
            result->lVal = 1;
            return S_OK;
        case 37:
            if (!(flags & DISPATCH_METHOD) || p->cArgs != 2 || p->cNamedArgs != 0)
                return DISP_E_BADPARAMCOUNT;
            if (p->rgvarg[1].vt != VT_BSTR)
                return DISP_E_TYPEMISMATCH;
            TheLog().loadedPath = p->rgvarg[1].bstrVal;
            ::VariantCopy(&TheLog().loadedType, &p->rgvarg[0]);
            return S_OK;
        case 99:
            return Fail(info, E_ACCESSDENIED, kFailure);
        }
        return DISP_E_MEMBERNOTFOUND;
    }
};

class TestWindow final : public hosting::ControlWindow {
    friend class hosting::ControlWindow;
    explicit TestWindow(HWND hwnd) : ControlWindow(hwnd, new LoggingDispatch) {}
};

}  // namespace

void RegisterWindowClass(HINSTANCE instance)
{
    hosting::ControlWindow::Register<TestWindow>(instance, kClassName, IDC_ARROW,
                                                 reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
}

}  // namespace testctl
