#pragma once
// Named file mappings: the memory blocks that running copies of the program share. A block
// lives as long as some process holds it open, so a block that was found rather than created
// tells the caller that another copy is running.

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "gui/QorvelMutexSections.h"
#include "gui/Handles.h"
#include "settings/QorvelErrors.h"

class EQorvelFileMappingError : public EQorvelError {
 public:
  using EQorvelError::EQorvelError;
};

// The kernel name of a block: a backslash would select a kernel namespace ("Global\...")
// or a missing directory, so every one becomes an underscore.
std::wstring QorvelMappingName(std::wstring name);

class TQorvelMemoryMappedFile {
 public:
  // Creates the named mapping of `file` (INVALID_HANDLE_VALUE: the paging file), read-write,
  // at most `size` bytes, or opens the existing one of that name; an empty name makes a
  // private mapping. The file handle stays the caller's. Throws EQorvelFileMappingError.
  TQorvelMemoryMappedFile(const std::wstring& name, std::int64_t size, HANDLE file = INVALID_HANDLE_VALUE);
  virtual ~TQorvelMemoryMappedFile() = default;
  TQorvelMemoryMappedFile(const TQorvelMemoryMappedFile&) = delete;
  TQorvelMemoryMappedFile& operator=(const TQorvelMemoryMappedFile&) = delete;

  // A read-write view of `count` bytes from `offset` (a multiple of the allocation
  // granularity); count 0 maps up to the end. The view is unmapped when its owner goes.
  // Throws EQorvelFileMappingError.
  TMappedView Map(std::size_t count = 0, std::int64_t offset = 0) const;

  const std::wstring& Name() const { return FName; }
  HANDLE File() const { return FFile; }
  bool Created() const { return FCreated; }
  HANDLE Mapping() const { return FMapping.Get(); }
  std::int64_t Size() const { return FSize; }

 private:
  std::wstring FName;
  HANDLE FFile;
  bool FCreated = false;
  TKernelHandle FMapping;
  std::int64_t FSize;
};

// A mapping with one view of all of it, valid for the object's lifetime.
class TQorvelSharedMemory : public TQorvelMemoryMappedFile {
 public:
  // Besides the errors of the mapping: a block of this name that exists with fewer than
  // `size` bytes is refused with the mapping error, rather than handing out memory that
  // ends before the caller's data does.
  TQorvelSharedMemory(const std::wstring& name, std::int64_t size, HANDLE file = INVALID_HANDLE_VALUE);

  void* Memory() const { return FMemory.Get(); }

 private:
  TMappedView FMemory;
};

// The guard of a TQorvelMutexSharedMemory, as a base of its own: bases are built before
// and freed after the mapping, so the guard already exists when the mapping is created and
// still exists when it is closed.
class TQorvelSharedMemoryGuard {
 protected:
  TQorvelSharedMemoryGuard(const std::wstring& mappingName, bool initialOwner);

  TQorvelMutexSection FGuard;
  bool FHeldForCreation = false;
};

// Shared memory with a mutex named after the block (its kernel name + "Mutex"). Whoever
// creates the block holds the guard at that moment, so "not created" always means that the
// creator's guarded initialisation is either finished or still holds the guard. When the
// guard cannot be had in the bounded wait, construction throws EQorvelMutexBusyError.
class TQorvelMutexSharedMemory : private TQorvelSharedMemoryGuard, public TQorvelSharedMemory {
 public:
  TQorvelMutexSharedMemory(const std::wstring& name, std::int64_t size, bool initialOwner,
                           HANDLE file = INVALID_HANDLE_VALUE);

  // The bounded wait of TQorvelMutexSection::TryEnter; answers whether the guard is held.
  bool Lock() { return FGuard.TryEnter(); }
  bool Unlock() { return FGuard.Leave(); }
  TQorvelMutexSection& Guard() { return FGuard; }
  const TQorvelMutexSection& Guard() const { return FGuard; }
};
