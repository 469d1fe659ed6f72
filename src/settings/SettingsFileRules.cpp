#include "settings/SettingsFileRules.h"

#include <cstdio>
#include <exception>
#include <system_error>

#include "settings/QorvelSettings.h"
#include "settings/QorvelSettingsFiles.h"
#include "settings/QorvelXml.h"

namespace {

const std::string RecreateQuestion =
    " Do you want to recreate a new file overriding your settings with default values?";
const std::string LoadCaption = "Error loading settings";
const std::string SaveCaption = "Error saving settings";

std::string DisplayName(const std::filesystem::path& fileName) {
  const std::u8string name = fileName.u8string();
  return std::string(name.begin(), name.end());
}

std::string SaveFailureText(const std::filesystem::path& fileName) {
  return "Settings could not be saved to " + DisplayName(fileName) +
         ". Probably the file is in use or write protected or there is no more space left on the drive.";
}

}  // namespace

std::filesystem::path QorvelSettingsBackupName(const std::filesystem::path& fileName) {
  std::filesystem::path backup = fileName;
  backup.replace_extension(".bak");
  return backup;
}

std::filesystem::path QorvelSettingsTemporaryName(const std::filesystem::path& fileName) {
  std::filesystem::path temporary = fileName;
  temporary.replace_extension(".tmp");
  return temporary;
}

void CreateFoldersOf(const std::filesystem::path& fileName) {
  if (!fileName.has_parent_path()) return;
  std::error_code error;
  std::filesystem::create_directories(fileName.parent_path(), error);
  if (error)
    throw EQorvelFileError("Cannot create folder " + QuotedFileName(fileName.parent_path()) + ". " + error.message());
}

// ---- Loading -------------------------------------------------------------------------------

void TQorvelTypicalApplicationSettings::LoadFromFile(const std::filesystem::path& fileName, const std::string& rootName,
                                                     IQorvelSettingsFileSystem& fileSystem,
                                                     IQorvelSettingsPrompt& prompt) {
  const std::optional<TQorvelFileAttributes> attributes = fileSystem.Attributes(fileName);
  ReadOnly = attributes && (*attributes & faReadOnly) != 0;
  SaveSuppressed = false;

  // Without the file, the backup holds the settings when the last save was cut short
  // between putting the file aside and writing its successor.
  std::filesystem::path source = fileName;
  if (!attributes) {
    source = QorvelSettingsBackupName(fileName);
    if (!fileSystem.Attributes(source)) return;
  }

  std::unique_ptr<TQorvelStream> stream;
  try {
    stream = fileSystem.OpenForReading(source);
  } catch (const EQorvelFileError& error) {
    // Gone in the meantime: as if it had never been there.
    if (!fileSystem.Attributes(source)) return;
    // There but unreadable (locked, no access): saving defaults over it later would destroy
    // settings nobody has seen, so the user decides.
    SaveSuppressed = !prompt.AskYesNo(LoadCaption, error.what() + RecreateQuestion);
    return;
  }

  try {
    LoadWith(std::make_unique<TQorvelSettingsXmlFileReader>(std::move(stream), rootName));
  } catch (const EQorvelXmlError& error) {
    SaveSuppressed = !prompt.AskYesNo(LoadCaption + " in line " + std::to_string(error.LineNumber()),
                                      error.what() + RecreateQuestion);
  } catch (const std::exception& error) {
    SaveSuppressed = !prompt.AskYesNo(LoadCaption, error.what() + RecreateQuestion);
  }
}

// ---- Saving --------------------------------------------------------------------------------

void TQorvelTypicalApplicationSettings::SaveToFile(const std::filesystem::path& fileName, const std::string& rootName,
                                                   IQorvelSettingsFileSystem& fileSystem,
                                                   IQorvelSettingsPrompt& prompt) {
  if (SaveSuppressed || ReadOnly) return;

  // The document is complete before any file is touched: an error while producing it
  // leaves the file as it was.
  std::string document;
  try {
    TQorvelMemoryStream stream;
    SaveWith(std::make_unique<TQorvelSettingsXmlFileWriter>(stream, rootName));
    document = stream.Data();
  } catch (const std::exception& error) {
    prompt.ShowError(SaveCaption, error.what());
    return;
  }

  // The new version is written beside the file and takes its place in one step only when it
  // is complete, so that neither a failure nor the process ending at any moment leaves a
  // half-written settings file; at worst the file is missing and its backup is complete,
  // which the next start reads.
  const std::filesystem::path backup = QorvelSettingsBackupName(fileName);
  const std::filesystem::path temporary = QorvelSettingsTemporaryName(fileName);
  const TQorvelSettingsBackupMode mode = ConfigurationFile->BackupMode;
  // The new version is a new file: it gets the attributes of the one it replaces.
  const std::optional<TQorvelFileAttributes> attributes = fileSystem.Attributes(fileName);
  bool putAside = false;

  for (;;) {
    try {
      fileSystem.CreateForWriting(temporary)->Write(document);
      // Without a file there is nothing to put aside, and an existing backup may be the only
      // copy of the settings: it stays until the new file is in place.
      if (mode != TQorvelSettingsBackupMode::pbmNone && attributes && !putAside) {
        fileSystem.Remove(backup);
        putAside = fileSystem.Rename(fileName, backup);
      }
      fileSystem.Replace(temporary, fileName);
      break;
    } catch (const EQorvelFileError&) {
      if (prompt.AskRetryCancel(SaveCaption, SaveFailureText(fileName))) continue;
      // Given up: the previous version goes back in place. When that fails too it stays the
      // backup, which the next start reads when the file itself is missing.
      fileSystem.Remove(temporary);
      if (putAside) fileSystem.Rename(backup, fileName);
      return;
    }
  }

  if (mode == TQorvelSettingsBackupMode::pbmTemporary) fileSystem.Remove(backup);
  if (attributes) {
    try {
      fileSystem.ApplyAttributes(fileName, *attributes);
    } catch (const std::exception& error) {
      prompt.ShowError(SaveCaption, error.what());
    }
  }
}
