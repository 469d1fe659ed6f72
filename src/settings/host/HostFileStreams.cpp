// The file stream of the host build (tests, tools): the C library keeps the Win32 stream's
// semantics where it can express them.

#include "settings/ByteStreams.h"

#include <cerrno>
#include <cstdio>
#include <system_error>

// The standard-library file stream of the host build. It keeps the Win32 stream's semantics
// where the C library can express them: "wb" truncates an existing file in place (same file,
// same permissions) and creates a missing one. The C library has no sharing modes.

struct TQorvelFileStream::TImpl {
  std::FILE* File = nullptr;
  ~TImpl() {
    if (File) std::fclose(File);
  }
};

namespace {

std::string FileErrorText(const char* action, const std::filesystem::path& fileName, int error) {
  return std::string(action) + ' ' + QuotedFileName(fileName) + ". " + std::generic_category().message(error);
}

}  // namespace

TQorvelFileStream::TQorvelFileStream(const std::filesystem::path& fileName, TQorvelFileMode mode)
    : FFileName(fileName), FImpl(std::make_unique<TImpl>()) {
  FImpl->File = std::fopen(fileName.c_str(), mode == TQorvelFileMode::Create ? "wb" : "rb");
  if (!FImpl->File) {
    const char* action = mode == TQorvelFileMode::Create ? "Cannot create file" : "Cannot open file";
    throw EQorvelFileError(FileErrorText(action, fileName, errno));
  }
  // Unbuffered, so that a failed write (a full disk) is reported by Write and not lost in a
  // flush at close time.
  std::setvbuf(FImpl->File, nullptr, _IONBF, 0);
}

TQorvelFileStream::~TQorvelFileStream() = default;

std::size_t TQorvelFileStream::Read(void* buffer, std::size_t count) {
  const std::size_t n = std::fread(buffer, 1, count, FImpl->File);
  if (n < count && std::ferror(FImpl->File)) {
    throw EQorvelFileError(FileErrorText("Cannot read from file", FFileName, errno));
  }
  return n;
}

void TQorvelFileStream::Write(const void* data, std::size_t count) {
  if (count == 0) return;
  if (std::fwrite(data, 1, count, FImpl->File) != count) {
    throw EQorvelFileError(FileErrorText("Cannot write to file", FFileName, errno));
  }
}
