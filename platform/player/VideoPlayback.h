// Video (and any non-WAV medium) through a DirectShow filter graph.
#pragma once

#include "Playback.h"

#include <memory>
#include <string>

namespace player {

// Builds the graph for `path` and runs it at `volume` (Volume.h). The picture
// goes into `screen`; graph events are posted to `notify` as kGraphEventMessage.
// Gives nothing when the file cannot be rendered at all (no decoder, not a medium).
std::unique_ptr<Playback> OpenVideo(const std::wstring& path, int volume, HWND screen, HWND notify);

}  // namespace player
