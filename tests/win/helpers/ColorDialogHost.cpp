// The colour selection dialog in a process of its own, on the colour service named on the
// command line, so that tests can watch two dialogs share their user-defined colours.
// Command line: <service name> <colour RRGGBB in hexadecimal> [caption]. The exit code is
// 0 after OK, 1 after Cancel, 2 for bad arguments.
#include <windows.h>

#include <cwchar>
#include <memory>
#include <string>

#include "color/win32/QorvelColorDialogs.h"
#include "color/win32/QorvelColorServices.h"
#include "gui/Application.h"
#include "ruler/QorvelColorUtils.h"
#include "support/HelperOutput.h"

namespace {

class THostService : public TQorvelColorDefinitionService {
 protected:
  friend class TQorvelColorDefinitionService;
  explicit THostService(std::wstring name) : FName(std::move(name)) {}
  std::wstring GetServiceName() const override { return FName; }
  // Another program's colours are none of this one's business to store.
  void LoadColors() override {}
  void SaveColors() override {}

 private:
  std::wstring FName;
};

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  const std::vector<std::wstring> args = CommandArguments();
  if (args.size() < 2) return 2;
  const std::wstring& name = args[0];
  wchar_t* end = nullptr;
  const unsigned long rgb = std::wcstoul(args[1].c_str(), &end, 16);
  if (end == args[1].c_str() || *end != L'\0' || rgb > 0xFFFFFFul) return 2;
  const std::wstring caption = args.size() > 2 ? args[2] : L"Color dialog host";

  SetColorDefinitionService(TQorvelColorDefinitionService::Create<THostService>(name));
  TQorvelColorDialog dialog;
  dialog.Color = SwapRedBlue(static_cast<TColor>(rgb));
  dialog.Caption = Narrow(caption);
  const bool ok = dialog.Execute();
  SetColorDefinitionService(nullptr);
  return ok ? 0 : 1;
}
