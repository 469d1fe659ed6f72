#include "support/HeldMutex.h"

THeldMutex::THeldMutex(const std::wstring& name)
    : FHolder([this, name] {
        const TKernelHandle mutex(::CreateMutexW(nullptr, FALSE, name.c_str()));
        if (mutex) ::WaitForSingleObject(mutex.Get(), INFINITE);
        ::SetEvent(FHeld.Get());
        ::WaitForSingleObject(FLetGo.Get(), INFINITE);
      }) {
  ::WaitForSingleObject(FHeld.Get(), INFINITE);
}

THeldMutex::~THeldMutex() {
  ::SetEvent(FLetGo.Get());
  FHolder.join();
}
