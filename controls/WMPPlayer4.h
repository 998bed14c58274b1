// The media player control, as the program drives it: URL (put) and playState (get).
#pragma once

#include <afxwin.h>

class CWMPPlayer4 : public CWnd {
protected:
    DECLARE_DYNCREATE(CWMPPlayer4)
public:
    static const CLSID& GetClsid();
    BOOL Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                CWnd* pParentWnd, UINT nID, CCreateContext* pContext = nullptr) override;

    // Starts the file at once (what played before ends); a path that cannot be
    // played just ends playback.
    void SetURL(LPCTSTR lpszNewValue);
    // 1 when nothing plays.
    long GetPlayState();
};
