#include "WavFile.h"

#include <algorithm>
#include <cstring>

namespace player {
namespace {

uint32_t Le32(const char* p)
{
    const auto* b = reinterpret_cast<const unsigned char*>(p);
    return b[0] | (b[1] << 8) | (b[2] << 16) | (uint32_t(b[3]) << 24);
}

uint16_t Le16(const char* p)
{
    const auto* b = reinterpret_cast<const unsigned char*>(p);
    return uint16_t(b[0] | (b[1] << 8));
}

}  // namespace

bool LooksLikeWav(std::string_view head)
{
    return head.size() >= 12 && head.substr(0, 4) == "RIFF" && head.substr(8, 4) == "WAVE";
}

std::optional<WavInfo> ParseWav(std::string_view bytes, uint64_t fileSize)
{
    if (!LooksLikeWav(bytes))
        return std::nullopt;
    WavInfo info;
    bool haveFormat = false;
    uint64_t pos = 12;
    while (pos + 8 <= bytes.size()) {
        const std::string_view id = bytes.substr(pos, 4);
        const uint64_t size = Le32(bytes.data() + pos + 4);
        const uint64_t body = pos + 8;
        if (id == "fmt ") {
            if (size < 16 || body + size > bytes.size())
                return std::nullopt;
            const char* f = bytes.data() + body;
            info.format.assign(f, f + size);
            info.byteRate = Le32(f + 8);
            info.blockAlign = Le16(f + 12);
            haveFormat = true;
        } else if (id == "data") {
            if (!haveFormat || info.byteRate == 0 || info.blockAlign == 0 || body > fileSize)
                return std::nullopt;
            info.dataOffset = body;
            // Writers that stream leave the size at 0 or 0xFFFFFFFF, and files get
            // cut short: what is on disk is what plays.
            uint64_t available = fileSize - body;
            info.dataSize = (size == 0 || size == 0xFFFFFFFFu) ? available : std::min(size, available);
            info.dataSize -= info.dataSize % info.blockAlign;
            return info;
        }
        pos = body + size + (size & 1);  // chunks are padded to even sizes
    }
    return std::nullopt;
}

}  // namespace player
