#pragma once
// Byte streams for the XML layer. The tokenizer reads and the settings writer writes through
// TQorvelStream, so both run unchanged on a file, on memory in tests, or on anything else that
// can hand out bytes.
//
// TQorvelFileStream has one implementation per platform: the Win32 one lives in
// win32/QorvelFileStreams.cpp, the standard-library one (host builds) in host/HostFileStreams.cpp.

#include <cstddef>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <utility>

#include "settings/QorvelErrors.h"

// Opening, reading or writing a file failed; the message names the file and the system's reason.
class EQorvelFileError : public EQorvelError {
 public:
  using EQorvelError::EQorvelError;
};

class TQorvelStream {
 public:
  virtual ~TQorvelStream() = default;

  // Copies up to `count` bytes into `buffer` and answers how many it copied. A short count is
  // not the end; only 0 is.
  virtual std::size_t Read(void* buffer, std::size_t count) = 0;
  // Writes all `count` bytes or throws.
  virtual void Write(const void* data, std::size_t count) = 0;

  void Write(std::string_view text) { Write(text.data(), text.size()); }
  // The text's bytes followed by CR LF, the line end of every file this program writes.
  void WriteLine(std::string_view text);
};

// Reads from and writes to a byte string in memory; writing overwrites or extends at the
// current position.
class TQorvelMemoryStream : public TQorvelStream {
 public:
  TQorvelMemoryStream() = default;
  explicit TQorvelMemoryStream(std::string data) : FData(std::move(data)) {}

  std::size_t Read(void* buffer, std::size_t count) override;
  void Write(const void* data, std::size_t count) override;
  using TQorvelStream::Write;

  const std::string& Data() const { return FData; }
  std::size_t Position() const { return FPosition; }
  void Rewind() { FPosition = 0; }

 private:
  std::string FData;
  std::size_t FPosition = 0;
};

enum class TQorvelFileMode {
  // Write access, nobody else may open the file. A missing file is created; an existing one is
  // truncated to length 0 in place rather than recreated, so that the file keeps its identity
  // and attributes (a hidden settings file stays hidden, and Windows refuses to recreate
  // hidden files anyway).
  Create,
  // Read access to an existing file; others may read but not write while the stream is open.
  OpenRead,
};

// A file opened for the lifetime of the object; it is closed when the object goes.
// Failures throw EQorvelFileError ("Cannot open file ...", "Cannot create file ...",
// "Cannot read from file ...", "Cannot write to file ...").
class TQorvelFileStream : public TQorvelStream {
 public:
  TQorvelFileStream(const std::filesystem::path& fileName, TQorvelFileMode mode);
  ~TQorvelFileStream() override;
  TQorvelFileStream(const TQorvelFileStream&) = delete;
  TQorvelFileStream& operator=(const TQorvelFileStream&) = delete;

  std::size_t Read(void* buffer, std::size_t count) override;
  void Write(const void* data, std::size_t count) override;
  using TQorvelStream::Write;

  const std::filesystem::path& FileName() const { return FFileName; }

 private:
  struct TImpl;
  std::filesystem::path FFileName;
  std::unique_ptr<TImpl> FImpl;
};

// The file name as UTF-8 text between double quotes, as the error messages show it.
std::string QuotedFileName(const std::filesystem::path& fileName);
