#pragma once
// A named mutex that counts how often this object holds it. Several processes (and several
// objects in one process) meet in the same kernel mutex through its name; ownership itself
// belongs to the calling thread, the count only tracks what this object entered.

#include <windows.h>

#include <string>

#include "gui/Handles.h"
#include "settings/QorvelErrors.h"

class EQorvelMutexError : public EQorvelError {
 public:
  using EQorvelError::EQorvelError;
};

// A mutex that another process keeps (a stuck or hostile program of the user's) would hold
// every start and every colour menu for as long as it likes: the locks of the shared blocks
// wait this long at most, then the caller goes on without the shared data.
inline constexpr DWORD QorvelLockWaitLimitMs = 3000;

class EQorvelMutexBusyError : public EQorvelMutexError {
 public:
  using EQorvelMutexError::EQorvelMutexError;
};

class TQorvelMutexSection {
 public:
  // Creates the named mutex or opens the existing one; an empty name makes a private one.
  // Ownership is requested when asked, but the system grants it only to the creator, so the
  // lock count starts at 1 only when this call created the mutex. Throws EQorvelMutexError.
  TQorvelMutexSection(std::wstring name, bool initialOwner);
  // Releases what this object still holds, then closes the handle; never throws.
  ~TQorvelMutexSection();
  TQorvelMutexSection(const TQorvelMutexSection&) = delete;
  TQorvelMutexSection& operator=(const TQorvelMutexSection&) = delete;

  // Waits without time limit and answers the wait's result. WAIT_OBJECT_0 and WAIT_ABANDONED
  // (the previous owner ended without leaving) both grant ownership and count as a lock.
  DWORD Enter();
  // Waits at most QorvelLockWaitLimitMs, answering messages sent to this thread's windows
  // meanwhile, and answers whether the mutex is held now (an abandoned one is taken over).
  // After a wait that ran out, the next tries only look: a holder that never lets go costs
  // one wait, not one per use, until the mutex is had again.
  bool TryEnter();
  // Releases the mutex once and answers whether the system accepted. The release is tried
  // even at count 0: the thread may hold the mutex through another object of the same name.
  bool Leave();
  // Releases what this object still holds and closes the handle; a failed close throws
  // EQorvelMutexError. Enter and Leave do nothing afterwards.
  void Close();

  const std::wstring& Name() const { return FName; }
  HANDLE Handle() const { return FHandle.Get(); }
  int LockCount() const { return FLockCount; }
  bool Created() const { return FCreated; }

 private:
  void ReleaseHeldLocks();

  std::wstring FName;
  TKernelHandle FHandle;
  int FLockCount = 0;
  bool FCreated = false;
  bool FLastWaitRanOut = false;
};

// Holds a mutex section for one scope, if it can be had in the bounded wait of TryEnter,
// so that an exception cannot leave it locked. Check Held() before touching what it guards.
class TQorvelMutexLock {
 public:
  explicit TQorvelMutexLock(TQorvelMutexSection& section) : FSection(section), FHeld(section.TryEnter()) {}
  ~TQorvelMutexLock() {
    if (FHeld) FSection.Leave();
  }
  TQorvelMutexLock(const TQorvelMutexLock&) = delete;
  TQorvelMutexLock& operator=(const TQorvelMutexLock&) = delete;
  bool Held() const { return FHeld; }

 private:
  TQorvelMutexSection& FSection;
  bool FHeld;
};
