// WAV files for the tests: the bytes of a 16-bit mono PCM recording.
#pragma once

#include <string>

namespace test_support {

enum class Sound { Tone, Silence };

// A recording of `ms` milliseconds at `sampleRate`: a quiet 440 Hz tone, or silence.
std::string PcmWav(int ms, int sampleRate = 8000, Sound sound = Sound::Tone);

}  // namespace test_support
