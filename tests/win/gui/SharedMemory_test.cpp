// Named mutexes and shared memory blocks: lock counting, the names the kernel sees, blocks
// found rather than created, and the hand-over from a later start to the first instance.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <cstring>
#include <functional>
#include <string>
#include <thread>

#include "gui/QorvelMemoryMappedFiles.h"
#include "gui/QorvelMutexSections.h"
#include "gui/Handles.h"
#include "gui/Window.h"
#include "support/HelperPrograms.h"
#include "support/MessagePump.h"

namespace {

constexpr UINT ShowInstanceMessage = WM_USER + 170;

// Names private to this test run, so that nothing else in the session can interfere.
std::wstring UniqueName(const wchar_t* what) {
  return L"VindleTest" + std::to_wstring(::GetCurrentProcessId()) + L"_" + what;
}

// Tries to take the mutex from another thread without waiting; answers the wait's result
// (WAIT_OBJECT_0 when it was free) and leaves it as it found it.
DWORD TakeFromOtherThread(const std::wstring& name) {
  DWORD result = WAIT_FAILED;
  std::thread other([&] {
    TKernelHandle mutex(::OpenMutexW(SYNCHRONIZE | MUTEX_MODIFY_STATE, FALSE, name.c_str()));
    if (!mutex) return;
    result = ::WaitForSingleObject(mutex.Get(), 0);
    if (result == WAIT_OBJECT_0 || result == WAIT_ABANDONED) ::ReleaseMutex(mutex.Get());
  });
  other.join();
  return result;
}

template <class TError>
void ExpectError(const std::function<void()>& action, const char* message) {
  try {
    action();
    ADD_FAILURE() << "expected the error \"" << message << "\"";
  } catch (const TError& error) {
    EXPECT_STREQ(error.what(), message);
  }
}

std::uint32_t ReadWord(const void* memory) {
  std::uint32_t value = 0;
  std::memcpy(&value, memory, sizeof(value));
  return value;
}

void WriteWord(void* memory, std::uint32_t value) { std::memcpy(memory, &value, sizeof(value)); }

}  // namespace

TEST(MutexSection, CountsWhatThisObjectHolds) {
  const std::wstring name = UniqueName(L"Counting");
  TQorvelMutexSection section(name, true);
  EXPECT_TRUE(section.Created());
  EXPECT_EQ(section.LockCount(), 1);
  EXPECT_EQ(TakeFromOtherThread(name), static_cast<DWORD>(WAIT_TIMEOUT)) << "initial ownership must be granted";

  EXPECT_EQ(section.Enter(), static_cast<DWORD>(WAIT_OBJECT_0));
  EXPECT_EQ(section.LockCount(), 2);
  EXPECT_TRUE(section.Leave());
  EXPECT_EQ(TakeFromOtherThread(name), static_cast<DWORD>(WAIT_TIMEOUT)) << "entered twice, left once";
  EXPECT_TRUE(section.Leave());
  EXPECT_EQ(section.LockCount(), 0);
  EXPECT_EQ(TakeFromOtherThread(name), static_cast<DWORD>(WAIT_OBJECT_0));

  EXPECT_FALSE(section.Leave()) << "nothing held: the system refuses the release";
  EXPECT_EQ(section.LockCount(), 0);

  TQorvelMutexSection unowned(UniqueName(L"Unowned"), false);
  EXPECT_TRUE(unowned.Created());
  EXPECT_EQ(unowned.LockCount(), 0);
  EXPECT_EQ(TakeFromOtherThread(unowned.Name()), static_cast<DWORD>(WAIT_OBJECT_0));
}

TEST(MutexSection, SecondObjectOfTheSameNameOpensTheSameMutex) {
  const std::wstring name = UniqueName(L"Twice");
  TQorvelMutexSection first(name, true);
  TQorvelMutexSection second(name, true);
  EXPECT_TRUE(first.Created());
  EXPECT_FALSE(second.Created());
  EXPECT_EQ(second.LockCount(), 0) << "the ownership request has no effect on an existing mutex";

  // The thread holds the mutex through the first object, so the second one's release at
  // count 0 is real and frees it; its count stays 0.
  EXPECT_TRUE(second.Leave());
  EXPECT_EQ(second.LockCount(), 0);
  EXPECT_EQ(TakeFromOtherThread(name), static_cast<DWORD>(WAIT_OBJECT_0));

  EXPECT_FALSE(first.Leave());
  EXPECT_EQ(first.LockCount(), 0);
}

TEST(MutexSection, EndingTheObjectReleasesItsLocks) {
  const std::wstring name = UniqueName(L"Ending");
  TKernelHandle keeper;  // keeps the mutex alive after the object has gone
  {
    TQorvelMutexSection section(name, true);
    section.Enter();
    keeper.Reset(::OpenMutexW(SYNCHRONIZE, FALSE, name.c_str()));
    ASSERT_TRUE(keeper);
  }
  EXPECT_EQ(TakeFromOtherThread(name), static_cast<DWORD>(WAIT_OBJECT_0))
      << "a destroyed object must not leave the mutex held by this thread";

  TQorvelMutexSection closed(name, false);
  closed.Enter();
  closed.Close();
  EXPECT_EQ(TakeFromOtherThread(name), static_cast<DWORD>(WAIT_OBJECT_0));
  EXPECT_EQ(closed.Handle(), nullptr);
  EXPECT_EQ(closed.Enter(), static_cast<DWORD>(WAIT_FAILED));
  EXPECT_FALSE(closed.Leave());
  EXPECT_NO_THROW(closed.Close());
}

TEST(MutexSection, FailuresCarryTheirMessages) {
  // A backslash names a kernel directory that does not exist.
  ExpectError<EQorvelMutexError>([] { TQorvelMutexSection bad(L"NoSuchFolder\\Mutex", false); },
                                 "Mutex could not be created.");

  TQorvelMutexSection section(UniqueName(L"Closing"), false);
  ::CloseHandle(section.Handle());  // closed behind the object's back
  ExpectError<EQorvelMutexError>([&] { section.Close(); }, "Mutex could not be closed.");
}

TEST(SharedMemory, KernelNamesReplaceBackslashes) {
  const std::wstring base = UniqueName(L"");
  TQorvelMutexSharedMemory shared(base + L"\\Qorvel\\Block", 4, true);
  const std::wstring mapping = base + L"_Qorvel_Block";
  EXPECT_EQ(shared.Name(), mapping);
  EXPECT_EQ(shared.Guard().Name(), mapping + L"Mutex");
  EXPECT_TRUE(shared.Created());
  EXPECT_TRUE(shared.Guard().Created());
  EXPECT_EQ(shared.Guard().LockCount(), 1);
  EXPECT_EQ(shared.Size(), 4);
  EXPECT_EQ(ReadWord(shared.Memory()), 0u) << "a new block holds 0";

  TKernelHandle openedMapping(::OpenFileMappingW(FILE_MAP_READ, FALSE, mapping.c_str()));
  TKernelHandle openedMutex(::OpenMutexW(SYNCHRONIZE, FALSE, (mapping + L"Mutex").c_str()));
  EXPECT_TRUE(openedMapping) << "the kernel must know the block by its replaced name";
  EXPECT_TRUE(openedMutex);
  EXPECT_EQ(QorvelMappingName(L"\\a\\\\b\\"), L"_a__b_");
}

TEST(SharedMemory, SecondObjectOfTheSameNameFindsTheBlock) {
  const std::wstring name = UniqueName(L"Shared");
  TQorvelMutexSharedMemory first(name, 4, true);
  WriteWord(first.Memory(), 0x12345678u);
  EXPECT_TRUE(first.Unlock());

  TQorvelMutexSharedMemory second(name, 4, true);
  EXPECT_FALSE(second.Created());
  EXPECT_FALSE(second.Guard().Created());
  EXPECT_EQ(second.Guard().LockCount(), 0);
  EXPECT_NE(second.Memory(), first.Memory()) << "each object maps its own view";
  EXPECT_EQ(ReadWord(second.Memory()), 0x12345678u);
  WriteWord(second.Memory(), 7);
  EXPECT_EQ(ReadWord(first.Memory()), 7u);

  // Without a name each block, and its guard, is private.
  TQorvelMutexSharedMemory privateA(L"", 4, true);
  TQorvelMutexSharedMemory privateB(L"", 4, true);
  EXPECT_TRUE(privateA.Created());
  EXPECT_TRUE(privateB.Created());
  EXPECT_TRUE(privateB.Guard().Created());
  WriteWord(privateA.Memory(), 99);
  EXPECT_EQ(ReadWord(privateB.Memory()), 0u);
}

TEST(SharedMemory, FailuresCarryTheirMessages) {
  const char* created = "Memory mapped file could not be created.";
  const char* mapped = "Memory mapped file could not be mapped.";
  ExpectError<EQorvelFileMappingError>([] { TQorvelSharedMemory empty(UniqueName(L"Empty"), 0); }, created);
  ExpectError<EQorvelFileMappingError>([] { TQorvelSharedMemory negative(UniqueName(L"Negative"), -4); }, created);

  TQorvelMemoryMappedFile file(UniqueName(L"Mapping"), 4096);
  ExpectError<EQorvelFileMappingError>([&] { file.Map(4096, 1 << 20); }, mapped);
  ExpectError<EQorvelFileMappingError>([&] { file.Map(0, -65536); }, mapped);
  TMappedView view = file.Map(16);
  EXPECT_TRUE(view);

  // An existing block keeps its creator's size: a caller that needs more must not get it.
  const std::wstring name = UniqueName(L"Small");
  TQorvelSharedMemory small(name, 4096);
  ExpectError<EQorvelFileMappingError>([&] { TQorvelSharedMemory large(name, 4 * 65536); }, mapped);
  TQorvelSharedMemory sameSize(name, 4096);
  EXPECT_FALSE(sameSize.Created());
}

TEST(SharedMemory, BlockIsCreatedOnlyUnderItsGuard) {
  // Another instance has created the guard and owns it but has not created the block yet.
  // A start in between must wait for it, then find the block the other one filled in;
  // creating the block itself would make two first instances.
  const std::wstring name = UniqueName(L"Race");
  TKernelHandle ready(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
  TKernelHandle finish(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
  std::thread creator([&] {
    TKernelHandle guard(::CreateMutexW(nullptr, TRUE, (name + L"Mutex").c_str()));
    ::SetEvent(ready.Get());
    ::Sleep(200);
    TQorvelSharedMemory block(name, 4);
    WriteWord(block.Memory(), 0xCAFEu);
    ::ReleaseMutex(guard.Get());
    ::WaitForSingleObject(finish.Get(), INFINITE);
  });
  ::WaitForSingleObject(ready.Get(), INFINITE);
  {
    TQorvelMutexSharedMemory later(name, 4, true);
    EXPECT_FALSE(later.Created());
    EXPECT_FALSE(later.Guard().Created());
    EXPECT_EQ(later.Guard().LockCount(), 0);
    EXPECT_EQ(ReadWord(later.Memory()), 0xCAFEu);
  }
  ::SetEvent(finish.Get());
  creator.join();
}

namespace {

// The probe program beside the tests, started with the block's name.
TKernelHandle StartProbe(const std::wstring& blockName) { return StartHelper(L"SharedMemoryProbe.exe", blockName); }

DWORD ProbeResult(const TKernelHandle& probe) { return ExitCodeOf(probe, 20000); }

constexpr DWORD ProbePosted = 0;
constexpr DWORD ProbeWasFirst = 10;

}  // namespace

TEST(SharedMemoryBetweenProcesses, LaterStartHandsOverToTheFirstInstance) {
  const std::wstring name = UniqueName(L"Instance");
  TQorvelMutexSharedMemory first(name, 4, true);
  ASSERT_TRUE(first.Created());
  int shown = 0;
  TMessageWindow window(L"TVindleSharedMemoryTest", [&](UINT message, WPARAM, LPARAM, LRESULT& result) {
    if (message != ShowInstanceMessage) return false;
    ++shown;
    result = 0;
    return true;
  });

  // The later start comes while the first still sets up: it must wait for the guard rather
  // than read an empty block.
  TKernelHandle probe = StartProbe(name);
  ASSERT_TRUE(probe) << "SharedMemoryProbe.exe must be built beside the tests";
  EXPECT_EQ(::WaitForSingleObject(probe.Get(), 500), static_cast<DWORD>(WAIT_TIMEOUT))
      << "the later start ended before the first instance had stored its window";
  WriteWord(first.Memory(), static_cast<std::uint32_t>(reinterpret_cast<UINT_PTR>(window.Handle())));
  ASSERT_TRUE(first.Unlock());

  EXPECT_EQ(ProbeResult(probe), ProbePosted);
  PumpUntil([&] { return shown != 0; }, 10000);
  EXPECT_EQ(shown, 1);
}

TEST(SharedMemoryBetweenProcesses, BlockEndsWithItsLastHolder) {
  const std::wstring name = UniqueName(L"Ended");
  {
    TQorvelMutexSharedMemory first(name, 4, true);
    WriteWord(first.Memory(), 1);
  }
  // Freeing the object must close the view and the mapping: the next start is first again.
  EXPECT_EQ(ProbeResult(StartProbe(name)), ProbeWasFirst);
  EXPECT_EQ(ProbeResult(StartProbe(name)), ProbeWasFirst);
}

// A lock that another program takes and never lets go: the wait gives up after its bound,
// answering what is sent meanwhile; later tries only look; creating the block refuses; and
// once the holder ends, its abandoned mutex is taken over.
TEST(MutexHeldElsewhere, CostsOneBoundedWaitAnswersSentMessagesAndIsTakenOverWhenItsHolderEnds) {
  const std::wstring name = UniqueName(L"Stuck"), ready = TestProgramFolder() + name + L".ready";
  TKernelHandle holder = StartHelper(L"HostileNeighbour.exe", L"hold " + name + L"Mutex \"" + ready + L"\"");
  ASSERT_TRUE(PumpUntil([&] { return ::GetFileAttributesW(ready.c_str()) != INVALID_FILE_ATTRIBUTES; }, 20000));
  ::DeleteFileW(ready.c_str());
  TQorvelMutexSection section(name + L"Mutex", false);
  const HWND window = ::CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
  bool answered = false;
  std::thread sender([&] {
    DWORD_PTR result = 0;
    answered = ::SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 2000, &result) != 0;
  });
  EXPECT_FALSE(section.TryEnter());
  sender.join();
  EXPECT_TRUE(answered) << "a message sent during the wait was answered";
  const ULONGLONG again = ::GetTickCount64();
  EXPECT_FALSE(section.TryEnter());
  EXPECT_LT(::GetTickCount64() - again, QorvelLockWaitLimitMs) << "a second try only looks";
  ExpectError<EQorvelMutexBusyError>([&] { TQorvelMutexSharedMemory shared(name, 4, true); },
                                     "Mutex is held by another program.");
  ::TerminateProcess(holder.Get(), 0);
  ::WaitForSingleObject(holder.Get(), 10000);
  EXPECT_TRUE(section.TryEnter()) << "the abandoned mutex is taken over";
  ::DestroyWindow(window);
}
