// Framework internals shared between the source files of platform/afx.
#pragma once

#include <afxwin.h>

namespace afx {

// The message that the innermost framework handler is processing (for Default()).
struct CurrentMessage {
    HWND hwnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};
CurrentMessage& LastSentMessage();

// HWND -> framework object for windows the framework owns or has subclassed.
void MapPermanent(HWND hWnd, CWnd* pWnd);
void UnmapPermanent(HWND hWnd, CWnd* pWnd);

// After WM_NCDESTROY: unbinds the object from the dead window, forgets it as
// the main window, then calls its PostNcDestroy.
void AfterNcDestroy(CWnd* pWnd, HWND hWnd);

// The window that a message box or modal dialog without an explicit parent is
// owned by: the main window's last active popup, else the thread's enabled
// active window. *pWndTop receives the top-level window that was disabled for
// the duration (to be re-enabled by the caller), or nullptr.
HWND GetSafeOwner(HWND hParent, HWND* pWndTop);

// The executable's file name without folder and extension.
CString ExeBaseName();

// Reports the exception being handled (call from a catch block) that escaped a message
// handler or a PreTranslateMessage, so the program goes on: a framework exception is shown
// by its ReportError and deleted (a CUserException has been reported already), any other
// is shown in a box of its own.
void ReportHandlerException();

}  // namespace afx
