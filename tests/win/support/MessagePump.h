#pragma once
// The message loop a test runs while it waits for windows, timers and other processes: the
// messages are translated and dispatched as the program's own loop would.
#include <windows.h>

#include <functional>

// Dispatches what is queued now and returns.
void PumpMessages();

// Dispatches messages as they come for `milliseconds`.
void PumpFor(DWORD milliseconds);

// Dispatches messages as they come until `done` holds or `milliseconds` have passed;
// answers whether `done` held.
bool PumpUntil(const std::function<bool()>& done, DWORD milliseconds);

// A helper program's loop until it quits: `offer` may take a message first (answering true
// when it did), then `dialog`'s keys (Tab, arrows, access keys) move the focus in it.
// Answers the quit message's code.
int RunUntilQuit(HWND dialog = nullptr, const std::function<bool(const MSG&)>& offer = {});
