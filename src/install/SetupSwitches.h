#pragma once
// The setup file's switches for unattended installs and removals, and the exit codes that
// deployment tools read. The Part-given "-uninstall"/"-remove" forms still decide the mode;
// these only say how the run goes.
//
//   VindleSetup.exe /silent [/dir <folder> | /portable <folder>] [/nodesktop] [/nostartmenu]
//                   [/log <file>]
//   Vindle.exe -uninstall <config> /silent [/log <file>]
//
// Switches are read in any case, with '/' or '-'.

#include <optional>
#include <string>
#include <vector>

// What the run ends with: the codes the Windows installer uses, which deployment tools know.
enum TSetupExitCode : int {
  secDone = 0,
  secCancelled = 1602,       // the user cancelled, or declined the elevation prompt
  secFailed = 1603,          // the reason is in the log
  secAlreadyRunning = 1618,  // another setup of the product is running
  secBadSwitches = 1639,
};

struct TSetupSwitches {
  bool Silent = false;
  std::wstring Folder;  // /dir or /portable: where to install; empty: the proposed folder.
                        // Without /silent, /dir is the folder the wizard proposes.
  bool Portable = false;
  bool Desktop = true;    // /nodesktop clears it
  bool StartMenu = true;  // /nostartmenu clears it
  std::wstring LogFile;
  bool Help = false;
  bool ResumeLocalSetup = false;  // the run started again elevated for the local setup
};

struct TParsedSetupSwitches {
  std::optional<TSetupSwitches> Switches;
  std::wstring Error;  // why the command line was refused; the usage follows it
};

// `arguments` after the program name. For "-uninstall"/"-remove" runs, pass what follows the
// configuration path: there only /silent and /log mean something.
TParsedSetupSwitches ParseSetupSwitches(const std::vector<std::wstring>& arguments, bool removal = false);

// The text /? shows, and bad switches after their error.
std::wstring SetupUsage(const std::wstring& program);

// The arguments again as a command line, each quoted when it needs it (for the same run
// started elevated, and for the temporary uninstaller).
std::wstring SetupArguments(const std::vector<std::wstring>& arguments);
