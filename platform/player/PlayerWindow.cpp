#include "PlayerWindow.h"

#include "PlayerDispatch.h"
#include "hosted_control.h"
#include "player/MediaPlayerCtl.h"

#include <commctrl.h>
#include <objbase.h>

#include <algorithm>

namespace player {
namespace {

constexpr wchar_t kScreenClass[] = L"MediaPlayerCtl.Screen";
constexpr UINT_PTR kRefreshTimer = 1;
constexpr UINT kRefreshMs = 250;

bool ShowsControls(const std::wstring& mode)
{
    return _wcsicmp(mode.c_str(), L"full") == 0 || _wcsicmp(mode.c_str(), L"mini") == 0;
}

}  // namespace

PlayerWindow::PlayerWindow(HWND hwnd) : hwnd_(hwnd) {}

PlayerWindow::~PlayerWindow()
{
    playback_.reset();
    if (dispatch_) {
        dispatch_->Disconnect();
        dispatch_->Release();
    }
    if (uninitCom_)
        CoUninitialize();
}

LRESULT CALLBACK PlayerWindow::Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    auto* self = reinterpret_cast<PlayerWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (msg == WM_NCCREATE) {
        self = new PlayerWindow(hwnd);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    if (!self)
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    if (msg == WM_NCDESTROY) {
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        delete self;
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    }
    return self->Handle(msg, wParam, lParam);
}

LRESULT PlayerWindow::Handle(UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == hosting::GetDispatchMessageId()) {
        if (!dispatch_)
            return 0;
        dispatch_->AddRef();
        return reinterpret_cast<LRESULT>(static_cast<IDispatch*>(dispatch_));
    }
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
        dispatch_ = new PlayerDispatch(this);
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
    playback_ = OpenPlayback(url, screen_, hwnd_);
    if (screen_)
        InvalidateRect(screen_, nullptr, TRUE);
    Layout();
    Refresh();
}

PlayState PlayerWindow::State() { return playback_ ? playback_->State() : PlayState::Stopped; }

void PlayerWindow::Close()
{
    playback_.reset();
    url_.clear();
    if (screen_)
        InvalidateRect(screen_, nullptr, TRUE);
    Refresh();
}

bool PlayerWindow::SetUiMode(const std::wstring& mode)
{
    static const wchar_t* const known[] = {L"full", L"mini", L"none", L"invisible"};
    for (const wchar_t* name : known) {
        if (_wcsicmp(mode.c_str(), name) == 0) {
            uiMode_ = name;
            Layout();
            return true;
        }
    }
    return false;
}

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
    const bool controls = ShowsControls(uiMode_);
    RECT screen = client;
    if (controls) {
        screen.bottom = std::max(client.top, client.bottom - ControlRow::kHeight);
        RECT row = client;
        row.top = screen.bottom;
        row_.Place(row);
    }
    row_.Show(controls);
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

    wc.lpfnWndProc = PlayerWindow::Proc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kClassName;
    RegisterClassExW(&wc);
}

}  // namespace player
