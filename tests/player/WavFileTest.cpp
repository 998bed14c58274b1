// Reading WAV headers: where the samples are and how long they play.
#include "platform/player/WavFile.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace {

std::string Le32(uint32_t v) { return {char(v), char(v >> 8), char(v >> 16), char(v >> 24)}; }

std::string Chunk(const std::string& id, const std::string& body) { return id + Le32(uint32_t(body.size())) + body; }

// A WAVEFORMAT for 16-bit mono PCM at `rate` samples a second.
std::string Format(uint32_t rate, uint16_t channels = 1)
{
    std::string f = {1, 0, char(channels), 0};
    f += Le32(rate) + Le32(rate * 2 * channels);
    f += {char(2 * channels), 0, 16, 0};
    return f;
}

std::string Riff(const std::string& chunks) { return "RIFF" + Le32(uint32_t(chunks.size() + 4)) + "WAVE" + chunks; }

TEST(WavFile, DurationIsDataSizeOverByteRate)
{
    const std::string wav = Riff(Chunk("fmt ", Format(8000)) + Chunk("data", std::string(8000, '\0')));
    const auto info = player::ParseWav(wav, wav.size());
    ASSERT_TRUE(info);
    EXPECT_EQ(info->dataOffset, 44u);
    EXPECT_EQ(info->dataSize, 8000u);
    EXPECT_DOUBLE_EQ(info->Seconds(), 0.5);
}

TEST(WavFile, ChunksBeforeDataAreSkippedWithTheirPadding)
{
    // An odd-sized LIST chunk is followed by a pad byte.
    const std::string wav = Riff(Chunk("fmt ", Format(1000, 2)) + Chunk("LIST", "abc") + std::string(1, '\0') +
                                 Chunk("data", std::string(400, '\0')));
    const auto info = player::ParseWav(wav, wav.size());
    ASSERT_TRUE(info);
    EXPECT_EQ(info->dataOffset, wav.size() - 400);
    EXPECT_DOUBLE_EQ(info->Seconds(), 0.1);
    EXPECT_EQ(info->blockAlign, 4);
}

TEST(WavFile, SizeIsClippedToTheFile)
{
    // Declared 1 s, 3 bytes more than a block on disk, or a streaming writer's size.
    const std::string head = Riff(Chunk("fmt ", Format(8000)));
    for (uint32_t declared : {16000u, 0u, 0xFFFFFFFFu}) {
        SCOPED_TRACE(declared);
        const std::string wav = head + "data" + Le32(declared) + std::string(803, '\0');
        const auto info = player::ParseWav(wav, wav.size());
        ASSERT_TRUE(info);
        EXPECT_EQ(info->dataSize, 802u);
    }
}

TEST(WavFile, HeadOfALargerFileIsEnough)
{
    const std::string head = Riff(Chunk("fmt ", Format(8000))) + "data" + Le32(160000);
    const auto info = player::ParseWav(head, head.size() + 160000);
    ASSERT_TRUE(info);
    EXPECT_DOUBLE_EQ(info->Seconds(), 10.0);
}

TEST(WavFile, WhatIsNotAPlayableWaveGivesNothing)
{
    const std::string data = Chunk("data", std::string(100, '\0'));
    std::string zeroRate = Format(8000);
    zeroRate.replace(8, 4, Le32(0));
    const struct {
        const char* what;
        std::string bytes;
    } cases[] = {
        {"empty", ""},
        {"not RIFF", "RIFX" + Le32(4) + "WAVE"},
        {"RIFF but not WAVE", "RIFF" + Le32(4) + "AVI "},
        {"data before fmt", Riff(data + Chunk("fmt ", Format(8000)))},
        {"no data chunk", Riff(Chunk("fmt ", Format(8000)))},
        {"short fmt", Riff(Chunk("fmt ", "\x01\x00\x01\x00") + data)},
        {"zero byte rate", Riff(Chunk("fmt ", zeroRate) + data)},
        {"fmt runs past the end", Riff("fmt " + Le32(1000) + Format(8000))},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_FALSE(player::ParseWav(c.bytes, c.bytes.size()));
    }
    EXPECT_FALSE(player::LooksLikeWav("RIFF"));
    EXPECT_TRUE(player::LooksLikeWav(std::string_view("RIFF\0\0\0\0WAVE", 12)));
}

}  // namespace
