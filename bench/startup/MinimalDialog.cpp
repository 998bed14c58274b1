// The yardstick for the start-up benchmark: the smallest dialog program built the same
// way as Lorvane.exe (same compiler, framework, static runtime and entry point).
#include <afxwin.h>

#include "bench/startup/minimal_resource.h"

namespace {

class CMinimalApp : public CWinApp
{
public:
    BOOL InitInstance() override
    {
        CDialog dlg(IDD_MINIMAL);
        m_pMainWnd = &dlg;
        dlg.DoModal();
        m_pMainWnd = nullptr;
        return FALSE;
    }
};

}  // namespace

CMinimalApp theMinimalApp __attribute__((init_priority(2000)));
