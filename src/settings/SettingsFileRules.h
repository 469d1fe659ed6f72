#pragma once
// The settings file on disk: read once at start, written once at exit.
//
// TQorvelTypicalApplicationSettings::LoadFromFile and SaveToFile make the decisions (which
// file is read, how the previous version is kept while writing, what the user is asked when
// something fails) over two small interfaces, so that every step can fail on purpose in the
// tests. The system implementations are per platform: Win32 calls and message boxes in
// win32/QorvelSettingsStorage.cpp, the standard library and stderr in host/HostSettingsStorage.cpp.

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "settings/ByteStreams.h"

// File attribute bits, with the values Windows gives them.
using TQorvelFileAttributes = std::uint32_t;
inline constexpr TQorvelFileAttributes faReadOnly = 0x01;
inline constexpr TQorvelFileAttributes faHidden = 0x02;
inline constexpr TQorvelFileAttributes faSystem = 0x04;
inline constexpr TQorvelFileAttributes faArchive = 0x20;

class IQorvelSettingsFileSystem {
 public:
  virtual ~IQorvelSettingsFileSystem() = default;

  // Nothing when the file does not exist.
  virtual std::optional<TQorvelFileAttributes> Attributes(const std::filesystem::path& fileName) = 0;
  // Throws EQorvelFileError.
  virtual void ApplyAttributes(const std::filesystem::path& fileName, TQorvelFileAttributes attributes) = 0;
  // Answers whether the file is gone afterwards (true when there was none).
  virtual bool Remove(const std::filesystem::path& fileName) = 0;
  // Never replaces an existing target; answers whether the file moved.
  virtual bool Rename(const std::filesystem::path& from, const std::filesystem::path& to) = 0;
  // Moves the file into the place of the target in one step: afterwards the target is either
  // still the old file or already the new one. Throws EQorvelFileError.
  virtual void Replace(const std::filesystem::path& from, const std::filesystem::path& to) = 0;
  // Others may read the file but not write it while the stream lives. Throws EQorvelFileError.
  virtual std::unique_ptr<TQorvelStream> OpenForReading(const std::filesystem::path& fileName) = 0;
  // Creates the missing folders, then the file; an existing file is truncated in place so that
  // it keeps its attributes. Nobody else may open it while the stream lives. Throws
  // EQorvelFileError.
  virtual std::unique_ptr<TQorvelStream> CreateForWriting(const std::filesystem::path& fileName) = 0;
};

// Modal questions without an owner window, all with the error icon. Texts are UTF-8.
class IQorvelSettingsPrompt {
 public:
  virtual ~IQorvelSettingsPrompt() = default;

  // Yes and No; answers whether the user chose Yes.
  virtual bool AskYesNo(const std::string& caption, const std::string& text) = 0;
  // Retry and Cancel; answers whether the user chose Retry.
  virtual bool AskRetryCancel(const std::string& caption, const std::string& text) = 0;
  // OK only.
  virtual void ShowError(const std::string& caption, const std::string& text) = 0;
};

// Creates the folders `fileName` goes in that are missing. Throws EQorvelFileError.
void CreateFoldersOf(const std::filesystem::path& fileName);

// The attributes and names of files are the system's own calls on each platform; the
// streams are TQorvelFileStream, itself one per platform.
class TQorvelSystemFileSystem final : public IQorvelSettingsFileSystem {
 public:
  std::optional<TQorvelFileAttributes> Attributes(const std::filesystem::path& fileName) override;
  void ApplyAttributes(const std::filesystem::path& fileName, TQorvelFileAttributes attributes) override;
  bool Remove(const std::filesystem::path& fileName) override;
  bool Rename(const std::filesystem::path& from, const std::filesystem::path& to) override;
  void Replace(const std::filesystem::path& from, const std::filesystem::path& to) override;
  std::unique_ptr<TQorvelStream> OpenForReading(const std::filesystem::path& fileName) override {
    return std::make_unique<TQorvelFileStream>(fileName, TQorvelFileMode::OpenRead);
  }
  std::unique_ptr<TQorvelStream> CreateForWriting(const std::filesystem::path& fileName) override {
    CreateFoldersOf(fileName);
    return std::make_unique<TQorvelFileStream>(fileName, TQorvelFileMode::Create);
  }
};

// Win32: MessageBoxW, task-modal, no owner. Host builds have no desktop: the question goes to
// stderr and the answer is the one that leaves the files as they are (No, Cancel).
class TQorvelSystemPrompt final : public IQorvelSettingsPrompt {
 public:
  bool AskYesNo(const std::string& caption, const std::string& text) override;
  bool AskRetryCancel(const std::string& caption, const std::string& text) override;
  void ShowError(const std::string& caption, const std::string& text) override;
};

// "Settings.xml" keeps its previous version in "Settings.bak" while it is written.
std::filesystem::path QorvelSettingsBackupName(const std::filesystem::path& fileName);
// "Settings.xml" is written as "Settings.tmp" first and takes its place only when complete.
std::filesystem::path QorvelSettingsTemporaryName(const std::filesystem::path& fileName);
