// One opened medium of the player: a WAV file or a DirectShow graph.
// Everything runs on the control's thread; the object releases all it holds
// (device, graph, file) when it is destroyed.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

namespace player {

// The values of the Windows Media Player's playState.
enum class PlayState : long { Stopped = 1, Paused = 2, Playing = 3 };

class Playback {
public:
    virtual ~Playback() = default;

    // Computed at the moment of asking: a medium that has reached its end
    // reports Stopped without any message having been handled.
    virtual PlayState State() = 0;
    // From Stopped starts at the beginning, from Paused resumes.
    virtual void Play() = 0;
    virtual void Pause() = 0;
    // Stops and goes back to the beginning; the medium stays open.
    virtual void Stop() = 0;

    virtual double Duration() = 0;  // seconds
    virtual double Position() = 0;  // seconds
    virtual void Seek(double seconds) = 0;

    // Places the picture in `rect` of the screen window given when opening.
    virtual void PlaceVideo(const RECT&) {}
    // The graph-event message posted to the control window arrived.
    virtual void OnGraphEvent() {}
};

// Which of play, pause and stop make sense now: the row's buttons and the
// context menu's items alike.
struct Commands {
    bool play, pause, stop;
};
inline Commands AvailableCommands(Playback* playback)
{
    const PlayState state = playback ? playback->State() : PlayState::Stopped;
    return {playback && state != PlayState::Playing, state == PlayState::Playing, state != PlayState::Stopped};
}

// Messages the playbacks post to the control window.
inline constexpr UINT kGraphEventMessage = WM_APP + 0x51;

// Opens `path` and starts it at `volume` (Volume.h). Gives nothing for what
// cannot be played: a folder, a missing file, unreadable or unknown content.
// Never shows a dialog. `screen` receives the video picture, `notify` the graph
// events.
std::unique_ptr<Playback> OpenPlayback(const std::wstring& path, int volume, HWND screen, HWND notify);

}  // namespace player
