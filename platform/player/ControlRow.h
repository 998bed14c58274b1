// The row of playback controls under the video area: play, pause and stop
// buttons (drawn as the usual symbols), a position bar and a time label.
#pragma once

#include "Playback.h"

namespace player {

class ControlRow {
public:
    static constexpr int kHeight = 30;

    // Until Create, the row has no windows and every call below does nothing.
    void Create(HWND parent);
    bool Created() const { return play_ != nullptr; }
    void Place(const RECT& row);
    // Shows the state and position of `playback` (none: everything idle).
    // While the user drags the bar its position is left alone.
    void Update(Playback* playback, bool dragging);
    // The time label while the bar is dragged.
    void ShowDragPosition(Playback* playback);
    int BarPosition() const;

    // WM_DRAWITEM of the buttons; false for other items.
    static bool Draw(const DRAWITEMSTRUCT& item);

private:
    void SetTime(double position, double duration);

    HWND play_ = nullptr, pause_ = nullptr, stop_ = nullptr, bar_ = nullptr, time_ = nullptr;
    int rangeMs_ = -1;
};

}  // namespace player
