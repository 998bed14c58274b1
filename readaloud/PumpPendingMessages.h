// Drains the calling thread's message queue while a long handler keeps running.
#pragma once

// Removes every waiting message (any window, any number), translates and
// dispatches each, and returns as soon as the queue is empty; it never blocks.
// No dialog keyboard handling and no framework pre-translation happen here, so
// access keys, Tab, Enter and Esc do nothing while a caller pumps this way.
void PumpPendingMessages();
