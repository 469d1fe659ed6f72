// Many colour services in one process, for the tests of a crowded shared block.
//
//   ColorServiceCrowd.exe name count listen index colour   each service waits up to 60 s for
//                                                           that one change; exit 0 when all
//                                                           got it exactly once
//   ColorServiceCrowd.exe name count hold                  the services stay until the process
//                                                           is ended
//
// "<name>Ready<first slot>" is set once all services are open; the exit code is the number of
// services that missed the change (100 + n for other failures).
#include <windows.h>

#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "color/win32/QorvelColorServices.h"
#include "gui/Handles.h"
#include "support/MessagePump.h"
#include "support/TestColorServices.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR commandLine, int) {
  std::wistringstream arguments(commandLine ? commandLine : L"");
  std::wstring name, mode;
  int count = 0, index = -1;
  TColor color = 0;
  arguments >> name >> count >> mode;
  if (mode == L"listen" && !(arguments >> index >> std::hex >> color)) return 101;
  if ((mode != L"listen" && mode != L"hold") || count < 1 || count > 64) return 101;
  try {
    std::vector<std::unique_ptr<TQorvelColorDefinitionService>> services;
    std::vector<THeardChanges> received(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
      services.push_back(TQorvelColorDefinitionService::Create<TTestColorService>(name));
      services.back()->AddListener(received[static_cast<std::size_t>(i)].Listener());
    }
    const std::wstring ready = name + L"Ready" + std::to_wstring(services.front()->Slot());
    TKernelHandle event(::CreateEventW(nullptr, TRUE, FALSE, ready.c_str()));
    if (event) ::SetEvent(event.Get());

    auto missing = [&] {
      int n = 0;
      for (const THeardChanges& r : received) n += r.Count == 0;
      return n;
    };
    PumpUntil([&] { return mode != L"hold" && missing() == 0; }, 60000);
    for (const THeardChanges& r : received)
      if (r.Count > 1 || (r.Count == 1 && (r.Index != index || r.Color != color))) return 102;
    if (services.front()->GetColor(index) != color) return 103;
    return missing();
  } catch (const EQorvelError&) {
    return 104;
  }
}
