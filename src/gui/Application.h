#pragma once
// The toolkit's application object: the title used by message boxes, the hint delay,
// the standard error report and the bookkeeping of modally shown forms. One per process.

#include <windows.h>

#include <exception>
#include <functional>
#include <set>
#include <string>
#include <vector>

class TGuiApplication {
 public:
  static TGuiApplication& Instance();

  const std::wstring& Title() const { return FTitle; }
  void SetTitle(std::wstring title) { FTitle = std::move(title); }

  int HintPause() const { return FHintPause; }
  void SetHintPause(int milliseconds) { FHintPause = milliseconds; }

  // Reports an error raised by a window or menu handler; the program goes on. A handler
  // that fails on every paint or timer tick fails again while its box is open, and box
  // after box would keep the tray and everything else from answering: each message of a
  // raised error is reported once.
  void ReportError(const std::exception& error);
  void ReportError(const std::wstring& message);
  // Tests replace the report to keep message boxes off the screen; a new reporter hears
  // every message again.
  using TErrorReporter = std::function<void(const std::wstring&)>;
  TErrorReporter SetErrorReporter(TErrorReporter reporter);

  // Modal forms push themselves for as long as they are shown modally.
  bool ModalFormActive() const { return !FModalForms.empty(); }
  HWND ActiveModalForm() const { return FModalForms.empty() ? nullptr : FModalForms.back(); }
  void BeginModal(HWND form) { FModalForms.push_back(form); }
  void EndModal(HWND form);

 private:
  TGuiApplication() = default;
  std::wstring FTitle = L"Vindle";
  int FHintPause = 500;
  TErrorReporter FReporter;
  std::set<std::wstring> FReportedErrors;
  std::vector<HWND> FModalForms;
};

// Calls a window's or menu's handler; what it raises is reported and never crosses into
// the system. Answers whether the handler returned normally.
template <typename THandler>
bool CallReportingErrors(THandler&& handler) {
  try {
    handler();
    return true;
  } catch (const std::exception& error) {
    TGuiApplication::Instance().ReportError(error);
  } catch (...) {
    TGuiApplication::Instance().ReportError(L"Unexpected error.");
  }
  return false;
}

// UTF-8 (the core's string encoding) to and from UTF-16 (the Win32 API's).
std::wstring Widen(const std::string& utf8);
std::string Narrow(const std::wstring& utf16);
