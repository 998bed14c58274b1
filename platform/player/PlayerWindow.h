// The media player control's window: owns the playback, the video area and
// the control row, and keeps them in step.
#pragma once

#include "ControlRow.h"
#include "Playback.h"

#include <memory>
#include <string>

namespace player {

class PlayerDispatch;

class PlayerWindow {
public:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

    // Ends what plays and starts `url` (nothing for an empty or unplayable one).
    void SetUrl(const std::wstring& url);
    const std::wstring& Url() const { return url_; }
    PlayState State();
    void Close();
    // False for a mode it does not know.
    bool SetUiMode(const std::wstring& mode);
    const std::wstring& UiMode() const { return uiMode_; }

private:
    explicit PlayerWindow(HWND hwnd);
    ~PlayerWindow();
    LRESULT Handle(UINT msg, WPARAM wParam, LPARAM lParam);
    void EnsureScreen();
    void EnsureControlRow();
    void Layout();
    void Refresh();  // control row and timer after any change
    void OnCommand(int id);
    void OnScroll(int code);

    HWND hwnd_;
    HWND screen_ = nullptr;
    ControlRow row_;
    PlayerDispatch* dispatch_ = nullptr;
    std::unique_ptr<Playback> playback_;
    std::wstring url_;
    std::wstring uiMode_ = L"full";
    bool dragging_ = false;
    bool uninitCom_ = false;
};

}  // namespace player
