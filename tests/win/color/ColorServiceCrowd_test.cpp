// A crowded block of user-defined colours: 65 services on one block, and copies that are
// killed. The table holds 64 windows; the 65th service works without change messages, and
// nothing a killed or unregistered copy leaves behind takes another copy's place.

#include <gtest/gtest.h>

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "gui/QorvelMemoryMappedFiles.h"
#include "color/win32/QorvelColorServices.h"
#include "gui/Handles.h"

namespace {

std::wstring UniqueServiceName(const wchar_t* what) {
  return L"VindleCrowdTest" + std::to_wstring(::GetCurrentProcessId()) + L"_" + what;
}

class TTestService : public TQorvelColorDefinitionService {
 protected:
  friend class TQorvelColorDefinitionService;
  explicit TTestService(std::wstring name) : FName(std::move(name)) {}
  std::wstring GetServiceName() const override { return FName; }
  std::wstring GetRegistryKey() const override { return L"\\Software\\Qorvel\\VindleTests\\" + FName; }

 private:
  std::wstring FName;
};

struct TRegistryCleanup {
  std::wstring Key;
  ~TRegistryCleanup() { ::RegDeleteKeyW(HKEY_CURRENT_USER, Key.c_str()); }
};

// ColorServiceCrowd.exe beside the tests, started and waited for until its services are open.
TKernelHandle StartCrowd(const std::wstring& name, int count, const std::wstring& mode, int firstSlot) {
  wchar_t path[MAX_PATH];
  const DWORD length = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring exe(path, length);
  exe = exe.substr(0, exe.find_last_of(L"\\/") + 1) + L"ColorServiceCrowd.exe";
  std::wstring commandLine = L"\"" + exe + L"\" " + name + L" " + std::to_wstring(count) + L" " + mode;
  TKernelHandle ready(::CreateEventW(nullptr, TRUE, FALSE, (name + L"Ready" + std::to_wstring(firstSlot)).c_str()));
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process{};
  if (!::CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process))
    return TKernelHandle();
  ::CloseHandle(process.hThread);
  TKernelHandle started(process.hProcess);
  const HANDLE waits[] = {ready.Get(), started.Get()};
  if (::WaitForMultipleObjects(2, waits, FALSE, 60000) != WAIT_OBJECT_0) ADD_FAILURE() << "the crowd did not start";
  return started;
}

DWORD ExitCodeOf(const TKernelHandle& process) {
  if (::WaitForSingleObject(process.Get(), 90000) != WAIT_OBJECT_0) return STILL_ACTIVE;
  DWORD code = STILL_ACTIVE;
  ::GetExitCodeProcess(process.Get(), &code);
  return code;
}

std::uint32_t WindowIn(const std::wstring& name, int slot) {
  TQorvelMutexSharedMemory shared(name, QorvelColorBlock::Size, false);
  return TQorvelColorBlockView(shared.Memory()).Window(slot);
}

TEST(ColorServiceCrowd, SixtyFourCopiesHearAChangeOfTheSixtyFifthWhichWorksUnregistered) {
  const std::wstring name = UniqueServiceName(L"SixtyFive");
  TRegistryCleanup cleanup{(L"Software\\Qorvel\\VindleTests\\" + name)};
  // The block lives as long as one service has it open.
  auto keeper = TQorvelColorDefinitionService::Create<TTestService>(name);
  ASSERT_EQ(keeper->Slot(), 0);
  std::vector<TKernelHandle> crowds;
  const int sizes[] = {15, 16, 16, 16};
  int slot = 1;
  for (const int size : sizes) {
    crowds.push_back(StartCrowd(name, size, L"listen 3 5A6B7C", slot));
    ASSERT_TRUE(crowds.back()) << "ColorServiceCrowd.exe must be built beside the tests";
    slot += size;
  }
  ASSERT_EQ(slot, QorvelColorBlock::WindowCount);

  auto sixtyFifth = TQorvelColorDefinitionService::Create<TTestService>(name);
  EXPECT_EQ(sixtyFifth->Slot(), -1) << "the table is full";
  sixtyFifth->SetColor(3, 0x5A6B7C);
  EXPECT_EQ(sixtyFifth->GetColor(3), 0x5A6B7Cu);
  for (std::size_t i = 0; i < crowds.size(); ++i)
    EXPECT_EQ(ExitCodeOf(crowds[i]), 0u) << "crowd " << i << ": services that missed the change, or 100+ a failure";

  // The others' changes still reach it through the block, though no message does.
  keeper->SetColor(4, 0x010203);
  EXPECT_EQ(sixtyFifth->GetColor(4), 0x010203u);
  sixtyFifth.reset();
  EXPECT_NE(WindowIn(name, 0), 0u) << "the unregistered copy freed no slot";
}

TEST(ColorServiceCrowd, KilledCopiesLeaveOnlyTheirOwnSlotsWhichTheNextChangeFrees) {
  const std::wstring name = UniqueServiceName(L"Killed");
  TRegistryCleanup cleanup{(L"Software\\Qorvel\\VindleTests\\" + name)};
  auto first = TQorvelColorDefinitionService::Create<TTestService>(name);
  TKernelHandle crowd = StartCrowd(name, 20, L"hold", 1);
  ASSERT_TRUE(crowd);
  auto last = TQorvelColorDefinitionService::Create<TTestService>(name);
  ASSERT_EQ(last->Slot(), 21);

  ASSERT_TRUE(::TerminateProcess(crowd.Get(), 1));
  ::WaitForSingleObject(crowd.Get(), 10000);
  last->SetColor(6, 0x666666);
  EXPECT_EQ(first->GetColor(6), 0x666666u);
  for (int slot = 1; slot <= 20; ++slot) EXPECT_EQ(WindowIn(name, slot), 0u) << "slot " << slot;
  EXPECT_NE(WindowIn(name, 0), 0u) << "the living copies keep theirs";
  EXPECT_NE(WindowIn(name, 21), 0u);

  auto again = TQorvelColorDefinitionService::Create<TTestService>(name);
  EXPECT_EQ(again->Slot(), 1) << "a freed slot is taken again";
}

}  // namespace
