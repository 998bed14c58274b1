#include "browser/WebBrowserCtl.h"

#include "hosting/ControlWindow.h"

namespace browser {
namespace {

// Hosted and never called: its dispatch has no members.
class BrowserWindow final : public hosting::ControlWindow {
    friend class hosting::ControlWindow;
    explicit BrowserWindow(HWND hwnd) : ControlWindow(hwnd, new hosting::ControlDispatch({})) {}
};

}  // namespace

void RegisterWindowClass(HINSTANCE instance)
{
    hosting::ControlWindow::Register<BrowserWindow>(instance, kClassName, IDC_ARROW,
                                                    reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
}

}  // namespace browser
