// The volume: the samples handed to the sound device are scaled to the
// control's volume in every format it can scale, and DirectShow gets the same
// level in its own unit.
#include "platform/player/Volume.h"
#include "support/WavBytes.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr int kHalf = 50;

std::string Le16(uint16_t v) { return {char(v), char(v >> 8)}; }
std::string Le32(uint32_t v) { return {char(v), char(v >> 8), char(v >> 16), char(v >> 24)}; }

// A "fmt " chunk body of one channel; `subFormat` makes it WAVE_FORMAT_EXTENSIBLE.
player::WavInfo Format(uint16_t tag, uint16_t bits, uint16_t subFormat = 0)
{
    const uint16_t block = uint16_t(bits / 8);
    std::string f = Le16(subFormat ? 0xFFFE : tag) + Le16(1) + Le32(8000) + Le32(8000u * block) + Le16(block) +
                    Le16(bits);
    if (subFormat) {
        f += Le16(22) + Le16(bits) + Le32(4) + Le16(subFormat);
        f += std::string("\x00\x00\x00\x00\x10\x00\x80\x00\x00\xAA\x00\x38\x9B\x71", 14);
    }
    player::WavInfo info;
    info.format.assign(f.begin(), f.end());
    return info;
}

template <class T>
std::string Bytes(std::initializer_list<T> samples)
{
    std::string bytes(samples.size() * sizeof(T), '\0');
    std::memcpy(bytes.data(), std::data(samples), bytes.size());
    return bytes;
}

std::string Pcm24(std::initializer_list<int32_t> samples)
{
    std::string bytes;
    for (int32_t s : samples)
        bytes += {char(s), char(s >> 8), char(s >> 16)};
    return bytes;
}

TEST(PlayerVolume, HalfVolumeHalvesEverySampleFormatTheDeviceIsGiven)
{
    const struct {
        const char* what;
        player::WavInfo format;
        std::string samples, halved;
    } cases[] = {
        {"8-bit PCM, silence at 128", Format(1, 8), Bytes<uint8_t>({0, 128, 255, 100}),
         Bytes<uint8_t>({64, 128, 192, 114})},
        {"16-bit PCM", Format(1, 16), Bytes<int16_t>({-32768, 32767, 1000, -3, 0}),
         Bytes<int16_t>({-16384, 16384, 500, -2, 0})},
        {"24-bit PCM", Format(1, 24), Pcm24({-8388608, 8388607, 2}), Pcm24({-4194304, 4194304, 1})},
        {"32-bit PCM", Format(1, 32), Bytes<int32_t>({INT32_MIN, 7}), Bytes<int32_t>({-1073741824, 4})},
        {"32-bit float", Format(3, 32), Bytes<float>({1.0f, -0.5f}), Bytes<float>({0.5f, -0.25f})},
        {"64-bit float", Format(3, 64), Bytes<double>({0.8}), Bytes<double>({0.4})},
        {"16-bit PCM, extensible", Format(0, 16, 1), Bytes<int16_t>({2000}), Bytes<int16_t>({1000})},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::string data = c.samples;
        ASSERT_TRUE(player::ScaleSamples(c.format, data, kHalf));
        EXPECT_EQ(data, c.halved);
    }
}

TEST(PlayerVolume, ARecordingFileIsPlayedAtHalfItsAmplitude)
{
    const std::string wav = test_support::PcmWav(100);
    const auto info = player::ParseWav(wav, wav.size());
    ASSERT_TRUE(info);
    std::string data = wav.substr(size_t(info->dataOffset), size_t(info->dataSize));
    ASSERT_TRUE(player::ScaleSamples(*info, data, kHalf));
    ASSERT_EQ(data.size(), info->dataSize);
    int loudest = 0;
    for (size_t at = 0; at + 2 <= data.size(); at += 2) {
        int16_t original, played;
        std::memcpy(&original, wav.data() + info->dataOffset + at, 2);
        std::memcpy(&played, data.data() + at, 2);
        ASSERT_LE(std::abs(played * 2 - original), 1) << "sample " << at / 2;
        loudest = std::max(loudest, std::abs(int(original)));
    }
    EXPECT_GT(loudest, 100) << "the recording is a tone, not silence";
}

// Compressed data cannot be scaled sample by sample: it is left for DirectShow.
TEST(PlayerVolume, CompressedFormatsAreLeftAlone)
{
    for (const player::WavInfo& format : {Format(2, 4), Format(0x55, 0), Format(0, 16, 0x55)}) {
        std::string data = "\x01\x02\x03\x04";
        EXPECT_FALSE(player::ScaleSamples(format, data, kHalf));
        EXPECT_EQ(data, "\x01\x02\x03\x04");
    }
}

TEST(PlayerVolume, DirectShowGetsTheSameLevelInHundredthsOfADecibel)
{
    EXPECT_EQ(player::DirectShowVolume(100), 0);
    EXPECT_EQ(player::DirectShowVolume(kHalf), -602);  // 20 log10(0.5) dB
    EXPECT_EQ(player::DirectShowVolume(10), -2000);
    EXPECT_EQ(player::DirectShowVolume(0), -10000);  // silence
}

}  // namespace
