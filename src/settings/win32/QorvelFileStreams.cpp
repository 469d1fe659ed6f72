// The Win32 file stream: a kernel file handle, read and written without buffering so that a
// failed write (a full disk) is reported where it happens.

#include "settings/ByteStreams.h"

#include <windows.h>

#include <algorithm>

#include "gui/Handles.h"

namespace {

std::string Utf8(const wchar_t* text, int length) {
  const int size = WideCharToMultiByte(CP_UTF8, 0, text, length, nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(std::max(size, 0)), '\0');
  if (size > 0) WideCharToMultiByte(CP_UTF8, 0, text, length, out.data(), size, nullptr, nullptr);
  return out;
}

// The system's own description of an error code, as the message boxes show it.
std::string SystemErrorText(DWORD error) {
  wchar_t* text = nullptr;
  const DWORD length =
      FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                     nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  std::string message;
  if (length > 0 && text) message = Utf8(text, static_cast<int>(length));
  if (text) LocalFree(text);
  while (!message.empty() && (message.back() == '\n' || message.back() == '\r' || message.back() == ' ')) {
    message.pop_back();
  }
  if (message.empty()) message = "System error " + std::to_string(error) + ".";
  return message;
}

[[noreturn]] void RaiseFileError(const char* action, const std::filesystem::path& fileName) {
  const DWORD error = GetLastError();
  throw EQorvelFileError(std::string(action) + ' ' + QuotedFileName(fileName) + ". " + SystemErrorText(error));
}

// Chunks for ReadFile/WriteFile, whose counts are 32-bit.
constexpr std::size_t MaxChunk = 1u << 30;

}  // namespace

struct TQorvelFileStream::TImpl {
  TFileHandle File;
};

TQorvelFileStream::TQorvelFileStream(const std::filesystem::path& fileName, TQorvelFileMode mode)
    : FFileName(fileName), FImpl(std::make_unique<TImpl>()) {
  TFileHandle& file = FImpl->File;
  if (mode == TQorvelFileMode::Create) {
    // OPEN_ALWAYS rather than CREATE_ALWAYS: an existing file is opened and truncated below, so
    // it stays the same file with its attributes; CREATE_ALWAYS would refuse a hidden file.
    file.Reset(CreateFileW(fileName.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file || !SetEndOfFile(file.Get())) RaiseFileError("Cannot create file", fileName);
  } else {
    file.Reset(CreateFileW(fileName.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) RaiseFileError("Cannot open file", fileName);
  }
}

TQorvelFileStream::~TQorvelFileStream() = default;

std::size_t TQorvelFileStream::Read(void* buffer, std::size_t count) {
  DWORD read = 0;
  if (!ReadFile(FImpl->File.Get(), buffer, static_cast<DWORD>(std::min(count, MaxChunk)), &read, nullptr)) {
    RaiseFileError("Cannot read from file", FFileName);
  }
  return read;
}

void TQorvelFileStream::Write(const void* data, std::size_t count) {
  const auto* bytes = static_cast<const char*>(data);
  while (count > 0) {
    DWORD written = 0;
    if (!WriteFile(FImpl->File.Get(), bytes, static_cast<DWORD>(std::min(count, MaxChunk)), &written, nullptr)) {
      RaiseFileError("Cannot write to file", FFileName);
    }
    if (written == 0) {
      SetLastError(ERROR_DISK_FULL);
      RaiseFileError("Cannot write to file", FFileName);
    }
    bytes += written;
    count -= written;
  }
}
