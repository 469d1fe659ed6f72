#include "settings/ByteStreams.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <system_error>

void TQorvelStream::WriteLine(std::string_view text) {
  Write(text);
  Write("\r\n", 2);
}

std::size_t TQorvelMemoryStream::Read(void* buffer, std::size_t count) {
  const std::size_t available = FData.size() - std::min(FPosition, FData.size());
  const std::size_t n = std::min(count, available);
  if (n > 0) std::memcpy(buffer, FData.data() + FPosition, n);
  FPosition += n;
  return n;
}

void TQorvelMemoryStream::Write(const void* data, std::size_t count) {
  if (count == 0) return;
  if (FData.size() < FPosition + count) FData.resize(FPosition + count);
  std::memcpy(FData.data() + FPosition, data, count);
  FPosition += count;
}

std::string QuotedFileName(const std::filesystem::path& fileName) {
  const std::u8string name = fileName.u8string();
  return '"' + std::string(name.begin(), name.end()) + '"';
}
