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
#include "support/HelperPrograms.h"
#include "support/TestColorServices.h"

namespace {

// ColorServiceCrowd.exe beside the tests, started and waited for until its services are open.
TKernelHandle StartCrowd(const std::wstring& name, int count, const std::wstring& mode, int firstSlot) {
  TKernelHandle ready(::CreateEventW(nullptr, TRUE, FALSE, (name + L"Ready" + std::to_wstring(firstSlot)).c_str()));
  TKernelHandle crowd = StartHelper(L"ColorServiceCrowd.exe", name + L" " + std::to_wstring(count) + L" " + mode);
  if (crowd && !WaitUntilSet(ready, crowd, 60000)) ADD_FAILURE() << "the crowd did not start";
  return crowd;
}

DWORD CrowdResult(const TKernelHandle& crowd) { return ExitCodeOf(crowd, 90000); }

std::uint32_t WindowIn(const std::wstring& name, int slot) {
  TQorvelMutexSharedMemory shared(name, QorvelColorBlock::Size, false);
  return TQorvelColorBlockView(shared.Memory()).Window(slot);
}

TEST(ColorServiceCrowd, SixtyFourCopiesHearAChangeOfTheSixtyFifthWhichWorksUnregistered) {
  const std::wstring name = UniqueServiceName(L"SixtyFive");
  TTestColorRegistry cleanup(name);
  // The block lives as long as one service has it open.
  auto keeper = TQorvelColorDefinitionService::Create<TTestColorService>(name);
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

  auto sixtyFifth = TQorvelColorDefinitionService::Create<TTestColorService>(name);
  EXPECT_EQ(sixtyFifth->Slot(), -1) << "the table is full";
  sixtyFifth->SetColor(3, 0x5A6B7C);
  EXPECT_EQ(sixtyFifth->GetColor(3), 0x5A6B7Cu);
  for (std::size_t i = 0; i < crowds.size(); ++i)
    EXPECT_EQ(CrowdResult(crowds[i]), 0u) << "crowd " << i << ": services that missed the change, or 100+ a failure";

  // The others' changes still reach it through the block, though no message does.
  keeper->SetColor(4, 0x010203);
  EXPECT_EQ(sixtyFifth->GetColor(4), 0x010203u);
  sixtyFifth.reset();
  EXPECT_NE(WindowIn(name, 0), 0u) << "the unregistered copy freed no slot";
}

TEST(ColorServiceCrowd, KilledCopiesLeaveOnlyTheirOwnSlotsWhichTheNextChangeFrees) {
  const std::wstring name = UniqueServiceName(L"Killed");
  TTestColorRegistry cleanup(name);
  auto first = TQorvelColorDefinitionService::Create<TTestColorService>(name);
  TKernelHandle crowd = StartCrowd(name, 20, L"hold", 1);
  ASSERT_TRUE(crowd);
  auto last = TQorvelColorDefinitionService::Create<TTestColorService>(name);
  ASSERT_EQ(last->Slot(), 21);

  ASSERT_TRUE(::TerminateProcess(crowd.Get(), 1));
  ::WaitForSingleObject(crowd.Get(), 10000);
  last->SetColor(6, 0x666666);
  EXPECT_EQ(first->GetColor(6), 0x666666u);
  for (int slot = 1; slot <= 20; ++slot) EXPECT_EQ(WindowIn(name, slot), 0u) << "slot " << slot;
  EXPECT_NE(WindowIn(name, 0), 0u) << "the living copies keep theirs";
  EXPECT_NE(WindowIn(name, 21), 0u);

  auto again = TQorvelColorDefinitionService::Create<TTestColorService>(name);
  EXPECT_EQ(again->Slot(), 1) << "a freed slot is taken again";
}

}  // namespace
