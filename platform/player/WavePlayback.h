// WAV playback: through the sound device when there is one, otherwise a
// silent clock that runs for the file's length, so that the play state still
// follows the recording.
#pragma once

#include "Playback.h"
#include "WavFile.h"

#include <memory>
#include <string>

namespace player {

// Plays the data through waveOut. Gives nothing when the device refuses the
// format (the caller may then try DirectShow). `data` is the sample data.
std::unique_ptr<Playback> OpenDeviceWave(const WavInfo& info, std::string data);

// Plays nothing; reports Playing for the file's duration.
std::unique_ptr<Playback> OpenSilentWave(const WavInfo& info);

}  // namespace player
