// The player's context menu: play, pause and stop, enabled as the row's buttons are.
#pragma once

#include "Playback.h"

namespace player {

// Shows the menu at `at` (screen coordinates) and waits for the choice; gives
// the command's id (kPlayButtonId, kPauseButtonId, kStopButtonId) or 0.
int ShowContextMenu(HWND owner, POINT at, Commands available);

}  // namespace player
