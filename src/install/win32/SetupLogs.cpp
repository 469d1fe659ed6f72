#include "install/win32/SetupLogs.h"

#include <windows.h>

#include <cstdio>

#include "gui/Application.h"

TSetupLog::TSetupLog(std::wstring path)
    : FPath(std::move(path)),
      FFile(::CreateFileW(FPath.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                          FILE_ATTRIBUTE_NORMAL, nullptr)) {}

void TSetupLog::Write(const std::wstring& line) {
  if (!FFile) return;
  SYSTEMTIME now{};
  ::GetLocalTime(&now);
  char stamp[32];
  std::snprintf(stamp, sizeof stamp, "%04u-%02u-%02u %02u:%02u:%02u.%03u  ", now.wYear, now.wMonth, now.wDay, now.wHour,
                now.wMinute, now.wSecond, now.wMilliseconds);
  const std::string text = stamp + Narrow(line) + "\r\n";
  DWORD written = 0;
  ::WriteFile(FFile.Get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

std::wstring TSetupLog::TemporaryPath(const std::wstring& product) {
  wchar_t folder[MAX_PATH + 1] = {};
  if (!::GetTempPathW(MAX_PATH + 1, folder)) return {};
  SYSTEMTIME now{};
  ::GetLocalTime(&now);
  wchar_t name[64];
  std::swprintf(name, 64, L"Setup-%04u%02u%02u-%02u%02u%02u.log", now.wYear, now.wMonth, now.wDay, now.wHour,
                now.wMinute, now.wSecond);
  return std::wstring(folder) + product + name;
}
