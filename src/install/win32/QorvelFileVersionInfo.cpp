#include "install/QorvelFileVersionInfo.h"

#include <windows.h>

#include <cstdio>
#include <vector>

namespace {
const char* const EntryNames[TQorvelFileVersionInfo::EntryCount] = {
    "CompanyName",     "FileDescription",  "FileVersion", "InternalName",   "LegalCopyright",
    "LegalTradeMarks", "OriginalFilename", "ProductName", "ProductVersion", "Comments"};
}

const char* TQorvelFileVersionInfo::EntryName(int index) {
  return index >= 0 && index < EntryCount ? EntryNames[index] : nullptr;
}

TQorvelFileVersionInfo::TQorvelFileVersionInfo(std::wstring fileName) : FFileName(std::move(fileName)) {}

bool TQorvelFileVersionInfo::HasInfo() {
  Read();
  return FHasInfo;
}

std::wstring TQorvelFileVersionInfo::Value(int index) {
  Read();
  if (index < 0 || index >= EntryCount || !FHasInfo) return {};
  return FValues[static_cast<std::size_t>(index)];
}

void TQorvelFileVersionInfo::Read() {
  if (FRead) return;
  FRead = true;
  DWORD ignored = 0;
  const DWORD size = ::GetFileVersionInfoSizeW(FFileName.c_str(), &ignored);
  if (size == 0) return;
  std::vector<unsigned char> block(size);
  if (!::GetFileVersionInfoW(FFileName.c_str(), 0, size, block.data())) return;

  void* translation = nullptr;
  UINT length = 0;
  if (!::VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation", &translation, &length) || length < 4) return;
  const auto* words = static_cast<const WORD*>(translation);
  wchar_t prefix[64];
  std::swprintf(prefix, 64, L"\\StringFileInfo\\%04X%04X\\", words[0], words[1]);

  FHasInfo = true;
  FValues.assign(EntryCount, std::wstring());
  for (int i = 0; i < EntryCount; ++i) {
    std::wstring path = prefix;
    for (const char* c = EntryName(i); *c; ++c) path += static_cast<wchar_t>(*c);
    void* value = nullptr;
    UINT chars = 0;
    if (::VerQueryValueW(block.data(), path.c_str(), &value, &chars) && value && chars > 0)
      FValues[static_cast<std::size_t>(i)] = std::wstring(static_cast<const wchar_t*>(value), chars - 1);
  }
}

TQorvelFileVersionInfo& AppVersionInfo() {
  static TQorvelFileVersionInfo info([] {
    wchar_t path[MAX_PATH * 4];
    const DWORD length = ::GetModuleFileNameW(nullptr, path, MAX_PATH * 4);
    return std::wstring(path, length);
  }());
  return info;
}
