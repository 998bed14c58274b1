// The player's IDispatch: URL, close, playState and uiMode.
#pragma once

#include "hosted/ControlDispatch.h"

namespace player {

class PlayerWindow;

class PlayerDispatch final : public hosted::ControlDispatch {
public:
    explicit PlayerDispatch(PlayerWindow* window);

protected:
    HRESULT GetProperty(DISPID id, VARIANT* result, EXCEPINFO* excepInfo) override;
    HRESULT PutProperty(DISPID id, const VARIANT& value, EXCEPINFO* excepInfo) override;
    HRESULT CallMethod(DISPID id, std::span<const VARIANT> args, VARIANT* result, EXCEPINFO* excepInfo,
                       UINT* argErr) override;

private:
    PlayerWindow* window_;  // valid while connected
};

}  // namespace player
