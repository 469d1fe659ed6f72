// Program entry of Vindle: decide what this start is, build and load the settings, and
// hand over to the tray application until the user exits.
#include <windows.h>
#include <shlobj.h>

#include <memory>
#include <string>

#include "app/SettingsFileNames.h"
#include "app/win32/MeterApplications.h"
#include "app/win32/QorvelTrayApplications.h"
#include "color/win32/ColorServices.h"
#include "gui/Application.h"
#include "gui/Dpi.h"
#include "gui/Handles.h"
#include "gui/ImageLists.h"
#include "install/QorvelFileVersionInfo.h"
#include "install/win32/ApplicationInstallations.h"
#include "install/win32/QorvelInstallForms.h"
#include "settings/ApplicationSettings.h"

namespace {

// The user's application-data folder: from the shell, else from the per-user registry.
std::wstring AppDataFolder() {
  wchar_t path[MAX_PATH] = {};
  if (SUCCEEDED(::SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, path)) && path[0]) return path;
  HKEY opened = nullptr;
  if (::RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders", 0,
                      KEY_READ, &opened) != ERROR_SUCCESS)
    return {};
  TRegistryKey key(opened);
  DWORD size = sizeof(path);
  DWORD type = 0;
  if (::RegQueryValueExW(key.Get(), L"AppData", nullptr, &type, reinterpret_cast<BYTE*>(path), &size) !=
          ERROR_SUCCESS ||
      type != REG_SZ)
    return {};
  path[MAX_PATH - 1] = L'\0';
  return path;
}

// The settings tree and where it is stored, for the whole run.
std::unique_ptr<TApplicationSettings> AppSettings;
std::wstring SettingsFileName;

// Once, at exit, after the windows have stored their placements. Read-only and kept
// damaged files are left alone by the settings layer itself.
void SaveAppSettings() { AppSettings->SaveToFile(SettingsFileName, "settings"); }

std::unique_ptr<TImageList> MenuImageList;

std::unique_ptr<TQorvelTrayApplication> CreateMeterApplication(const std::wstring& title) {
  TMeterEnvironment environment;
  environment.Settings = AppSettings.get();
  environment.MenuImages = MenuImageList.get();
  environment.SaveSettings = &SaveAppSettings;
  return std::make_unique<TMeterApplication>(title, std::move(environment));
}

// The single-instance block: a later start hands over through it, and setup asks the running
// program to end through it before replacing or removing its file.
constexpr wchar_t InstanceName[] = L"Vindle";
constexpr wchar_t ProgramFileName[] = L"Vindle.exe";
constexpr DWORD CloseTimeoutMs = 10000;

int RunProgram() {
  TApplicationInstallation& installation = ApplicationInstallation();
  UseQorvelWizards(installation);
  installation.CloseRunningProgram = [&installation] {
    return CloseRunningInstance(InstanceName, ProgramFileName, CloseTimeoutMs, installation.LogSink());
  };
  if (!installation.RunInstallationStep()) return installation.ExitCode();

  SettingsFileName = SettingsFileNameFor(installation.Mode(), installation.ExePath(), AppDataFolder());
  AppSettings = TQorvelSettings::Create<TApplicationSettings>();
  struct TFreeSettings {
    ~TFreeSettings() {
      SetColorDefinitionService(nullptr);  // it writes into the settings tree
      AppSettings.reset();
    }
  } freeSettings;
  AppSettings->Window->DefineWindow("colorpicker", pwoFitToMonitor);
  AppSettings->Window->DefineWindow("cursorcoordinates", pwoFitToMonitor);
  AppSettings->LoadFromFile(SettingsFileName, "settings");
  // After loading, so that a new shared block is seeded with the stored colours.
  SetColorDefinitionService(TQorvelColorDefinitionService::Create<TColorDefinitionService>(*AppSettings->Colors));

  TGuiApplication::Instance().SetTitle(AppVersionInfo().ProductName());
  // The images are made in place: an image list owns its bitmaps and is never copied.
  MenuImageList.reset(new TImageList(TImageList::ForDpi(L"MENUIMAGES", 16, SystemDpi())));

  RunTrayApplication(&CreateMeterApplication, installation.AppTitle(), InstanceName, false);
  MenuImageList.reset();
  return 0;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  // Before the first window: a pixel is a device pixel on every monitor, or the ruler lies.
  EnsurePerMonitorDpiAwareness();
  try {
    return RunProgram();
  } catch (const std::exception& error) {
    ::MessageBoxW(nullptr, Widen(error.what()).c_str(), ApplicationInstallation().AppTitle().c_str(),
                  MB_OK | MB_ICONERROR);
    return 1;
  }
}
