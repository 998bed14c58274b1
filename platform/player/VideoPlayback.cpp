#define NO_DSHOW_STRSAFE
#include "VideoPlayback.h"

#include "Volume.h"

#include <dshow.h>

#include <algorithm>
#include <cmath>

namespace player {
namespace {

// Owns one reference; just enough of a smart pointer for a dozen interfaces.
template <class T>
class Ref {
public:
    Ref() = default;
    Ref(const Ref&) = delete;
    Ref& operator=(const Ref&) = delete;
    ~Ref() { Reset(); }
    void Reset()
    {
        if (p_)
            p_->Release();
        p_ = nullptr;
    }
    T** Out() { Reset(); return &p_; }
    void** OutVoid() { return reinterpret_cast<void**>(Out()); }
    T* operator->() const { return p_; }
    T* Get() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }

private:
    T* p_ = nullptr;
};

constexpr double kUnitsPerSecond = 1e7;  // REFERENCE_TIME is in 100 ns

bool IsConnected(IBaseFilter* filter)
{
    Ref<IEnumPins> pins;
    if (FAILED(filter->EnumPins(pins.Out())))
        return false;
    Ref<IPin> pin;
    while (pins->Next(1, pin.Out(), nullptr) == S_OK) {
        Ref<IPin> peer;
        if (SUCCEEDED(pin->ConnectedTo(peer.Out())) && peer)
            return true;
    }
    return false;
}

class VideoPlayback final : public Playback {
public:
    ~VideoPlayback() override
    {
        if (control_)
            control_->Stop();
        if (events_)
            events_->SetNotifyWindow(0, 0, 0);
        // The renderer's window must not outlive the graph as a child of ours.
        if (window_) {
            window_->put_Visible(OAFALSE);
            window_->put_Owner(0);
        }
        video_.Reset();
        window_.Reset();
        events_.Reset();
        seeking_.Reset();
        control_.Reset();
        renderer_.Reset();
        graph_.Reset();
    }

    bool Open(const std::wstring& path, int volume, HWND screen, HWND notify)
    {
        if (FAILED(CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder,
                                    graph_.OutVoid())))
            return false;
        // Pictures show in a child window only through the old Video Renderer,
        // and only when it is in the graph before RenderFile picks one itself.
        if (SUCCEEDED(CoCreateInstance(CLSID_VideoRenderer, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter,
                                       renderer_.OutVoid())))
            graph_->AddFilter(renderer_.Get(), L"Video Renderer");
        // Partial renders (VFW_S_PARTIAL_RENDER: no sound device) still play the picture.
        if (FAILED(graph_->RenderFile(path.c_str(), nullptr)))
            return false;
        if (renderer_ && !IsConnected(renderer_.Get())) {
            graph_->RemoveFilter(renderer_.Get());
            renderer_.Reset();
        }
        if (FAILED(graph_->QueryInterface(IID_IMediaControl, control_.OutVoid())) ||
            FAILED(graph_->QueryInterface(IID_IMediaSeeking, seeking_.OutVoid())) ||
            FAILED(graph_->QueryInterface(IID_IMediaEventEx, events_.OutVoid())))
            return false;
        events_->SetNotifyWindow(reinterpret_cast<OAHWND>(notify), kGraphEventMessage, 0);
        // Without a sound renderer (no device) there is nothing to set.
        Ref<IBasicAudio> audio;
        if (SUCCEEDED(graph_->QueryInterface(IID_IBasicAudio, audio.OutVoid())))
            audio->put_Volume(DirectShowVolume(volume));
        if (renderer_ && SUCCEEDED(graph_->QueryInterface(IID_IVideoWindow, window_.OutVoid()))) {
            graph_->QueryInterface(IID_IBasicVideo, video_.OutVoid());
            window_->put_Owner(reinterpret_cast<OAHWND>(screen));
            window_->put_WindowStyle(WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN);
            // No message drain: a drain is posted the picture's mouse messages in the
            // picture's own coordinates, and would take them for its own (a right-click
            // would open the menu off the pointer by the height of the bar above the
            // picture). Left alone, the picture hands a right-click to its parents as
            // WM_CONTEXTMENU at the screen point of the click.
            RECT rect;
            GetClientRect(screen, &rect);
            PlaceVideo(rect);
            window_->put_Visible(OATRUE);
        }
        Play();
        return state_ == PlayState::Playing;
    }

    PlayState State() override
    {
        DrainEvents();
        return state_;
    }

    void Play() override
    {
        if (SUCCEEDED(control_->Run()))
            state_ = PlayState::Playing;
    }

    void Pause() override
    {
        if (State() == PlayState::Playing && SUCCEEDED(control_->Pause()))
            state_ = PlayState::Paused;
    }

    // The graph neither rewinds on Stop nor stops by itself at the end.
    void Stop() override
    {
        control_->Stop();
        SetPosition(0);
        state_ = PlayState::Stopped;
    }

    double Duration() override
    {
        LONGLONG duration = 0;
        if (FAILED(seeking_->GetDuration(&duration)))
            return 0;
        return double(duration) / kUnitsPerSecond;
    }

    double Position() override
    {
        LONGLONG position = 0;
        if (FAILED(seeking_->GetCurrentPosition(&position)))
            return 0;
        return double(position) / kUnitsPerSecond;
    }

    // The graph is stopped for the seek and put back as it was: with a sound
    // device, Wine's DirectSound renderer hangs the next Stop after a seek in
    // a running or paused graph.
    void Seek(double seconds) override
    {
        const PlayState before = State();
        control_->Stop();
        SetPosition(std::clamp(seconds, 0.0, Duration()));
        if (before == PlayState::Playing)
            control_->Run();
        else if (before == PlayState::Paused)
            control_->Pause();
    }

    // Like the Media Player with stretchToFit off: the picture keeps its
    // proportions, is never enlarged beyond its own size, and is centred.
    void PlaceVideo(const RECT& rect) override
    {
        if (!window_)
            return;
        const long areaW = rect.right - rect.left, areaH = rect.bottom - rect.top;
        long w = areaW, h = areaH;
        long videoW = 0, videoH = 0;
        if (video_ && SUCCEEDED(video_->GetVideoSize(&videoW, &videoH)) && videoW > 0 && videoH > 0) {
            const double scale = std::min({1.0, double(areaW) / videoW, double(areaH) / videoH});
            w = std::lround(videoW * scale);
            h = std::lround(videoH * scale);
        }
        window_->SetWindowPosition(rect.left + (areaW - w) / 2, rect.top + (areaH - h) / 2, w, h);
    }

    void OnGraphEvent() override { DrainEvents(); }

private:
    void SetPosition(double seconds)
    {
        LONGLONG position = LONGLONG(seconds * kUnitsPerSecond);
        seeking_->SetPositions(&position, AM_SEEKING_AbsolutePositioning, nullptr, AM_SEEKING_NoPositioning);
    }

    void DrainEvents()
    {
        long code = 0;
        LONG_PTR param1 = 0, param2 = 0;
        while (events_->GetEvent(&code, &param1, &param2, 0) == S_OK) {
            events_->FreeEventParams(code, param1, param2);
            if (code == EC_COMPLETE || code == EC_USERABORT || code == EC_ERRORABORT)
                Stop();
        }
    }

    Ref<IGraphBuilder> graph_;
    Ref<IBaseFilter> renderer_;
    Ref<IMediaControl> control_;
    Ref<IMediaSeeking> seeking_;
    Ref<IMediaEventEx> events_;
    Ref<IVideoWindow> window_;
    Ref<IBasicVideo> video_;
    PlayState state_ = PlayState::Stopped;
};

}  // namespace

std::unique_ptr<Playback> OpenVideo(const std::wstring& path, int volume, HWND screen, HWND notify)
{
    auto playback = std::make_unique<VideoPlayback>();
    if (!playback->Open(path, volume, screen, notify))
        return nullptr;
    return playback;
}

}  // namespace player
