#include "ContextMenu.h"

#include "player/MediaPlayerCtl.h"

namespace player {

int ShowContextMenu(HWND owner, POINT at, Commands available)
{
    HMENU menu = CreatePopupMenu();
    if (!menu)
        return 0;
    const auto add = [menu](int id, bool enabled, const wchar_t* text) {
        AppendMenuW(menu, MF_STRING | (enabled ? MF_ENABLED : MF_GRAYED), UINT_PTR(id), text);
    };
    add(kPlayButtonId, available.play, L"播放(&P)");
    add(kPauseButtonId, available.pause, L"暂停(&A)");
    add(kStopButtonId, available.stop, L"停止(&S)");
    const int command = int(TrackPopupMenu(menu, TPM_RETURNCMD | TPM_NONOTIFY | TPM_RIGHTBUTTON, at.x, at.y, 0,
                                           owner, nullptr));
    DestroyMenu(menu);
    return command;
}

}  // namespace player
