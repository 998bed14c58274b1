// WAV through waveOut. The whole sample data is handed to the device in one
// buffer; the buffer's WHDR_DONE flag tells when the device has played it,
// which the state reads on every query (no callback, nothing to pump).
#include "WavePlayback.h"

#include <mmsystem.h>

#include <algorithm>
#include <string>

namespace player {
namespace {

class DeviceWave final : public Playback {
public:
    DeviceWave(HWAVEOUT device, const WavInfo& info, std::string data)
        : device_(device), data_(std::move(data)), byteRate_(info.byteRate), blockAlign_(info.blockAlign) {}

    ~DeviceWave() override
    {
        Halt();
        waveOutClose(device_);
    }

    void Start(uint64_t offset)
    {
        offset = std::min<uint64_t>(offset - offset % blockAlign_, data_.size());
        header_ = WAVEHDR{};
        header_.lpData = data_.data() + offset;
        header_.dwBufferLength = DWORD(data_.size() - offset);
        startOffset_ = offset;
        if (waveOutPrepareHeader(device_, &header_, sizeof header_) != MMSYSERR_NOERROR ||
            waveOutWrite(device_, &header_, sizeof header_) != MMSYSERR_NOERROR) {
            Halt();
            state_ = PlayState::Stopped;
            return;
        }
        queued_ = true;
    }

    PlayState State() override
    {
        if (state_ == PlayState::Playing && queued_ &&
            (static_cast<volatile DWORD&>(header_.dwFlags) & WHDR_DONE))
            Stop();
        return state_;
    }

    void Play() override
    {
        switch (State()) {
        case PlayState::Playing: return;
        case PlayState::Paused: waveOutRestart(device_); break;
        case PlayState::Stopped: waveOutRestart(device_); Start(resumeAt_); break;
        }
        resumeAt_ = 0;
        state_ = queued_ ? PlayState::Playing : PlayState::Stopped;
    }

    void Pause() override
    {
        if (State() != PlayState::Playing)
            return;
        waveOutPause(device_);
        state_ = PlayState::Paused;
    }

    void Stop() override
    {
        Halt();
        resumeAt_ = 0;
        state_ = PlayState::Stopped;
    }

    double Duration() override { return double(data_.size()) / byteRate_; }

    double Position() override
    {
        if (State() == PlayState::Stopped)
            return double(resumeAt_) / byteRate_;
        MMTIME time{};
        time.wType = TIME_BYTES;
        waveOutGetPosition(device_, &time, sizeof time);
        const uint64_t played = time.wType == TIME_BYTES ? time.u.cb : 0;
        return double(std::min<uint64_t>(startOffset_ + played, data_.size())) / byteRate_;
    }

    void Seek(double seconds) override
    {
        const uint64_t offset = uint64_t(std::clamp(seconds, 0.0, Duration()) * byteRate_);
        const PlayState before = State();
        if (before == PlayState::Stopped) {
            resumeAt_ = offset;
            return;
        }
        Halt();
        if (before == PlayState::Paused)
            waveOutPause(device_);  // written buffers wait until Play restarts the device
        Start(offset);
        state_ = queued_ ? before : PlayState::Stopped;
    }

private:
    // Takes the buffer back from the device; its position restarts at 0.
    void Halt()
    {
        if (!queued_)
            return;
        waveOutReset(device_);
        waveOutUnprepareHeader(device_, &header_, sizeof header_);
        queued_ = false;
    }

    HWAVEOUT device_;
    std::string data_;
    uint32_t byteRate_;
    uint16_t blockAlign_;
    WAVEHDR header_{};
    bool queued_ = false;
    uint64_t startOffset_ = 0;  // data offset the queued buffer begins at
    uint64_t resumeAt_ = 0;     // where Play starts from when stopped
    PlayState state_ = PlayState::Stopped;
};

}  // namespace

std::unique_ptr<Playback> OpenDeviceWave(const WavInfo& info, std::string data)
{
    // A 16-byte "fmt " chunk is a WAVEFORMAT without cbSize; waveOutOpen wants a WAVEFORMATEX.
    std::string format(info.format.begin(), info.format.end());
    if (format.size() < sizeof(WAVEFORMATEX))
        format.resize(sizeof(WAVEFORMATEX), '\0');
    if (data.size() > 0xFFFFFFF0u)
        return nullptr;
    HWAVEOUT device = nullptr;
    if (waveOutOpen(&device, WAVE_MAPPER, reinterpret_cast<const WAVEFORMATEX*>(format.data()), 0, 0,
                    CALLBACK_NULL) != MMSYSERR_NOERROR)
        return nullptr;
    auto playback = std::make_unique<DeviceWave>(device, info, std::move(data));
    playback->Play();
    return playback;
}

}  // namespace player
