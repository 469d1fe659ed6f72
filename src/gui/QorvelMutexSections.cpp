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
