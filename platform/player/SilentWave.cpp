// With no sound device nothing in the platform reports how long a file would
// play (PlaySound and MCI return at once), so the length comes from the header.
#include "WavePlayback.h"

#include <algorithm>

namespace player {
namespace {

double Now()
{
    static const double frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return double(f.QuadPart);
    }();
    LARGE_INTEGER c;
    QueryPerformanceCounter(&c);
    return double(c.QuadPart) / frequency;
}

class SilentWave final : public Playback {
public:
    explicit SilentWave(double duration) : duration_(duration) { Play(); }

    PlayState State() override
    {
        if (state_ == PlayState::Playing && Now() - startedAt_ >= duration_)
            Stop();
        return state_;
    }

    void Play() override
    {
        if (State() == PlayState::Playing)
            return;
        startedAt_ = Now() - offset_;
        state_ = PlayState::Playing;
    }

    void Pause() override
    {
        if (State() != PlayState::Playing)
            return;
        offset_ = Now() - startedAt_;
        state_ = PlayState::Paused;
    }

    void Stop() override
    {
        offset_ = 0;
        state_ = PlayState::Stopped;
    }

    double Duration() override { return duration_; }

    double Position() override
    {
        switch (State()) {
        case PlayState::Playing: return std::min(Now() - startedAt_, duration_);
        case PlayState::Paused: return offset_;
        default: return 0;
        }
    }

    void Seek(double seconds) override
    {
        seconds = std::clamp(seconds, 0.0, duration_);
        if (State() == PlayState::Playing)
            startedAt_ = Now() - seconds;
        else
            offset_ = seconds;  // a stopped file starts from here when played
    }

private:
    double duration_;
    double startedAt_ = 0;  // Now() at position 0 of the current run
    double offset_ = 0;     // position while paused or stopped
    PlayState state_ = PlayState::Stopped;
};

}  // namespace

std::unique_ptr<Playback> OpenSilentWave(const WavInfo& info)
{
    return std::make_unique<SilentWave>(info.Seconds());
}

}  // namespace player
