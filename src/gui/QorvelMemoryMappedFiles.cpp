#include "gui/QorvelMemoryMappedFiles.h"

#include <algorithm>

namespace {

DWORD HighPart(std::int64_t value) { return static_cast<DWORD>(static_cast<std::uint64_t>(value) >> 32); }
DWORD LowPart(std::int64_t value) { return static_cast<DWORD>(static_cast<std::uint64_t>(value) & 0xFFFFFFFFu); }

std::wstring GuardName(const std::wstring& mappingName) {
  // A private block gets a private guard: a mutex named just "Mutex" would be shared with
  // every other program that picked that name.
  return mappingName.empty() ? std::wstring() : mappingName + L"Mutex";
}

}  // namespace

std::wstring QorvelMappingName(std::wstring name) {
  std::replace(name.begin(), name.end(), L'\\', L'_');
  return name;
}

TQorvelMemoryMappedFile::TQorvelMemoryMappedFile(const std::wstring& name, std::int64_t size, HANDLE file)
    : FName(QorvelMappingName(name)), FFile(file), FSize(size) {
  if (size < 0) throw EQorvelFileMappingError("Memory mapped file could not be created.");
  ::SetLastError(ERROR_SUCCESS);
  FMapping.Reset(::CreateFileMappingW(file, nullptr, PAGE_READWRITE, HighPart(size), LowPart(size),
                                      FName.empty() ? nullptr : FName.c_str()));
  const DWORD error = ::GetLastError();
  if (!FMapping) throw EQorvelFileMappingError("Memory mapped file could not be created.");
  FCreated = error != ERROR_ALREADY_EXISTS;
}

TMappedView TQorvelMemoryMappedFile::Map(std::size_t count, std::int64_t offset) const {
  if (offset < 0) throw EQorvelFileMappingError("Memory mapped file could not be mapped.");
  TMappedView view(::MapViewOfFile(FMapping.Get(), FILE_MAP_ALL_ACCESS, HighPart(offset), LowPart(offset), count));
  if (!view) throw EQorvelFileMappingError("Memory mapped file could not be mapped.");
  return view;
}

TQorvelSharedMemory::TQorvelSharedMemory(const std::wstring& name, std::int64_t size, HANDLE file)
    : TQorvelMemoryMappedFile(name, size, file), FMemory(Map()) {
  // An existing block keeps the size its creator gave it, whatever this call asked for.
  MEMORY_BASIC_INFORMATION region{};
  if (::VirtualQuery(FMemory.Get(), &region, sizeof(region)) != sizeof(region) ||
      static_cast<std::uint64_t>(region.RegionSize) < static_cast<std::uint64_t>(size)) {
    throw EQorvelFileMappingError("Memory mapped file could not be mapped.");
  }
}

TQorvelSharedMemoryGuard::TQorvelSharedMemoryGuard(const std::wstring& mappingName, bool initialOwner)
    : FGuard(GuardName(mappingName), initialOwner) {
  // Create or open the block only while holding the guard: otherwise a start racing the
  // creator could create the block although the creator already owns the guard, and both
  // would take themselves for the creator.
  if (FGuard.LockCount() == 0) {
    // A holder that never lets go must not keep this start waiting with no word.
    if (!FGuard.TryEnter()) throw EQorvelMutexBusyError("Mutex is held by another program.");
    FHeldForCreation = true;
  }
}

TQorvelMutexSharedMemory::TQorvelMutexSharedMemory(const std::wstring& name, std::int64_t size, bool initialOwner,
                                                   HANDLE file)
    : TQorvelSharedMemoryGuard(QorvelMappingName(name), initialOwner), TQorvelSharedMemory(name, size, file) {
  // Should the mapping fail, the guard's destructor releases the hold.
  if (FHeldForCreation) {
    FGuard.Leave();
    FHeldForCreation = false;
  }
}
