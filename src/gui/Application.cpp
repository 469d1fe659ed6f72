#include "gui/Application.h"

#include <algorithm>

TGuiApplication& TGuiApplication::Instance() {
  static TGuiApplication application;
  return application;
}

void TGuiApplication::ReportError(const std::exception& error) {
  std::wstring message = Widen(error.what());
  if (FReportedErrors.insert(message).second) ReportError(message);
}

void TGuiApplication::ReportError(const std::wstring& message) {
  if (FReporter) {
    FReporter(message);
    return;
  }
  ::MessageBoxW(nullptr, message.c_str(), FTitle.c_str(), MB_OK | MB_ICONERROR | MB_TASKMODAL);
}

TGuiApplication::TErrorReporter TGuiApplication::SetErrorReporter(TErrorReporter reporter) {
  std::swap(reporter, FReporter);
  FReportedErrors.clear();
  return reporter;
}

void TGuiApplication::EndModal(HWND form) {
  auto it = std::find(FModalForms.rbegin(), FModalForms.rend(), form);
  if (it != FModalForms.rend()) FModalForms.erase(std::next(it).base());
}

std::wstring Widen(const std::string& utf8) {
  if (utf8.empty()) return {};
  const int length = ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring result(static_cast<std::size_t>(length), L'\0');
  ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), result.data(), length);
  return result;
}

std::string Narrow(const std::wstring& utf16) {
  if (utf16.empty()) return {};
  const int length =
      ::WideCharToMultiByte(CP_UTF8, 0, utf16.data(), static_cast<int>(utf16.size()), nullptr, 0, nullptr, nullptr);
  std::string result(static_cast<std::size_t>(length), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, utf16.data(), static_cast<int>(utf16.size()), result.data(), length, nullptr,
                        nullptr);
  return result;
}
