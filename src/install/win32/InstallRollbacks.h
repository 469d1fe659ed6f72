#pragma once
// What one setup run changed, so that a failure takes it back: folders it made, files it
// replaced or wrote, registry keys it created or wrote into. Until Commit, destroying the
// rollback undoes every change, newest first, and logs each "Undone" step; a previous
// installation is then as it was before the run.

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

class TInstallRollback {
 public:
  using TLog = std::function<void(const std::wstring& line)>;
  explicit TInstallRollback(TLog log) : FLog(std::move(log)) {}
  ~TInstallRollback();
  TInstallRollback(const TInstallRollback&) = delete;
  TInstallRollback& operator=(const TInstallRollback&) = delete;

  // Creates `folder` and its missing parents; those it made go again on undo.
  bool CreateFolders(const std::wstring& folder);
  // Before `path` is written: an existing file moves aside and comes back on undo, a new one
  // is deleted. False when an existing file cannot be moved (in use).
  bool PrepareFile(const std::wstring& path);
  // Before a key below HKEY_LOCAL_MACHINE is created or written (`subKey` without the root):
  // its values are kept and written back on undo; a key the run creates is deleted, with the
  // parents it created.
  void PrepareKey(const std::wstring& subKey);
  // The run succeeded: the changes stay, what was moved aside goes.
  void Commit();

 private:
  struct TStep {
    std::function<void()> Undo;
    std::function<void()> Commit;
  };
  void Log(const std::wstring& line) const {
    if (FLog) FLog(line);
  }
  void Undo();

  TLog FLog;
  std::vector<TStep> FSteps;
  std::vector<std::wstring> FPreparedFiles;
  std::vector<std::wstring> FPreparedKeys;
  bool FCommitted = false;
};
