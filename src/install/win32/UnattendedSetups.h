#pragma once
// Setup and uninstallation without a window, for package managers and deployment tools: the
// wizard's usual choices, no questions (a question the engine would ask is answered "Cancel"
// and logged), every step in the log, and the result as an exit code.

#include <string>

#include "install/SetupSwitches.h"
#include "install/win32/SetupLogs.h"

class TQorvelInstallation;
class TQorvelInstaller;

// A local installation (or, with /portable, a portable one) into /dir, else the previous
// installation's folder, else the proposed one; answers a TSetupExitCode.
int RunUnattendedSetup(TQorvelInstallation& installation, TQorvelInstaller& installer, const TSetupSwitches& switches,
                       const TSetupLogLine& log);

// Removes what `configPath` lists within the installation's scope; answers a TSetupExitCode.
int RunUnattendedRemoval(TQorvelInstallation& installation, const std::wstring& configPath, const TSetupLogLine& log);
