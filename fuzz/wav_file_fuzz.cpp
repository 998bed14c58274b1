// Fuzz target: reading a WAV file dropped into the sound folder (platform/player:
// ParseWav's chunk walk, format block and data size) and scaling its samples to the
// player's volume (Volume.cpp), as the player does before it hands them to the device.
//
// The input is the whole file. Beyond "no crash, no leak, no undefined behaviour":
//  - a file read is a RIFF/WAVE file with a format block of at least 16 bytes, a
//    non-zero byte rate and block size, and its data lies inside the file, after its
//    header, in whole blocks;
//  - the head of the file up to the data chunk's header, with the real file size,
//    reads the same (the player reads only the head of a large file);
//  - the same file said to be larger on disk keeps its data where it was, and never
//    gets less of it;
//  - scaling leaves unknown (compressed) formats and the data's size alone; at volume
//    100 integer samples are kept as they were, at 0 they become silence, and at 50
//    no integer sample grows.
#include "Volume.h"
#include "WavFile.h"

#include "Check.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

namespace {

bool SameInfo(const player::WavInfo& a, const player::WavInfo& b)
{
    return a.format == b.format && a.dataOffset == b.dataOffset && a.dataSize == b.dataSize &&
           a.byteRate == b.byteRate && a.blockAlign == b.blockAlign;
}

uint16_t Le16(const uint8_t* p) { return uint16_t(p[0] | p[1] << 8); }

// The sample layout the scaler should know, read here on its own: PCM of 8, 16, 24 or
// 32 bits (signed but 8), IEEE float of 32 or 64, plain or WAVE_FORMAT_EXTENSIBLE.
struct Layout {
    bool known = false;
    bool isFloat = false;
    int bits = 0;
};

Layout LayoutOf(const std::vector<uint8_t>& fmt)
{
    static const uint8_t kGuidTail[] = {0, 0, 0, 0, 0x10, 0, 0x80, 0, 0, 0xAA, 0, 0x38, 0x9B, 0x71};
    uint16_t tag = Le16(fmt.data());
    if (tag == 0xFFFE)
        tag = fmt.size() >= 40 && std::memcmp(fmt.data() + 26, kGuidTail, sizeof kGuidTail) == 0
                  ? Le16(fmt.data() + 24)
                  : 0;
    const int bits = Le16(fmt.data() + 14);
    Layout l;
    l.bits = bits;
    l.isFloat = tag == 3;
    l.known = (tag == 1 && (bits == 8 || bits == 16 || bits == 24 || bits == 32)) ||
              (tag == 3 && (bits == 32 || bits == 64));
    return l;
}

// Integer sample `i` of `data` (8-bit centred on 0), as a 64-bit value.
int64_t IntSample(const std::string& data, int bits, size_t i)
{
    const auto* p = reinterpret_cast<const uint8_t*>(data.data()) + i * size_t(bits / 8);
    switch (bits) {
    case 8: return int64_t(p[0]) - 128;
    case 16: return int16_t(Le16(p));
    case 24: return int32_t(uint32_t(p[0]) << 8 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 24) >> 8;
    default: return int32_t(uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24);
    }
}

void CheckScaling(const player::WavInfo& info, const std::string& original)
{
    const Layout layout = LayoutOf(info.format);
    for (int volume : {100, 50, 0}) {
        std::string data = original;
        const bool scaled = player::ScaleSamples(info, data, volume);
        CHECK(scaled == layout.known);
        CHECK(data.size() == original.size());
        if (!scaled) {
            CHECK(data == original);
            continue;
        }
        if (layout.isFloat)
            continue;  // NaNs keep no promise about their bits
        const size_t count = data.size() / size_t(layout.bits / 8);
        for (size_t i = 0; i < count; ++i) {
            const int64_t before = IntSample(original, layout.bits, i);
            const int64_t after = IntSample(data, layout.bits, i);
            if (volume == 100)
                CHECK(after == before);
            else if (volume == 0)
                CHECK(after == 0);
            else
                CHECK(std::llabs(after) <= (std::llabs(before) + 1) / 2);
        }
        // Bytes after the last whole sample are left as they were.
        CHECK(data.compare(count * size_t(layout.bits / 8), std::string::npos, original,
                           count * size_t(layout.bits / 8), std::string::npos) == 0);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size)
{
    const std::string_view file(reinterpret_cast<const char*>(bytes), size);
    const std::optional<player::WavInfo> info = player::ParseWav(file, size);
    if (!info)
        return 0;

    CHECK(player::LooksLikeWav(file));
    CHECK(info->format.size() >= 16);
    CHECK(info->byteRate != 0 && info->blockAlign != 0);
    CHECK(info->dataOffset >= 20 && info->dataOffset <= size);
    CHECK(info->dataSize <= size - info->dataOffset);
    CHECK(info->dataSize % info->blockAlign == 0);
    CHECK(info->Seconds() >= 0);

    const std::optional<player::WavInfo> fromHead = player::ParseWav(file.substr(0, info->dataOffset), size);
    CHECK(fromHead && SameInfo(*fromHead, *info));

    const std::optional<player::WavInfo> larger = player::ParseWav(file, uint64_t(size) + 4096);
    CHECK(larger && larger->dataOffset == info->dataOffset && larger->dataSize >= info->dataSize);

    CheckScaling(*info, std::string(file.substr(info->dataOffset, info->dataSize)));
    return 0;
}
