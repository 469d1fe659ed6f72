#pragma once
// The installation object: reads the command line and the executable's marker once, at
// start-up, and decides whether this run installs, uninstalls or runs the program.

#include <cstdint>
#include <string>

#include "install/QorvelInstallations.h"

class TQorvelInstallation {
 public:
  TQorvelInstallation();
  virtual ~TQorvelInstallation() = default;
  TQorvelInstallation(const TQorvelInstallation&) = delete;
  TQorvelInstallation& operator=(const TQorvelInstallation&) = delete;

  TInstallationMode Mode() const { return FMode; }
  const std::wstring& ExePath() const { return FExePath; }
  std::uint32_t ExeSize() const { return FExeSize; }
  std::uint32_t PayloadSize() const { return FPayloadSize; }
  const std::wstring& ConfigPath() const { return FConfigPath; }
  const std::wstring& AppTitle() const { return FAppTitle; }

  std::wstring CompanyName, ProductName, DefaultFolder;

  // Runs setup, uninstallation or removal for those modes and answers false (the process
  // then ends); answers true when the program should run normally.
  virtual bool RunInstallationStep();

 protected:
  virtual void SetDefaults() {}
  void Detect();
  std::wstring FAppTitle;

 private:
  TInstallationMode FMode = imPlain;
  std::wstring FExePath;
  std::uint32_t FExeSize = 0;
  std::uint32_t FPayloadSize = 0;
  std::wstring FConfigPath;
};

class TApplicationInstallation : public TQorvelInstallation {
 public:
  TApplicationInstallation();

 protected:
  void SetDefaults() override;
};

// The program's one installation object, created on first use at start-up.
TApplicationInstallation& ApplicationInstallation();
