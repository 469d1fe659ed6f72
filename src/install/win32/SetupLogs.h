#pragma once
// The setup's log: every step in plain text, one line each, with the local time, so that an
// unattended installation can be followed afterwards. Lines are appended at once; another
// run of the setup (the same one started elevated) may write to the same file meanwhile.

#include <functional>
#include <string>

#include "gui/Handles.h"

// Where engines and wizards report a step; empty: nobody listens.
using TSetupLogLine = std::function<void(const std::wstring& line)>;

class TSetupLog {
 public:
  // Opens `path` for appending (creating it); Opened() tells whether that worked.
  explicit TSetupLog(std::wstring path);

  bool Opened() const { return static_cast<bool>(FFile); }
  const std::wstring& Path() const { return FPath; }
  void Write(const std::wstring& line);
  TSetupLogLine Sink() {
    return [this](const std::wstring& line) { Write(line); };
  }

  // "%TEMP%\VindleSetup-20261207-181500.log": where an unattended run logs without /log.
  static std::wstring TemporaryPath(const std::wstring& product);

 private:
  std::wstring FPath;
  TFileHandle FFile;
};
