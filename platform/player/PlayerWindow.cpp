#include "PlayerWindow.h"

#include "ContextMenu.h"
#include "PlayerDispatch.h"
#include "player/MediaPlayerCtl.h"

#include <commctrl.h>
#include <objbase.h>
#include <windowsx.h>

#include <algorithm>

namespace player {
namespace {

constexpr wchar_t kScreenClass[] = L"MediaPlayerCtl.Screen";
constexpr UINT_PTR kRefreshTimer = 1;
constexpr UINT kRefreshMs = 250;
// The control's stored volume, on its 0-100 scale.
constexpr int kVolume = 50;

}  // namespace

PlayerWindow::PlayerWindow(HWND hwnd) : ControlWindow(hwnd, new PlayerDispatch(this)) {}

PlayerWindow::~PlayerWindow()
{
    playback_.reset();
    if (uninitCom_)
        CoUninitialize();
}

LRESULT PlayerWindow::Handle(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_CREATE: {
        // DirectShow needs COM on this thread; the host may not have started it.
        const HRESULT hr = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        uninitCom_ = SUCCEEDED(hr);
        SetWindowLongPtrW(hwnd_, GWL_STYLE, GetWindowLongPtrW(hwnd_, GWL_STYLE) | WS_CLIPCHILDREN);
        // A player made hidden (one that only plays sounds, or waits for a video)
        // gets its video area when it first plays or is shown, and its control row
        // when first shown: six windows fewer at start-up.
        if (reinterpret_cast<const CREATESTRUCTW*>(lParam)->style & WS_VISIBLE) {
            EnsureScreen();
            EnsureControlRow();
        }
        Layout();
        return 0;
    }
    case WM_DESTROY:
        // Before the child windows go: the video renderer's window is one of them.
        KillTimer(hwnd_, kRefreshTimer);
        playback_.reset();
        return 0;
    case WM_SIZE:
        Layout();
        return 0;
    case WM_WINDOWPOSCHANGED:
        // Every way of showing a window (ShowWindow, SetWindowPos) ends here.
        if ((reinterpret_cast<const WINDOWPOS*>(lParam)->flags & SWP_SHOWWINDOW) && !row_.Created()) {
            EnsureScreen();
            EnsureControlRow();
            Layout();
        }
        break;
    case WM_TIMER:
        if (wParam == kRefreshTimer) {
            Refresh();
            return 0;
        }
        break;
    case WM_COMMAND:
        if (HIWORD(wParam) == BN_CLICKED) {
            OnCommand(LOWORD(wParam));
            return 0;
        }
        break;
    case WM_HSCROLL:
        if (lParam && GetDlgCtrlID(reinterpret_cast<HWND>(lParam)) == kPositionBarId) {
            OnScroll(LOWORD(wParam));
            return 0;
        }
        break;
    case WM_DRAWITEM:
        if (ControlRow::Draw(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)))
            return TRUE;
        break;
    case WM_CONTEXTMENU:
        // Right-clicks on the video area and the row come here from their windows' own
        // handling; a hidden player (one that only plays sounds) offers nothing.
        if (IsWindowVisible(hwnd_))
            OnContextMenu(lParam);
        return 0;
    case kGraphEventMessage:
        if (playback_)
            playback_->OnGraphEvent();
        Refresh();
        return 0;
    }
    return DefWindowProcW(hwnd_, msg, wParam, lParam);
}

void PlayerWindow::SetUrl(const std::wstring& url)
{
    // The old medium goes first: its device, graph and file are free before
    // the new one is opened (it may be the same file).
    playback_.reset();
    dragging_ = false;
    url_ = url;
    EnsureScreen();   // a video plays into it
    playback_ = OpenPlayback(url, kVolume, screen_, hwnd_);
    if (screen_)
        InvalidateRect(screen_, nullptr, TRUE);
    Layout();
    Refresh();
}

PlayState PlayerWindow::State() { return playback_ ? playback_->State() : PlayState::Stopped; }

void PlayerWindow::EnsureScreen()
{
    if (screen_)
        return;
    screen_ = CreateWindowExW(0, kScreenClass, L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 0, 0, hwnd_,
                              reinterpret_cast<HMENU>(INT_PTR(kScreenId)),
                              reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(hwnd_, GWLP_HINSTANCE)), nullptr);
    Layout();
}

void PlayerWindow::EnsureControlRow()
{
    if (row_.Created())
        return;
    row_.Create(hwnd_);
    row_.Update(playback_.get(), dragging_);
}

void PlayerWindow::Layout()
{
    RECT client;
    GetClientRect(hwnd_, &client);
    RECT screen = client;
    screen.bottom = std::max(client.top, client.bottom - ControlRow::kHeight);
    RECT row = client;
    row.top = screen.bottom;
    row_.Place(row);
    if (screen_)
        MoveWindow(screen_, screen.left, screen.top, screen.right - screen.left, screen.bottom - screen.top, TRUE);
    if (playback_) {
        RECT area{0, 0, screen.right - screen.left, screen.bottom - screen.top};
        playback_->PlaceVideo(area);
    }
}

void PlayerWindow::Refresh()
{
    row_.Update(playback_.get(), dragging_);
    if (State() == PlayState::Playing)
        SetTimer(hwnd_, kRefreshTimer, kRefreshMs, nullptr);
    else
        KillTimer(hwnd_, kRefreshTimer);
}

void PlayerWindow::OnCommand(int id)
{
    if (!playback_)
        return;
    if (id == kPlayButtonId)
        playback_->Play();
    else if (id == kPauseButtonId)
        playback_->Pause();
    else if (id == kStopButtonId)
        playback_->Stop();
    Refresh();
}

void PlayerWindow::OnContextMenu(LPARAM at)
{
    POINT point{GET_X_LPARAM(at), GET_Y_LPARAM(at)};
    if (at == -1) {  // from the keyboard: at the control's corner
        point = POINT{};
        ClientToScreen(hwnd_, &point);
    }
    if (const int command = ShowContextMenu(hwnd_, point, AvailableCommands(playback_.get())))
        OnCommand(command);
}

void PlayerWindow::OnScroll(int code)
{
    if (code == TB_THUMBTRACK) {
        // Seeking the graph on every mouse move is slow; the label follows the
        // thumb and the seek happens where it is dropped.
        dragging_ = true;
        row_.ShowDragPosition(playback_.get());
        return;
    }
    if (code == TB_ENDTRACK) {
        dragging_ = false;
        Refresh();
        return;
    }
    // TB_THUMBPOSITION (the drop) and clicks or keys that page or step the bar.
    if (playback_)
        playback_->Seek(row_.BarPosition() / 1000.0);
    Refresh();
}

void RegisterWindowClass(HINSTANCE instance)
{
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    if (GetClassInfoExW(instance, kClassName, &wc))
        return;
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&icc);

    WNDCLASSEXW screen{};
    screen.cbSize = sizeof screen;
    screen.lpfnWndProc = DefWindowProcW;
    screen.hInstance = instance;
    screen.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    screen.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    screen.lpszClassName = kScreenClass;
    RegisterClassExW(&screen);

    hosting::ControlWindow::Register<PlayerWindow>(instance, kClassName, IDC_ARROW,
                                                   reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
}

}  // namespace player
