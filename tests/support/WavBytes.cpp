#include "support/WavBytes.h"

#include <cmath>
#include <cstdint>

namespace test_support {
namespace {

void Put16(std::string& out, uint16_t v)
{
    out.push_back(static_cast<char>(v & 0xFF));
    out.push_back(static_cast<char>(v >> 8));
}

void Put32(std::string& out, uint32_t v)
{
    Put16(out, static_cast<uint16_t>(v & 0xFFFF));
    Put16(out, static_cast<uint16_t>(v >> 16));
}

}  // namespace

std::string PcmWav(int ms, int sampleRate, Sound sound)
{
    const uint32_t rate = static_cast<uint32_t>(sampleRate);
    const uint32_t samples = static_cast<uint32_t>(int64_t(sampleRate) * ms / 1000);
    std::string wav = "RIFF";
    Put32(wav, 36 + samples * 2);
    wav += "WAVEfmt ";
    Put32(wav, 16);
    Put16(wav, 1);  // PCM
    Put16(wav, 1);  // mono
    Put32(wav, rate);
    Put32(wav, rate * 2);
    Put16(wav, 2);
    Put16(wav, 16);
    wav += "data";
    Put32(wav, samples * 2);
    wav.reserve(wav.size() + samples * 2);
    for (uint32_t i = 0; i < samples; ++i) {
        const double level = sound == Sound::Tone ? 3000 * std::sin(2 * 3.14159265358979 * 440 * i / rate) : 0;
        Put16(wav, static_cast<uint16_t>(static_cast<int16_t>(level)));
    }
    return wav;
}

}  // namespace test_support
