#include "install/win32/QorvelShellUtils.h"

#include <objbase.h>
#include <objidl.h>
#include <shlobj.h>
#include <exdisp.h>
#include <shldisp.h>
#include <shobjidl.h>
#include <servprov.h>
#include <shellapi.h>

#include "gui/ComLibrary.h"
#include "gui/Handles.h"
#include "install/UninstallConfiguration.h"

namespace {

int CsidlOf(TQorvelFolderKind kind) {
  switch (kind) {
    case fkDesktop: return CSIDL_DESKTOPDIRECTORY;
    case fkMyDocuments: return CSIDL_PERSONAL;
    case fkStartMenu: return CSIDL_STARTMENU;
    case fkMyPrograms: return CSIDL_PROGRAMS;
    case fkFonts: return CSIDL_FONTS;
    case fkAppData: return CSIDL_APPDATA;
    case fkMyMusic: return CSIDL_MYMUSIC;
    case fkMyPictures: return CSIDL_MYPICTURES;
    case fkMyVideo: return CSIDL_MYVIDEO;
    case fkSendTo: return CSIDL_SENDTO;
    case fkStartup: return CSIDL_STARTUP;
    case fkProgramFiles: return CSIDL_PROGRAM_FILES;
    case fkCommonStartMenu: return CSIDL_COMMON_STARTMENU;
    case fkCommonPrograms: return CSIDL_COMMON_PROGRAMS;
    case fkCommonAppData: return CSIDL_COMMON_APPDATA;
    case fkCommonDocuments: return CSIDL_COMMON_DOCUMENTS;
    default: return -1;
  }
}

std::wstring ShellFolder(int csidl) {
  LPITEMIDLIST list = nullptr;
  if (FAILED(::SHGetSpecialFolderLocation(nullptr, csidl, &list)) || !list) return {};
  wchar_t path[MAX_PATH] = {};
  const BOOL found = ::SHGetPathFromIDListW(list, path);
  ComLibrary::CoTaskMemFree(list);
  return found ? std::wstring(path) : std::wstring();
}

std::wstring RegistryString(HKEY root, const wchar_t* keyPath, const wchar_t* valueName) {
  HKEY opened = nullptr;
  if (::RegOpenKeyExW(root, keyPath, 0, KEY_READ, &opened) != ERROR_SUCCESS) return {};
  TRegistryKey key(opened);
  wchar_t value[MAX_PATH * 2] = {};
  DWORD size = sizeof(value) - sizeof(wchar_t);
  DWORD type = 0;
  if (::RegQueryValueExW(key.Get(), valueName, nullptr, &type, reinterpret_cast<BYTE*>(value), &size) !=
          ERROR_SUCCESS ||
      (type != REG_SZ && type != REG_EXPAND_SZ))
    return {};
  return value;
}

template <typename TInterface>
class TComPtr {
 public:
  TComPtr() = default;
  ~TComPtr() {
    if (FPointer) FPointer->Release();
  }
  TComPtr(const TComPtr&) = delete;
  TComPtr& operator=(const TComPtr&) = delete;
  TInterface* operator->() const { return FPointer; }
  TInterface** Out() { return &FPointer; }
  void** OutVoid() { return reinterpret_cast<void**>(&FPointer); }
  explicit operator bool() const { return FPointer != nullptr; }

 private:
  TInterface* FPointer = nullptr;
};

// A new object of the class `type`, asked for the interface `id`; answers whether it came.
template <typename TInterface>
bool CreateComObject(REFCLSID type, DWORD context, REFIID id, TComPtr<TInterface>& object) {
  return SUCCEEDED(ComLibrary::CoCreateInstance(type, nullptr, context, id, object.OutVoid())) && object;
}

int CALLBACK BrowseCallback(HWND dialog, UINT message, LPARAM, LPARAM start) {
  if (message == BFFM_INITIALIZED && start) ::SendMessageW(dialog, BFFM_SETSELECTIONW, TRUE, start);
  return 0;
}

}  // namespace

std::wstring SpecialFolderPath(TQorvelFolderKind kind) {
  wchar_t path[MAX_PATH] = {};
  if (kind == fkWindows) return ::GetWindowsDirectoryW(path, MAX_PATH) ? std::wstring(path) : std::wstring();
  if (kind == fkSystem) return ::GetSystemDirectoryW(path, MAX_PATH) ? std::wstring(path) : std::wstring();
  const int csidl = CsidlOf(kind);
  if (csidl < 0) return {};
  std::wstring folder = ShellFolder(csidl);
  if (folder.empty() && kind == fkProgramFiles)
    folder = RegistryString(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion", L"ProgramFilesDir");
  else if (folder.empty())
    if (const std::wstring name = ShellFoldersValueName(kind); !name.empty())
      folder = RegistryString(HKEY_CURRENT_USER,
                              L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders", name.c_str());
  return WithoutTrailingBackslash(folder);
}

std::wstring QuickLaunchFolder() {
  const std::wstring appData = SpecialFolderPath(fkAppData);
  if (appData.empty()) return {};
  const std::wstring folder = WithTrailingBackslash(appData) + L"Microsoft\\Internet Explorer\\Quick Launch";
  return FolderExists(folder) ? folder : std::wstring();
}

std::wstring WindowsTempFolder() {
  const std::wstring windows = SpecialFolderPath(fkWindows);
  const std::wstring temp = WithTrailingBackslash(windows) + L"Temp";
  return FolderExists(temp) ? temp : windows;
}

bool FolderExists(const std::wstring& folder) {
  const DWORD attributes = ::GetFileAttributesW(folder.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool FolderHoldsOnly(const std::wstring& folder, const std::function<bool(const std::wstring& path)>& allowed) {
  const std::wstring base = WithoutTrailingBackslash(folder) + L"\\";
  WIN32_FIND_DATAW data{};
  const TFileSearch search(::FindFirstFileW((base + L"*").c_str(), &data));
  if (!search) return true;
  do {
    const std::wstring name = data.cFileName;
    if (name != L"." && name != L".." && !allowed(base + name)) return false;
  } while (::FindNextFileW(search.Get(), &data));
  return true;
}

bool FolderHasEntries(const std::wstring& folder) {
  return !FolderHoldsOnly(folder, [](const std::wstring&) { return false; });
}

bool FileExists(const std::wstring& path) {
  const DWORD attributes = ::GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool ForceDirectories(const std::wstring& folder) {
  const std::wstring path = WithoutTrailingBackslash(folder);
  if (path.empty()) return false;
  if (FolderExists(path)) return true;
  const std::wstring parent = WithoutTrailingBackslash(FolderOf(path));
  // A root that does not exist (an absent drive) stops the recursion.
  if (parent.empty() || parent == path) return false;
  if (!ForceDirectories(parent)) return false;
  return ::CreateDirectoryW(path.c_str(), nullptr) || FolderExists(path);
}

void ClearProtectingAttributes(const std::wstring& path) {
  const DWORD attributes = ::GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return;
  constexpr DWORD Protecting = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
  if (attributes & Protecting) ::SetFileAttributesW(path.c_str(), attributes & ~Protecting);
}

TComScope::TComScope() : FResult(ComLibrary::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}

TComScope::~TComScope() {
  if (SUCCEEDED(FResult)) ComLibrary::CoUninitialize();
}

std::wstring ChooseFolder(HWND owner, const std::wstring& title, const std::wstring& start) {
  wchar_t display[MAX_PATH] = {};
  BROWSEINFOW info{};
  info.hwndOwner = owner;
  info.pszDisplayName = display;
  info.lpszTitle = title.c_str();
  info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE;
  info.lpfn = &BrowseCallback;
  info.lParam = reinterpret_cast<LPARAM>(start.c_str());
  PIDLIST_ABSOLUTE chosen = ::SHBrowseForFolderW(&info);
  if (!chosen) return {};
  wchar_t path[MAX_PATH] = {};
  const bool ok = ::SHGetPathFromIDListW(chosen, path) != FALSE;
  ComLibrary::CoTaskMemFree(chosen);
  return ok ? std::wstring(path) : std::wstring();
}

bool CreateShortcut(const TQorvelShortcut& shortcut) {
  if (!ForceDirectories(FolderOf(shortcut.LinkPath))) return false;
  TComScope com;
  TComPtr<IShellLinkW> link;
  if (!CreateComObject(CLSID_ShellLink, CLSCTX_INPROC_SERVER, IID_IShellLinkW, link)) return false;
  link->SetPath(shortcut.Target.c_str());
  link->SetArguments(shortcut.Arguments.c_str());
  link->SetWorkingDirectory(shortcut.WorkingFolder.c_str());
  link->SetDescription(shortcut.Description.c_str());
  if (!shortcut.IconLocation.empty()) link->SetIconLocation(shortcut.IconLocation.c_str(), 0);
  TComPtr<IPersistFile> file;
  if (FAILED(link->QueryInterface(IID_IPersistFile, file.OutVoid())) || !file) return false;
  return SUCCEEDED(file->Save(shortcut.LinkPath.c_str(), TRUE));
}

TElevation CurrentElevation() {
  HANDLE opened = nullptr;
  TTokenElevationKind kind = TTokenElevationKind::Unknown;
  if (::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &opened)) {
    const TKernelHandle token(opened);
    TOKEN_ELEVATION_TYPE type{};
    DWORD size = 0;
    if (::GetTokenInformation(token.Get(), TokenElevationType, &type, sizeof(type), &size)) {
      kind = type == TokenElevationTypeFull      ? TTokenElevationKind::Full
             : type == TokenElevationTypeLimited ? TTokenElevationKind::Limited
                                                 : TTokenElevationKind::Default;
    }
  }
  SID_IDENTIFIER_AUTHORITY authority = SECURITY_NT_AUTHORITY;
  PSID administrators = nullptr;
  BOOL member = FALSE;
  if (::AllocateAndInitializeSid(&authority, 2, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS, 0, 0, 0, 0, 0, 0,
                                 &administrators)) {
    // Checks the enabled groups only, as access checks do.
    if (!::CheckTokenMembership(nullptr, administrators, &member)) member = FALSE;
    ::FreeSid(administrators);
  }
  return ElevationFrom(kind, member != FALSE);
}

DWORD StartThroughShell(const TShellStart& start) {
  SHELLEXECUTEINFOW info{};
  info.cbSize = sizeof(info);
  info.fMask = SEE_MASK_NOASYNC | (start.ExitCode ? SEE_MASK_NOCLOSEPROCESS : 0);
  info.hwnd = start.Owner;
  info.lpVerb = start.Verb.c_str();
  info.lpFile = start.File.c_str();
  info.lpParameters = start.Parameters.empty() ? nullptr : start.Parameters.c_str();
  info.lpDirectory = start.Folder.empty() ? nullptr : start.Folder.c_str();
  info.nShow = SW_SHOWNORMAL;
  if (::ShellExecuteExW(&info)) {
    if (start.ExitCode && info.hProcess) {
      const TKernelHandle process(info.hProcess);
      ::WaitForSingleObject(process.Get(), INFINITE);
      if (!::GetExitCodeProcess(process.Get(), start.ExitCode)) *start.ExitCode = ERROR_GEN_FAILURE;
    }
    return 0;
  }
  const DWORD error = ::GetLastError();
  return error ? error : ERROR_GEN_FAILURE;
}

namespace {

// The desktop's folder view, from which the shell itself starts programs as its user.
bool StartThroughDesktopShell(const std::wstring& file, const std::wstring& folder) {
  TComScope com;
  TComPtr<IShellWindows> windows;
  if (!CreateComObject(CLSID_ShellWindows, CLSCTX_LOCAL_SERVER, IID_IShellWindows, windows)) return false;
  VARIANT desktop{};
  desktop.vt = VT_I4;
  desktop.lVal = CSIDL_DESKTOP;
  VARIANT empty{};
  long handle = 0;
  TComPtr<IDispatch> dispatch;
  if (windows->FindWindowSW(&desktop, &empty, SWC_DESKTOP, &handle, SWFO_NEEDDISPATCH, dispatch.Out()) != S_OK ||
      !dispatch)
    return false;
  TComPtr<IServiceProvider> provider;
  TComPtr<IShellBrowser> browser;
  TComPtr<IShellView> view;
  TComPtr<IDispatch> background;
  TComPtr<IShellFolderViewDual> folderView;
  TComPtr<IDispatch> application;
  TComPtr<IShellDispatch2> shell;
  if (FAILED(dispatch->QueryInterface(IID_IServiceProvider, provider.OutVoid())) ||
      FAILED(provider->QueryService(SID_STopLevelBrowser, IID_IShellBrowser, browser.OutVoid())) ||
      FAILED(browser->QueryActiveShellView(view.Out())) ||
      FAILED(view->GetItemObject(SVGIO_BACKGROUND, IID_IDispatch, background.OutVoid())) ||
      FAILED(background->QueryInterface(IID_IShellFolderViewDual, folderView.OutVoid())) ||
      FAILED(folderView->get_Application(application.Out())) ||
      FAILED(application->QueryInterface(IID_IShellDispatch2, shell.OutVoid())))
    return false;
  const auto text = [](const std::wstring& value) {
    VARIANT variant{};
    variant.vt = VT_BSTR;
    variant.bstrVal = ComLibrary::SysAllocStringLen(value.c_str(), static_cast<UINT>(value.size()));
    return variant;
  };
  BSTR program = ComLibrary::SysAllocStringLen(file.c_str(), static_cast<UINT>(file.size()));
  VARIANT arguments = text(L""), directory = text(folder), operation = text(L"open"), show{};
  show.vt = VT_I4;
  show.lVal = SW_SHOWNORMAL;
// The method shares its name with the shell's ANSI/Unicode macro.
#pragma push_macro("ShellExecute")
#undef ShellExecute
  const bool started = program && SUCCEEDED(shell->ShellExecute(program, arguments, directory, operation, show));
#pragma pop_macro("ShellExecute")
  for (BSTR owned : {program, arguments.bstrVal, directory.bstrVal, operation.bstrVal})
    ComLibrary::SysFreeString(owned);
  return started;
}

// Whether a process's token is elevated; nothing when it cannot be read.
std::optional<bool> TokenIsElevated(HANDLE process) {
  HANDLE opened = nullptr;
  if (!::OpenProcessToken(process, TOKEN_QUERY, &opened)) return std::nullopt;
  const TKernelHandle token(opened);
  TOKEN_ELEVATION elevation{};
  DWORD size = 0;
  if (!::GetTokenInformation(token.Get(), TokenElevation, &elevation, sizeof(elevation), &size)) return std::nullopt;
  return elevation.TokenIsElevated != 0;
}

// This process is elevated and the desktop's shell is not (or cannot be asked): only then
// does a start through the shell give the program other rights than a start of our own. The
// shell is the owner of the desktop's shell window, or of the taskbar where a shell runs
// without one (Wine's tray alone); without either there is no shell to take rights from.
bool ShellHasFewerRights() {
  if (!TokenIsElevated(::GetCurrentProcess()).value_or(false)) return false;
  HWND shell = ::GetShellWindow();
  if (!shell) shell = ::FindWindowW(L"Shell_TrayWnd", nullptr);
  DWORD shellId = 0;
  if (!shell || !::GetWindowThreadProcessId(shell, &shellId) || shellId == 0) return false;
  const TKernelHandle shellProcess(::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, shellId));
  if (!shellProcess) return true;
  return !TokenIsElevated(shellProcess.Get()).value_or(false);
}

}  // namespace

void StartAsDesktopUser(const std::wstring& file, const std::wstring& folder) {
  if (ShellHasFewerRights() && StartThroughDesktopShell(file, folder)) return;
  StartThroughShell({L"open", file, L"", folder, nullptr, nullptr});
}

std::optional<HKEY> RegistryRootByName(const std::wstring& rootName) {
  if (rootName == RegistryRootLocalMachine) return HKEY_LOCAL_MACHINE;
  if (rootName == RegistryRootClassesRoot) return HKEY_CLASSES_ROOT;
  if (rootName == RegistryRootCurrentUser) return HKEY_CURRENT_USER;
  return std::nullopt;
}

std::wstring RegistrySubKey(const std::wstring& keyPath) {
  std::size_t start = 0;
  while (start < keyPath.size() && keyPath[start] == L'\\') ++start;
  return keyPath.substr(start);
}
