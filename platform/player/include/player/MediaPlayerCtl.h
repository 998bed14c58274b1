// The media player control: a child window that plays WAV files through the
// sound device and other media (video) through DirectShow, with a row of
// playback controls under its video area. Automated through the IDispatch its
// window hands out for the hosting message (platform/hosting):
//   URL        DISPID 1   get/put  BSTR: putting a path starts it at once and
//                                  ends what played before; a path that cannot
//                                  be played just ends it (never a dialog).
//   playState  DISPID 10  get      I4: 1 stopped, 2 paused, 3 playing.
// Everything plays at half the full amplitude (volume 50 of 100). A right-click
// on a visible control opens a menu of play, pause and stop.
#pragma once

#include <windows.h>

namespace player {

inline constexpr wchar_t kClassName[] = L"MediaPlayerCtl";

// Ids of the control row's child windows; play, pause and stop also name the
// context menu's commands.
inline constexpr int kPlayButtonId = 1;
inline constexpr int kPauseButtonId = 2;
inline constexpr int kStopButtonId = 3;
inline constexpr int kPositionBarId = 4;  // trackbar, range in milliseconds
inline constexpr int kTimeLabelId = 5;
inline constexpr int kScreenId = 6;       // the video area

// Registers the window class once per process; later calls do nothing.
void RegisterWindowClass(HINSTANCE instance);

}  // namespace player
