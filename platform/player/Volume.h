// The control's volume: 0 to 100 on its own scale, the share of a recording's
// full amplitude that it plays at (50 plays every sample at half its value).
#pragma once

#include "WavFile.h"

#include <string>

namespace player {

// The same volume for DirectShow's IBasicAudio: hundredths of a decibel, from
// -10000 (silence) to 0 (full).
long DirectShowVolume(int volume);

// Scales WAV sample data in `info`'s format to `volume`. Knows integer PCM of
// 8, 16, 24 and 32 bits and IEEE float of 32 and 64 bits, plain or in a
// WAVE_FORMAT_EXTENSIBLE header; gives false, and leaves `data` as it was, for
// any other (compressed) format.
bool ScaleSamples(const WavInfo& info, std::string& data, int volume);

}  // namespace player
