// The settings file's system side in the host build: the standard library's file system,
// and questions answered "no" on stderr, since nobody is there to ask.

#include "settings/SettingsFileRules.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

#include "settings/QorvelSettings.h"

// The host build has no attributes beyond the owner's write permission, which stands for
// read-only; hidden and the rest are not kept.
std::optional<TQorvelFileAttributes> TQorvelSystemFileSystem::Attributes(const std::filesystem::path& fileName) {
  std::error_code error;
  const std::filesystem::file_status status = std::filesystem::status(fileName, error);
  if (error || !std::filesystem::exists(status)) return std::nullopt;
  const bool writable = (status.permissions() & std::filesystem::perms::owner_write) != std::filesystem::perms::none;
  return writable ? faArchive : faReadOnly | faArchive;
}

void TQorvelSystemFileSystem::ApplyAttributes(const std::filesystem::path& fileName, TQorvelFileAttributes attributes) {
  std::error_code error;
  std::filesystem::permissions(
      fileName, std::filesystem::perms::owner_write,
      (attributes & faReadOnly) ? std::filesystem::perm_options::remove : std::filesystem::perm_options::add, error);
  if (error)
    throw EQorvelFileError("Cannot set the attributes of file " + QuotedFileName(fileName) + ". " + error.message());
}

bool TQorvelSystemFileSystem::Remove(const std::filesystem::path& fileName) {
  std::error_code error;
  std::filesystem::remove(fileName, error);
  return !error;
}

bool TQorvelSystemFileSystem::Rename(const std::filesystem::path& from, const std::filesystem::path& to) {
  std::error_code error;
  // POSIX rename replaces its target; ours never does.
  if (std::filesystem::exists(std::filesystem::symlink_status(to, error))) return false;
  std::filesystem::rename(from, to, error);
  return !error;
}

void TQorvelSystemFileSystem::Replace(const std::filesystem::path& from, const std::filesystem::path& to) {
  std::error_code error;
  std::filesystem::rename(from, to, error);
  if (error) throw EQorvelFileError("Cannot replace file " + QuotedFileName(to) + ". " + error.message());
}

namespace {

void Report(const std::string& caption, const std::string& text, const char* answer) {
  std::fprintf(stderr, "%s: %s [%s]\n", caption.c_str(), text.c_str(), answer);
}

}  // namespace

bool TQorvelSystemPrompt::AskYesNo(const std::string& caption, const std::string& text) {
  Report(caption, text, "No");
  return false;
}

bool TQorvelSystemPrompt::AskRetryCancel(const std::string& caption, const std::string& text) {
  Report(caption, text, "Cancel");
  return false;
}

void TQorvelSystemPrompt::ShowError(const std::string& caption, const std::string& text) {
  Report(caption, text, "OK");
}
