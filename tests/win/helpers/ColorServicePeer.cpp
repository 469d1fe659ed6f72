// Another running copy of a colour service, for the tests of the shared colours. Command
// line: <service name> <mode> [index colour], colour in hexadecimal.
//   set    index colour  sets the colour and ends
//   listen index colour  waits up to 10 s for the change to arrive through its listener
//   crash                registers, then ends without unregistering, as a crash would
// In every mode the event "<service name>Ready" is set once the service is open. The exit
// code tells the test what happened.
#include <windows.h>

#include <cwchar>
#include <sstream>
#include <string>

#include "color/win32/QorvelColorServices.h"
#include "gui/Handles.h"
#include "support/MessagePump.h"
#include "support/TestColorServices.h"

namespace {

enum TPeerResult : int {
  prDone = 0,
  prBadArguments = 1,
  prFailed = 2,       // the service could not be opened
  prTimedOut = 3,     // listen: no change arrived
  prWrongChange = 4,  // listen: a change with another index or colour arrived
  prStoredWrong = 5,  // listen: the block does not hold the announced colour
};

int Listen(TQorvelColorDefinitionService& service, int index, TColor color) {
  THeardChanges received;
  service.AddListener(received.Listener());
  if (!PumpUntil([&] { return received.Count != 0; }, 10000)) return prTimedOut;
  if (received.Count != 1 || received.Index != index || received.Color != color) return prWrongChange;
  return service.GetColor(index) == color ? prDone : prStoredWrong;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR commandLine, int) {
  std::wistringstream arguments(commandLine ? commandLine : L"");
  std::wstring name, mode;
  int index = -1;
  TColor color = 0;
  arguments >> name >> mode;
  if (mode == L"set" || mode == L"listen") {
    if (!(arguments >> index >> std::hex >> color)) return prBadArguments;
  } else if (mode != L"crash") {
    return prBadArguments;
  }
  try {
    auto service = TQorvelColorDefinitionService::Create<TTestColorService>(name);
    TKernelHandle ready(::CreateEventW(nullptr, TRUE, FALSE, (name + L"Ready").c_str()));
    if (ready) ::SetEvent(ready.Get());
    if (mode == L"crash") ::TerminateProcess(::GetCurrentProcess(), prDone);
    if (mode == L"set") {
      service->SetColor(index, color);
      return prDone;
    }
    return Listen(*service, index, color);
  } catch (const EQorvelError&) {
    return prFailed;
  }
}
