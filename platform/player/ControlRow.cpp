#include "ControlRow.h"

#include "player/MediaPlayerCtl.h"

#include <commctrl.h>

#include <algorithm>
#include <cmath>
#include <cwchar>
#include <string>

namespace player {
namespace {

constexpr int kButtonWidth = 30;
constexpr int kTimeWidth = 96;
constexpr int kGap = 4;

HWND MakeChild(HWND parent, const wchar_t* cls, DWORD style, int id)
{
    return CreateWindowExW(0, cls, L"", WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0, parent,
                           reinterpret_cast<HMENU>(INT_PTR(id)), GetModuleHandleW(nullptr), nullptr);
}

void DrawGlyph(HDC dc, int id, RECT box, bool enabled)
{
    const COLORREF color = GetSysColor(enabled ? COLOR_BTNTEXT : COLOR_GRAYTEXT);
    HBRUSH brush = CreateSolidBrush(color);
    HGDIOBJ oldBrush = SelectObject(dc, brush);
    HGDIOBJ oldPen = SelectObject(dc, GetStockObject(NULL_PEN));
    const int cx = (box.left + box.right) / 2, cy = (box.top + box.bottom) / 2;
    const int r = std::max<int>(3, std::min(box.right - box.left, box.bottom - box.top) / 4);
    if (id == kPlayButtonId) {
        POINT triangle[] = {{cx - r + 1, cy - r}, {cx - r + 1, cy + r}, {cx + r, cy}};
        Polygon(dc, triangle, 3);
    } else if (id == kPauseButtonId) {
        const int w = std::max(2, r * 2 / 3);
        Rectangle(dc, cx - r, cy - r, cx - r + w + 1, cy + r + 1);
        Rectangle(dc, cx + r - w, cy - r, cx + r + 1, cy + r + 1);
    } else {
        Rectangle(dc, cx - r + 1, cy - r + 1, cx + r, cy + r);
    }
    SelectObject(dc, oldPen);
    SelectObject(dc, oldBrush);
    DeleteObject(brush);
}

std::wstring FormatTime(double seconds)
{
    const long total = long(std::max(0.0, std::floor(seconds)));
    wchar_t text[32];
    if (total >= 3600)
        swprintf(text, 32, L"%ld:%02ld:%02ld", total / 3600, total / 60 % 60, total % 60);
    else
        swprintf(text, 32, L"%ld:%02ld", total / 60, total % 60);
    return text;
}

}  // namespace

void ControlRow::Create(HWND parent)
{
    play_ = MakeChild(parent, L"BUTTON", BS_OWNERDRAW, kPlayButtonId);
    pause_ = MakeChild(parent, L"BUTTON", BS_OWNERDRAW, kPauseButtonId);
    stop_ = MakeChild(parent, L"BUTTON", BS_OWNERDRAW, kStopButtonId);
    bar_ = MakeChild(parent, TRACKBAR_CLASSW, TBS_HORZ | TBS_NOTICKS | TBS_BOTH, kPositionBarId);
    time_ = MakeChild(parent, L"STATIC", SS_CENTER | SS_CENTERIMAGE, kTimeLabelId);
    const HFONT font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    SendMessageW(time_, WM_SETFONT, WPARAM(font), FALSE);
    Update(nullptr, false);
}

void ControlRow::Place(const RECT& row)
{
    if (!Created())
        return;
    const int h = row.bottom - row.top;
    int x = row.left + kGap;
    for (HWND button : {play_, pause_, stop_}) {
        MoveWindow(button, x, row.top + 2, kButtonWidth, h - 4, TRUE);
        x += kButtonWidth + 2;
    }
    x += kGap;
    const int timeLeft = std::max(x, int(row.right) - kTimeWidth - kGap);
    MoveWindow(bar_, x, row.top + 2, std::max(0, timeLeft - x - kGap), h - 4, TRUE);
    MoveWindow(time_, timeLeft, row.top, kTimeWidth, h, TRUE);
}

void ControlRow::Update(Playback* playback, bool dragging)
{
    if (!Created())
        return;
    const Commands available = AvailableCommands(playback);
    EnableWindow(play_, available.play);
    EnableWindow(pause_, available.pause);
    EnableWindow(stop_, available.stop);
    EnableWindow(bar_, playback != nullptr);

    const double duration = playback ? playback->Duration() : 0;
    const int rangeMs = int(std::lround(std::min(duration, 2e6) * 1000));
    if (rangeMs != rangeMs_) {
        rangeMs_ = rangeMs;
        SendMessageW(bar_, TBM_SETRANGEMIN, FALSE, 0);
        SendMessageW(bar_, TBM_SETRANGEMAX, TRUE, rangeMs);
        SendMessageW(bar_, TBM_SETPAGESIZE, 0, std::max(1, rangeMs / 10));
        SendMessageW(bar_, TBM_SETLINESIZE, 0, std::max(1, rangeMs / 100));
    }
    if (dragging)
        return;
    const double position = playback ? playback->Position() : 0;
    SendMessageW(bar_, TBM_SETPOS, TRUE, std::lround(position * 1000));
    SetTime(position, duration);
}

void ControlRow::ShowDragPosition(Playback* playback)
{
    if (!Created())
        return;
    SetTime(BarPosition() / 1000.0, playback ? playback->Duration() : 0);
}

int ControlRow::BarPosition() const { return Created() ? int(SendMessageW(bar_, TBM_GETPOS, 0, 0)) : 0; }

void ControlRow::SetTime(double position, double duration)
{
    const std::wstring text = FormatTime(position) + L" / " + FormatTime(duration);
    wchar_t old[64] = L"";
    GetWindowTextW(time_, old, 64);
    if (text != old)  // avoids flicker from the timer's repeated updates
        SetWindowTextW(time_, text.c_str());
}

bool ControlRow::Draw(const DRAWITEMSTRUCT& item)
{
    if (item.CtlType != ODT_BUTTON || item.CtlID < kPlayButtonId || item.CtlID > kStopButtonId)
        return false;
    RECT box = item.rcItem;
    UINT frame = DFCS_BUTTONPUSH;
    if (item.itemState & ODS_SELECTED)
        frame |= DFCS_PUSHED;
    DrawFrameControl(item.hDC, &box, DFC_BUTTON, frame);
    if (item.itemState & ODS_SELECTED)
        OffsetRect(&box, 1, 1);
    DrawGlyph(item.hDC, int(item.CtlID), box, !(item.itemState & ODS_DISABLED));
    if (item.itemState & ODS_FOCUS) {
        InflateRect(&box, -4, -4);
        DrawFocusRect(item.hDC, &box);
    }
    return true;
}

}  // namespace player
