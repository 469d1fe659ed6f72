#pragma once
// A named mutex owned by another thread for as long as this object lives, as a stuck program
// would own it; the thread ends without releasing it, which leaves the mutex abandoned.
#include <windows.h>

#include <string>
#include <thread>

#include "gui/Handles.h"

class THeldMutex {
 public:
  explicit THeldMutex(const std::wstring& name);
  ~THeldMutex();
  THeldMutex(const THeldMutex&) = delete;
  THeldMutex& operator=(const THeldMutex&) = delete;

 private:
  TKernelHandle FHeld{::CreateEventW(nullptr, TRUE, FALSE, nullptr)};
  TKernelHandle FLetGo{::CreateEventW(nullptr, TRUE, FALSE, nullptr)};
  std::thread FHolder;
};
