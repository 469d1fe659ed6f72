// The settings file on Windows: file attributes, delete and rename through kernel32, and the
// questions to the user as message boxes.

#include "settings/SettingsFileRules.h"

#include <windows.h>

#include "gui/Application.h"
#include "settings/QorvelSettings.h"

namespace {

// The attributes SetFileAttributesW accepts; others (compressed, encrypted, ...) are kept by
// the file system itself.
constexpr DWORD SettableAttributes = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                     FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED |
                                     FILE_ATTRIBUTE_OFFLINE | FILE_ATTRIBUTE_TEMPORARY;

std::string SystemErrorText(DWORD error) {
  wchar_t* text = nullptr;
  const DWORD length =
      FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                     nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  std::wstring message = length > 0 && text ? std::wstring(text, length) : std::wstring();
  if (text) LocalFree(text);
  while (!message.empty() && (message.back() == L'\n' || message.back() == L'\r' || message.back() == L' '))
    message.pop_back();
  return message.empty() ? "System error " + std::to_string(error) + "." : Narrow(message);
}

bool IsMissing(DWORD error) { return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND; }

int ShowMessageBox(const std::string& caption, const std::string& text, UINT buttons) {
  // No owner window; task-modal so that no window of the program takes input meanwhile.
  return MessageBoxW(nullptr, Widen(text).c_str(), Widen(caption).c_str(),
                     buttons | MB_ICONERROR | MB_TASKMODAL | MB_SETFOREGROUND);
}

}  // namespace

std::optional<TQorvelFileAttributes> TQorvelSystemFileSystem::Attributes(const std::filesystem::path& fileName) {
  const DWORD attributes = GetFileAttributesW(fileName.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return std::nullopt;
  return attributes;
}

void TQorvelSystemFileSystem::ApplyAttributes(const std::filesystem::path& fileName, TQorvelFileAttributes attributes) {
  DWORD settable = attributes & SettableAttributes;
  if (settable == 0) settable = FILE_ATTRIBUTE_NORMAL;
  if (!SetFileAttributesW(fileName.c_str(), settable)) {
    const DWORD error = GetLastError();
    throw EQorvelFileError("Cannot set the attributes of file " + QuotedFileName(fileName) + ". " +
                           SystemErrorText(error));
  }
}

bool TQorvelSystemFileSystem::Remove(const std::filesystem::path& fileName) {
  return DeleteFileW(fileName.c_str()) || IsMissing(GetLastError());
}

bool TQorvelSystemFileSystem::Rename(const std::filesystem::path& from, const std::filesystem::path& to) {
  // MoveFileW never replaces an existing target.
  return MoveFileW(from.c_str(), to.c_str()) != 0;
}

void TQorvelSystemFileSystem::Replace(const std::filesystem::path& from, const std::filesystem::path& to) {
  // One rename on the same volume; write-through so that the new name is on the disk when the
  // call returns.
  if (!MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    const DWORD error = GetLastError();
    throw EQorvelFileError("Cannot replace file " + QuotedFileName(to) + ". " + SystemErrorText(error));
  }
}

bool TQorvelSystemPrompt::AskYesNo(const std::string& caption, const std::string& text) {
  return ShowMessageBox(caption, text, MB_YESNO) == IDYES;
}

bool TQorvelSystemPrompt::AskRetryCancel(const std::string& caption, const std::string& text) {
  return ShowMessageBox(caption, text, MB_RETRYCANCEL) == IDRETRY;
}

void TQorvelSystemPrompt::ShowError(const std::string& caption, const std::string& text) {
  ShowMessageBox(caption, text, MB_OK);
}

// The settings file on the system's own files, asking the user with the system's prompts.
void TQorvelTypicalApplicationSettings::LoadFromFile(const std::filesystem::path& fileName,
                                                     const std::string& rootName) {
  TQorvelSystemFileSystem fileSystem;
  TQorvelSystemPrompt prompt;
  LoadFromFile(fileName, rootName, fileSystem, prompt);
}

void TQorvelTypicalApplicationSettings::SaveToFile(const std::filesystem::path& fileName, const std::string& rootName) {
  TQorvelSystemFileSystem fileSystem;
  TQorvelSystemPrompt prompt;
  SaveToFile(fileName, rootName, fileSystem, prompt);
}
