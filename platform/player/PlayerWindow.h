// The media player control's window: owns the playback, the video area and
// the control row, and keeps them in step.
#pragma once

#include "ControlRow.h"
#include "Playback.h"

#include "hosting/ControlWindow.h"

#include <memory>
#include <string>

namespace player {

class PlayerWindow final : public hosting::ControlWindow {
public:
    // Ends what plays and starts `url` (nothing for an empty or unplayable one).
    void SetUrl(const std::wstring& url);
    const std::wstring& Url() const { return url_; }
    PlayState State();

private:
    friend class hosting::ControlWindow;
    explicit PlayerWindow(HWND hwnd);
    ~PlayerWindow() override;
    LRESULT Handle(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void EnsureScreen();
    void EnsureControlRow();
    void Layout();
    void Refresh();  // control row and timer after any change
    void OnCommand(int id);
    void OnContextMenu(LPARAM at);
    void OnScroll(int code);

    HWND screen_ = nullptr;
    ControlRow row_;
    std::unique_ptr<Playback> playback_;
    std::wstring url_;
    bool dragging_ = false;
    bool uninitCom_ = false;
};

}  // namespace player
