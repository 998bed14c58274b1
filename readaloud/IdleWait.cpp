#include "IdleWait.h"

void WaitForInputOrTimeout(DWORD ms)
{
    // MWMO_INPUTAVAILABLE: also wake for messages that an earlier peek has
    // already seen but left in the queue, so nothing waits behind the sleep.
    MsgWaitForMultipleObjectsEx(0, nullptr, ms, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
}
