#include "Volume.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <type_traits>

namespace player {
namespace {

constexpr uint16_t kPcm = 1, kFloat = 3, kExtensible = 0xFFFE;

uint16_t Le16(const uint8_t* p) { return uint16_t(p[0] | p[1] << 8); }

// The sample format of a "fmt " chunk: PCM, float, or 0 for anything else.
uint16_t SampleFormat(const std::vector<uint8_t>& fmt)
{
    const uint16_t tag = Le16(fmt.data());
    if (tag != kExtensible)
        return tag;
    // The sub-format GUID {0000xxxx-0000-0010-8000-00AA00389B71} carries the tag.
    static const uint8_t kGuidTail[] = {0, 0, 0, 0, 0x10, 0, 0x80, 0, 0, 0xAA, 0, 0x38, 0x9B, 0x71};
    if (fmt.size() < 40 || std::memcmp(fmt.data() + 26, kGuidTail, sizeof kGuidTail) != 0)
        return 0;
    return Le16(fmt.data() + 24);
}

template <class Sample>
void Scale(std::string& data, double gain)
{
    for (size_t at = 0; at + sizeof(Sample) <= data.size(); at += sizeof(Sample)) {
        Sample s;
        std::memcpy(&s, data.data() + at, sizeof s);
        if constexpr (std::is_floating_point_v<Sample>)
            s = Sample(s * gain);
        else
            s = Sample(std::lround(s * gain));
        std::memcpy(data.data() + at, &s, sizeof s);
    }
}

void Scale8(std::string& data, double gain)  // unsigned, silence at 128
{
    for (char& c : data)
        c = char(128 + std::lround((uint8_t(c) - 128) * gain));
}

void Scale24(std::string& data, double gain)
{
    for (size_t at = 0; at + 3 <= data.size(); at += 3) {
        auto* p = reinterpret_cast<uint8_t*>(data.data() + at);
        int32_t s = int32_t(uint32_t(p[0]) << 8 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 24) >> 8;
        s = int32_t(std::lround(s * gain));
        p[0] = uint8_t(s);
        p[1] = uint8_t(s >> 8);
        p[2] = uint8_t(s >> 16);
    }
}

}  // namespace

long DirectShowVolume(int volume)
{
    if (volume <= 0)
        return -10000;
    if (volume >= 100)
        return 0;
    return std::max(-10000L, std::lround(2000 * std::log10(volume / 100.0)));
}

bool ScaleSamples(const WavInfo& info, std::string& data, int volume)
{
    const uint16_t format = SampleFormat(info.format);
    const uint16_t bits = Le16(info.format.data() + 14);
    const double gain = std::clamp(volume, 0, 100) / 100.0;
    if (format == kPcm && bits == 8)
        Scale8(data, gain);
    else if (format == kPcm && bits == 16)
        Scale<int16_t>(data, gain);
    else if (format == kPcm && bits == 24)
        Scale24(data, gain);
    else if (format == kPcm && bits == 32)
        Scale<int32_t>(data, gain);
    else if (format == kFloat && bits == 32)
        Scale<float>(data, gain);
    else if (format == kFloat && bits == 64)
        Scale<double>(data, gain);
    else
        return false;
    return true;
}

}  // namespace player
