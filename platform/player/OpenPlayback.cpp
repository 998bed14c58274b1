// Chooses how a URL is played: WAV files through winmm (or the silent clock
// when the machine has no sound device), everything else through DirectShow.
#include "Playback.h"
#include "VideoPlayback.h"
#include "Volume.h"
#include "WavePlayback.h"

#include <mmsystem.h>

#include <string_view>

namespace player {
namespace {

constexpr DWORD kHeadBytes = 1 << 20;          // where the "data" chunk header must lie
constexpr uint64_t kMaxDeviceWave = 512u << 20;  // larger WAVs go to DirectShow, which streams

bool HasExtension(const std::wstring& path, std::wstring_view ext)
{
    return path.size() >= ext.size() && _wcsicmp(path.c_str() + path.size() - ext.size(), ext.data()) == 0;
}

class File {
public:
    explicit File(const std::wstring& path)
        : handle_(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)) {}
    ~File()
    {
        if (handle_ != INVALID_HANDLE_VALUE)
            CloseHandle(handle_);
    }
    bool IsOpen() const { return handle_ != INVALID_HANDLE_VALUE; }

    uint64_t Size() const
    {
        LARGE_INTEGER size{};
        return GetFileSizeEx(handle_, &size) ? uint64_t(size.QuadPart) : 0;
    }

    // Reads up to `count` bytes from `offset`; gives what it could read.
    std::string Read(uint64_t offset, uint64_t count) const
    {
        std::string bytes;
        LARGE_INTEGER to;
        to.QuadPart = LONGLONG(offset);
        if (!SetFilePointerEx(handle_, to, nullptr, FILE_BEGIN))
            return bytes;
        bytes.resize(count);
        size_t done = 0;
        while (done < count) {
            DWORD chunk = DWORD(std::min<uint64_t>(count - done, 1u << 24)), got = 0;
            if (!ReadFile(handle_, bytes.data() + done, chunk, &got, nullptr) || got == 0)
                break;
            done += got;
        }
        bytes.resize(done);
        return bytes;
    }

private:
    HANDLE handle_;
};

// Gives nullptr when `path` is not a WAV file we can play; `isWav` tells the
// caller whether DirectShow should still be tried.
std::unique_ptr<Playback> OpenWave(const std::wstring& path, int volume, bool& isWav)
{
    File file(path);
    isWav = false;
    if (!file.IsOpen())
        return nullptr;
    const uint64_t size = file.Size();
    const std::string head = file.Read(0, std::min<uint64_t>(size, kHeadBytes));
    isWav = LooksLikeWav(head);
    const std::optional<WavInfo> info = ParseWav(head, size);
    if (!info)
        return nullptr;
    if (waveOutGetNumDevs() == 0)
        return OpenSilentWave(*info);
    if (info->dataSize > kMaxDeviceWave)
        return nullptr;
    std::string data = file.Read(info->dataOffset, info->dataSize);
    if (data.size() != info->dataSize)
        return nullptr;
    // The samples themselves are scaled: waveOutSetVolume is optional for a
    // device and read logarithmically, so half of it is not half the amplitude.
    // A compressed format goes to DirectShow, which sets its volume itself.
    if (!ScaleSamples(*info, data, volume))
        return nullptr;
    return OpenDeviceWave(*info, std::move(data));
}

}  // namespace

std::unique_ptr<Playback> OpenPlayback(const std::wstring& path, int volume, HWND screen, HWND notify)
{
    if (path.empty() || path.find(L"://") != std::wstring::npos)
        return nullptr;  // nothing to play, or a stream address: only files are played
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return nullptr;

    bool isWav = false;
    if (auto wave = OpenWave(path, volume, isWav))
        return wave;
    // A WAV whose format the device refuses may still decode through DirectShow;
    // a file named .wav that is no WAV at all is not worth handing to it.
    if (!isWav && HasExtension(path, L".wav"))
        return nullptr;
    return OpenVideo(path, volume, screen, notify);
}

}  // namespace player
