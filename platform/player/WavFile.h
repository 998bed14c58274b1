// Reads what the player needs from a RIFF/WAVE file: its format block and
// where its sample data lies. No Win32 beyond the WAVEFORMATEX layout.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace player {

struct WavInfo {
    std::vector<uint8_t> format;  // the "fmt " chunk, at least a WAVEFORMAT (16 bytes)
    uint64_t dataOffset = 0;      // from the start of the file
    uint64_t dataSize = 0;        // clipped to what the file really holds
    uint32_t byteRate = 0;        // nAvgBytesPerSec
    uint16_t blockAlign = 0;

    double Seconds() const { return byteRate ? double(dataSize) / byteRate : 0.0; }
};

// True when the bytes begin like a RIFF/WAVE file.
bool LooksLikeWav(std::string_view head);

// Parses a whole file, or as much of its start as holds the "data" chunk
// header; `fileSize` is the real size on disk. Gives nothing for anything that
// is not a playable WAVE layout (no fmt before data, zero byte rate, ...).
std::optional<WavInfo> ParseWav(std::string_view bytes, uint64_t fileSize);

}  // namespace player
