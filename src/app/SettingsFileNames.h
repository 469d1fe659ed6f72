#pragma once
// Where the settings file lives: beside a portable copy of the program, else in the user's
// application-data folder.

#include <string>

#include "install/InstallationModes.h"

// `exePath` is the program's full path; `appDataFolder` the user's application-data folder
// (with or without a trailing separator).
std::wstring SettingsFileNameFor(TInstallationMode mode, const std::wstring& exePath,
                                 const std::wstring& appDataFolder);
