#include "gui/RunningInstances.h"

#include "gui/Handles.h"

namespace {

std::wstring FileNameOfPath(const std::wstring& path) {
  const std::size_t slash = path.find_last_of(L"\\/");
  return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

bool SameFileName(std::wstring_view a, std::wstring_view b) {
  return !a.empty() && ::CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(),
                                              static_cast<int>(b.size()), TRUE) == CSTR_EQUAL;
}

// The image file name of process `processId`, empty when it cannot be queried.
std::wstring ImageFileNameOf(DWORD processId) {
  // The limited right is granted for processes of the same user, elevated ones included.
  const TKernelHandle process(::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
  if (!process) return {};
  wchar_t path[MAX_PATH * 2] = {};
  DWORD length = static_cast<DWORD>(std::size(path));
  if (!::QueryFullProcessImageNameW(process.Get(), 0, path, &length)) return {};
  return FileNameOfPath(std::wstring(path, length));
}

}  // namespace

bool IsRunningInstanceWindow(HWND window, std::wstring_view imageFileName) {
  if (!window || !::IsWindow(window)) return false;
  wchar_t className[64] = {};
  const int classLength = ::GetClassNameW(window, className, static_cast<int>(std::size(className)));
  if (std::wstring_view(className, static_cast<std::size_t>(classLength)) != TrayWindowClassName) return false;
  DWORD processId = 0;
  ::GetWindowThreadProcessId(window, &processId);
  return processId != 0 && SameFileName(ImageFileNameOf(processId), imageFileName);
}

std::wstring OwnImageFileName() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return {};
    if (length < path.size()) return FileNameOfPath(path.substr(0, length));
    path.resize(path.size() * 2);
  }
}
