#include "gui/QorvelMutexSections.h"

#include <utility>

TQorvelMutexSection::TQorvelMutexSection(std::wstring name, bool initialOwner) : FName(std::move(name)) {
  // Creation leaves the last error alone when the mutex is new on some systems: clear it so
  // that ERROR_ALREADY_EXISTS can only come from this call.
  ::SetLastError(ERROR_SUCCESS);
  FHandle.Reset(::CreateMutexW(nullptr, initialOwner ? TRUE : FALSE, FName.empty() ? nullptr : FName.c_str()));
  const DWORD error = ::GetLastError();
  if (!FHandle) throw EQorvelMutexError("Mutex could not be created.");
  FCreated = error != ERROR_ALREADY_EXISTS;
  FLockCount = initialOwner && FCreated ? 1 : 0;
}

TQorvelMutexSection::~TQorvelMutexSection() {
  // A handle closed while owned keeps the mutex owned by this thread until it ends, and every
  // other instance waiting for it would hang that long.
  ReleaseHeldLocks();
}

DWORD TQorvelMutexSection::Enter() {
  if (!FHandle) return WAIT_FAILED;
  const DWORD result = ::WaitForSingleObject(FHandle.Get(), INFINITE);
  if (result == WAIT_OBJECT_0 || result == WAIT_ABANDONED) ++FLockCount;
  return result;
}

bool TQorvelMutexSection::TryEnter() {
  if (!FHandle) return false;
  const ULONGLONG until = ::GetTickCount64() + (FLastWaitRanOut ? 0 : QorvelLockWaitLimitMs);
  HANDLE handle = FHandle.Get();
  const auto granted = [](DWORD result) { return result == WAIT_OBJECT_0 || result == WAIT_ABANDONED_0; };
  DWORD result = WAIT_TIMEOUT;
  for (;;) {
    const ULONGLONG now = ::GetTickCount64();
    const DWORD left = now < until ? static_cast<DWORD>(until - now) : 0;
    // Only sent messages are answered here: the caller is in the middle of something, and a
    // posted message (a click, a timer) could start something else that needs this lock.
    result = ::MsgWaitForMultipleObjects(1, &handle, FALSE, left, QS_SENDMESSAGE);
    if (granted(result) || result != WAIT_OBJECT_0 + 1 || left == 0) break;
    MSG message;
    ::PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
  }
  if (!granted(result)) result = ::WaitForSingleObject(handle, 0);  // a last look
  FLastWaitRanOut = !granted(result);
  if (FLastWaitRanOut) return false;
  ++FLockCount;
  return true;
}

bool TQorvelMutexSection::Leave() {
  if (!FHandle) return false;
  const bool released = ::ReleaseMutex(FHandle.Get()) != FALSE;
  if (FLockCount > 0) --FLockCount;
  return released;
}

void TQorvelMutexSection::Close() {
  if (!FHandle) return;
  ReleaseHeldLocks();
  if (!::CloseHandle(FHandle.Release())) throw EQorvelMutexError("Mutex could not be closed.");
}

void TQorvelMutexSection::ReleaseHeldLocks() {
  while (FLockCount > 0 && FHandle) Leave();
}
