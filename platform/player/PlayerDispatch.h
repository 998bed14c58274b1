// The player's IDispatch: URL and playState.
#pragma once

#include "hosting/ControlDispatch.h"

namespace player {

class PlayerWindow;

class PlayerDispatch final : public hosting::ControlDispatch {
public:
    explicit PlayerDispatch(PlayerWindow* window);

protected:
    HRESULT GetProperty(DISPID id, VARIANT* result) override;
    HRESULT PutProperty(DISPID id, const VARIANT& value) override;

private:
    PlayerWindow* window_;  // valid while connected
};

}  // namespace player
