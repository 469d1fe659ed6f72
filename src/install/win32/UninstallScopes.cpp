#include "install/win32/UninstallScopes.h"

#include <windows.h>
#include <shlobj.h>

#include "install/win32/QorvelShellUtils.h"

namespace {

std::wstring FolderOf(int csidl) {
  wchar_t path[MAX_PATH] = {};
  if (FAILED(::SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path))) return {};
  return path;
}

DWORD AttributesOf(const std::wstring& path) {
  // A drive alone ("C:") means its current folder to the system; its root is meant here.
  return ::GetFileAttributesW((path.size() == 2 ? path + L'\\' : path).c_str());
}

}  // namespace

TScopeFolders SystemScopeFolders() {
  TScopeFolders folders;
  folders.ProgramsFolders = {SpecialFolderPath(fkMyPrograms), SpecialFolderPath(fkCommonPrograms)};
  folders.ShortcutFolders = {SpecialFolderPath(fkDesktop), FolderOf(CSIDL_COMMON_DESKTOPDIRECTORY),
                             QuickLaunchFolder()};
  folders.ProgramFilesFolders = {SpecialFolderPath(fkProgramFiles), FolderOf(CSIDL_PROGRAM_FILESX86)};
  static const int ProtectedCsidls[] = {CSIDL_WINDOWS,
                                        CSIDL_SYSTEM,
                                        CSIDL_SYSTEMX86,
                                        CSIDL_PROGRAM_FILES_COMMON,
                                        CSIDL_PROGRAM_FILES_COMMONX86,
                                        CSIDL_PROFILE,
                                        CSIDL_DESKTOPDIRECTORY,
                                        CSIDL_PERSONAL,
                                        CSIDL_APPDATA,
                                        CSIDL_LOCAL_APPDATA,
                                        CSIDL_STARTMENU,
                                        CSIDL_PROGRAMS,
                                        CSIDL_STARTUP,
                                        CSIDL_MYMUSIC,
                                        CSIDL_MYPICTURES,
                                        CSIDL_MYVIDEO,
                                        CSIDL_SENDTO,
                                        CSIDL_TEMPLATES,
                                        CSIDL_FAVORITES,
                                        CSIDL_FONTS,
                                        CSIDL_COMMON_APPDATA,
                                        CSIDL_COMMON_DOCUMENTS,
                                        CSIDL_COMMON_DESKTOPDIRECTORY,
                                        CSIDL_COMMON_STARTMENU,
                                        CSIDL_COMMON_PROGRAMS,
                                        CSIDL_COMMON_STARTUP,
                                        CSIDL_INTERNET_CACHE,
                                        CSIDL_COOKIES,
                                        CSIDL_HISTORY,
                                        CSIDL_ADMINTOOLS,
                                        CSIDL_COMMON_ADMINTOOLS,
                                        CSIDL_COMMON_TEMPLATES};
  for (const int csidl : ProtectedCsidls)
    if (std::wstring folder = FolderOf(csidl); !folder.empty()) folders.ProtectedFolders.push_back(folder);
  // The folder holding every profile, and the temporary folders.
  if (const std::wstring profile = CanonicalFilePath(FolderOf(CSIDL_PROFILE)); !profile.empty())
    folders.ProtectedFolders.push_back(ParentFolder(profile));
  wchar_t temp[MAX_PATH + 1] = {};
  if (::GetTempPathW(MAX_PATH + 1, temp)) folders.ProtectedFolders.push_back(temp);
  folders.ProtectedFolders.push_back(WindowsTempFolder());
  for (auto* list :
       {&folders.ProgramsFolders, &folders.ShortcutFolders, &folders.ProgramFilesFolders, &folders.ProtectedFolders})
    for (auto& folder : *list) folder = LongCanonicalPath(folder);
  return folders;
}

std::wstring LongCanonicalPath(const std::wstring& path) {
  std::wstring canonical = CanonicalFilePath(path);
  if (canonical.empty() || canonical.find(L'~') == std::wstring::npos) return canonical;
  // Short names resolve only for what exists: expand the longest existing part, keep the rest.
  std::wstring existing = canonical;
  while (!existing.empty() && !IsRootPath(existing) && AttributesOf(existing) == INVALID_FILE_ATTRIBUTES)
    existing = ParentFolder(existing);
  if (existing.empty() || IsRootPath(existing)) return canonical;
  wchar_t expanded[32768];
  const DWORD length = ::GetLongPathNameW(existing.c_str(), expanded, 32768);
  if (length == 0 || length >= 32768) return canonical;
  return CanonicalFilePath(std::wstring(expanded, length) + canonical.substr(existing.size()));
}

bool IsLink(const std::wstring& path) {
  const DWORD attributes = AttributesOf(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

bool PassesThroughLink(const std::wstring& path, const std::wstring& folder) {
  if (folder.empty() || !IsAtOrBelow(path, folder)) return false;
  for (std::wstring parent = ParentFolder(path); parent.size() >= folder.size(); parent = ParentFolder(parent))
    if (IsLink(parent)) return true;
  return false;
}
