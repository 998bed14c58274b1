// Where a minimised window draws its icon.
#pragma once

#include <windows.h>

// Centres an icon in the client area: ((client - icon + 1) / 2) on each axis, in
// integer division that truncates toward zero, so a client one pixel smaller than the
// icon still gives 0, not -1.
POINT MinimisedIconOrigin(int clientWidth, int clientHeight, int iconWidth, int iconHeight);
