#include "support/MessagePump.h"

#include <algorithm>

void PumpMessages() {
  MSG message;
  while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
  }
}

void PumpFor(DWORD milliseconds) {
  PumpUntil([] { return false; }, milliseconds);
}

bool PumpUntil(const std::function<bool()>& done, DWORD milliseconds) {
  const ULONGLONG end = ::GetTickCount64() + milliseconds;
  for (;;) {
    PumpMessages();
    if (done()) return true;
    const ULONGLONG now = ::GetTickCount64();
    if (now >= end) return false;
    // Wakes for the next message at once; the short cap keeps `done` checked when the
    // awaited change comes from another thread or process without a message.
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(std::min<ULONGLONG>(end - now, 10)), QS_ALLINPUT);
  }
}

int RunUntilQuit(HWND dialog, const std::function<bool(const MSG&)>& offer) {
  MSG message;
  while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (offer && offer(message)) continue;
    if (dialog && ::IsDialogMessageW(dialog, &message)) continue;
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
  }
  return static_cast<int>(message.wParam);
}
