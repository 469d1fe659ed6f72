#include <gtest/gtest.h>

#include <windows.h>

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "gui/QorvelMemoryMappedFiles.h"
#include "color/win32/ColorServices.h"
#include "color/win32/QorvelColorServices.h"
#include "gui/Handles.h"
#include "gui/Window.h"
#include "settings/ApplicationSettings.h"
#include "support/HelperPrograms.h"
#include "support/MessagePump.h"
#include "support/TestColorServices.h"

namespace {

constexpr TColor NoColor = static_cast<TColor>(-1);

struct TChange {
  int Index;
  TColor Color;
  friend bool operator==(const TChange&, const TChange&) = default;
};

struct TListener {
  std::vector<TChange> Changes;
  void Changed(TQorvelColorDefinitionService&, int index, TColor color) { Changes.push_back({index, color}); }
  TQorvelColorListener Method() { return TQorvelColorListener::Of<&TListener::Changed>(this); }
};

// The raw block of a service name, opened beside the services as another copy would.
class TRawBlock {
 public:
  explicit TRawBlock(const std::wstring& name) : FShared(name, QorvelColorBlock::Size, false) {}
  TQorvelColorBlockView View() const { return TQorvelColorBlockView(FShared.Memory()); }
  bool Created() const { return FShared.Created(); }

 private:
  TQorvelMutexSharedMemory FShared;
};

std::uint32_t Stored(HWND window) { return static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(window)); }

// A window handle that existed once and is gone now.
std::uint32_t DeadWindow() {
  TMessageWindow window(L"TVindleColorTestDeadWindow", nullptr);
  return Stored(window.Handle());
}

void WriteUserDefined(const std::wstring& key, DWORD type, const void* data, DWORD size) {
  HKEY created = nullptr;
  ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &created, nullptr),
            ERROR_SUCCESS);
  TRegistryKey owned(created);
  ASSERT_EQ(::RegSetValueExW(owned.Get(), L"UserDefined", 0, type, static_cast<const BYTE*>(data), size),
            ERROR_SUCCESS);
}

std::vector<unsigned char> ReadUserDefined(const std::wstring& key) {
  std::vector<unsigned char> bytes(512);
  DWORD size = static_cast<DWORD>(bytes.size()), type = 0;
  if (::RegGetValueW(HKEY_CURRENT_USER, key.c_str(), L"UserDefined", RRF_RT_ANY, &type, bytes.data(), &size) !=
      ERROR_SUCCESS)
    return {};
  bytes.resize(size);
  return bytes;
}

// ColorServicePeer.exe, another copy of a service, beside the tests.
TKernelHandle StartPeer(const std::wstring& arguments) { return StartHelper(L"ColorServicePeer.exe", arguments); }

DWORD PeerResult(const TKernelHandle& peer) { return ExitCodeOf(peer, 30000); }

bool WaitUntilReady(const std::wstring& serviceName, const TKernelHandle& peer) {
  TKernelHandle ready(::CreateEventW(nullptr, TRUE, FALSE, (serviceName + L"Ready").c_str()));
  return WaitUntilSet(ready, peer, 30000);
}

constexpr DWORD PeerDone = 0;

// A service under a name of its own, whose registry values go at the end.
struct TNamedService {
  explicit TNamedService(const wchar_t* test)
      : Name(UniqueServiceName(test)),
        Cleanup(Name),
        Service(TQorvelColorDefinitionService::Create<TTestColorService>(Name)) {}
  std::wstring Name;
  TTestColorRegistry Cleanup;
  std::unique_ptr<TTestColorService> Service;
};

}  // namespace

TEST(ColorServiceColors, ANewBlockStartsWithGraysAndWhiteAndRefusesOtherIndexes) {
  TNamedService named(L"Initial");
  auto& [name, cleanup, service] = named;
  const TColor expected[] = {0x000000, 0x404040, 0x808080, 0xC0C0C0, 0xFFFFFF, 0xFFFFFF};
  for (int i = 0; i < 6; ++i) EXPECT_EQ(service->GetColor(i), expected[i]) << i;
  EXPECT_EQ(service->GetColor(31), 0xFFFFFFu);
  EXPECT_EQ(service->GetColor(32), NoColor);
  EXPECT_EQ(service->GetColor(-1), NoColor);

  TListener listener;
  service->AddListener(listener.Method());
  service->SetColor(-1, 0x123456);
  service->SetColor(32, 0x123456);
  EXPECT_TRUE(listener.Changes.empty());
  EXPECT_EQ(service->GetColor(31), 0xFFFFFFu);
  EXPECT_TRUE(ReadUserDefined(cleanup.Key()).empty()) << "an ignored index must not save";
}

TEST(ColorServiceListeners, AreCalledOnceEachInOrderAfterTheChange) {
  TNamedService named(L"Listeners");
  auto& [name, cleanup, service] = named;
  TListener first, second;
  EXPECT_TRUE(service->AddListener(first.Method()));
  EXPECT_TRUE(service->AddListener(second.Method()));
  EXPECT_FALSE(service->AddListener(first.Method()));

  service->SetColor(4, 0x0000FF);
  // Its own window is left out of the posting: pumping brings no second call.
  PumpFor(300);
  EXPECT_EQ(first.Changes, (std::vector<TChange>{{4, 0x0000FF}}));
  EXPECT_EQ(second.Changes, (std::vector<TChange>{{4, 0x0000FF}}));

  EXPECT_TRUE(service->RemoveListener(first.Method()));
  EXPECT_FALSE(service->RemoveListener(first.Method()));
  service->SetColor(4, 0x00FF00);
  EXPECT_EQ(first.Changes.size(), 1u);
  EXPECT_EQ(second.Changes.back(), (TChange{4, 0x00FF00}));
}

TEST(ColorServiceListeners, AListenerMayRemoveAnotherDuringTheNotification) {
  TNamedService named(L"Removing");
  auto& [name, cleanup, service] = named;
  struct TRemover {
    TQorvelColorListener Victim;
    void Changed(TQorvelColorDefinitionService& sender, int, TColor) { sender.RemoveListener(Victim); }
  };
  TListener victim;
  TRemover remover{victim.Method()};
  service->AddListener(TQorvelColorListener::Of<&TRemover::Changed>(&remover));
  service->AddListener(victim.Method());
  service->SetColor(0, 0x111111);
  EXPECT_TRUE(victim.Changes.empty()) << "a removed listener (perhaps already freed) must not be called";
}

TEST(ColorServiceListeners, HearNoChangeMessageWithAnIndexOutsideTheColours) {
  TNamedService named(L"Forged");
  auto& [name, cleanup, service] = named;
  TListener listener;
  service->AddListener(listener.Method());
  const UINT message = TQorvelColorDefinitionService::ColorChangedMessage;
  ::PostMessageW(service->Window(), message, 32, 0x123456);
  ::PostMessageW(service->Window(), message, static_cast<WPARAM>(-1), 0x123456);
  ::PostMessageW(service->Window(), message, 31, 0x654321);  // a real one, to know when to stop
  PumpUntil([&] { return !listener.Changes.empty(); }, 5000);
  EXPECT_EQ(listener.Changes, (std::vector<TChange>{{31, 0x654321}}));
}

TEST(ColorServiceBetweenProcesses, AnotherCopysChangeArrivesThroughTheListeners) {
  TNamedService named(L"FromPeer");
  auto& [name, cleanup, service] = named;
  ASSERT_EQ(service->Slot(), 0);
  TListener listener;
  service->AddListener(listener.Method());

  TKernelHandle peer = StartPeer(name + L" set 7 345678");
  ASSERT_TRUE(peer) << "ColorServicePeer.exe must be built beside the tests";
  ASSERT_EQ(PeerResult(peer), PeerDone);
  EXPECT_EQ(service->GetColor(7), 0x345678u) << "the block is shared";
  PumpUntil([&] { return !listener.Changes.empty(); }, 10000);
  EXPECT_EQ(listener.Changes, (std::vector<TChange>{{7, 0x345678}}));
}

TEST(ColorServiceBetweenProcesses, OurChangeReachesTheOtherCopy) {
  TNamedService named(L"ToPeer");
  auto& [name, cleanup, service] = named;
  TKernelHandle peer = StartPeer(name + L" listen 9 ABCDEF");
  ASSERT_TRUE(peer);
  ASSERT_TRUE(WaitUntilReady(name, peer));
  {
    TRawBlock block(name);
    EXPECT_NE(block.View().Window(1), 0u) << "the other copy registered in the next slot";
  }
  service->SetColor(9, 0xABCDEF);
  EXPECT_EQ(PeerResult(peer), PeerDone) << "3: nothing arrived, 4: another change, 5: not in the block";
}

TEST(ColorServiceDeadWindows, ACrashedCopysSlotIsHarmlessAndFreedOnTheNextChange) {
  TNamedService named(L"Crashed");
  auto& [name, cleanup, service] = named;
  TKernelHandle peer = StartPeer(name + L" crash");
  ASSERT_TRUE(peer);
  ASSERT_EQ(PeerResult(peer), PeerDone);

  TRawBlock block(name);
  const std::uint32_t left = block.View().Window(1);
  ASSERT_NE(left, 0u) << "the crashed copy did not unregister";
  PumpUntil([&] { return !::IsWindow(reinterpret_cast<HWND>(static_cast<std::uintptr_t>(left))); }, 5000);
  ASSERT_FALSE(::IsWindow(reinterpret_cast<HWND>(static_cast<std::uintptr_t>(left))));

  TListener listener;
  service->AddListener(listener.Method());
  service->SetColor(2, 0x222222);
  EXPECT_EQ(service->GetColor(2), 0x222222u);
  EXPECT_EQ(listener.Changes, (std::vector<TChange>{{2, 0x222222}}));
  EXPECT_EQ(block.View().Window(1), 0u) << "the dead window's slot is free again";
}

TEST(ColorServiceDeadWindows, AFullTableOfDeadWindowsStillTakesANewCopy) {
  const std::wstring name = UniqueServiceName(L"AllDead");
  TTestColorRegistry cleanup(name);
  TRawBlock block(name);
  ASSERT_TRUE(block.Created());
  block.View().Initialize();
  const std::uint32_t dead = DeadWindow();
  for (int slot = 0; slot < QorvelColorBlock::WindowCount; ++slot) block.View().SetWindow(slot, dead);

  auto service = TQorvelColorDefinitionService::Create<TTestColorService>(name);
  EXPECT_EQ(service->Slot(), 0);
  EXPECT_EQ(block.View().Window(0), Stored(service->Window()));
  EXPECT_EQ(service->GetColor(1), 0x404040u) << "an already set-up block is not seeded again";

  service.reset();
  EXPECT_EQ(block.View().Window(0), 0u) << "a closed service leaves its slot";
}

TEST(ColorServiceDeadWindows, AFullTableOfLiveWindowsLeavesTheNewCopyUnregisteredButWorking) {
  const std::wstring name = UniqueServiceName(L"AllLive");
  TTestColorRegistry cleanup(name);
  TRawBlock block(name);
  block.View().Initialize();
  TMessageWindow live(L"TQorvelColorDefinitionWindow", nullptr);  // a running service's, as far as the table can tell
  for (int slot = 0; slot < QorvelColorBlock::WindowCount; ++slot) block.View().SetWindow(slot, Stored(live.Handle()));

  auto service = TQorvelColorDefinitionService::Create<TTestColorService>(name);
  EXPECT_EQ(service->Slot(), -1);
  service->SetColor(5, 0x555555);
  EXPECT_EQ(service->GetColor(5), 0x555555u);
  service.reset();
  for (int slot = 0; slot < QorvelColorBlock::WindowCount; ++slot)
    EXPECT_EQ(block.View().Window(slot), Stored(live.Handle())) << "an unregistered copy frees no slot";
}

TEST(ColorServiceRegistry, TheBaseServiceStoresTheRecordsAndANewBlockReadsThemBack) {
  const std::wstring name = UniqueServiceName(L"Registry");
  TTestColorRegistry cleanup(name);
  {
    auto service = TQorvelColorDefinitionService::Create<TTestColorService>(name);
    service->SetColor(3, 0x112233);
    service->SetColor(31, 0x0000FF);
  }
  std::vector<unsigned char> stored = ReadUserDefined(cleanup.Key());
  ASSERT_EQ(stored.size(), 256u);
  EXPECT_EQ(stored[24], 0x33);  // record 3: value 33 22 11 00, flags 0
  EXPECT_EQ(stored[25], 0x22);
  EXPECT_EQ(stored[26], 0x11);
  EXPECT_EQ(stored[248], 0xFF);
  EXPECT_EQ(stored[8], 0x40) << "unchanged records are stored too";

  // Flags are carried through a load and the next save.
  stored[44] = 0x0D;  // record 5's flags
  WriteUserDefined(cleanup.Key(), REG_BINARY, stored.data(), 256);
  auto service = TQorvelColorDefinitionService::Create<TTestColorService>(name);  // the block was freed: a new one
  EXPECT_EQ(service->GetColor(3), 0x112233u);
  EXPECT_EQ(service->GetColor(31), 0x0000FFu);
  EXPECT_EQ(service->Record(5).Flags, 0x0Du);
  service->SetColor(5, 0x050505);
  EXPECT_EQ(ReadUserDefined(cleanup.Key())[44], 0x0D);
}

TEST(ColorServiceRegistry, AShortValueReplacesOnlyTheRecordsItHolds) {
  const std::wstring name = UniqueServiceName(L"Short");
  TTestColorRegistry cleanup(name);
  const std::array<unsigned char, 8> one{0x01, 0x02, 0x03, 0, 0, 0, 0, 0};
  WriteUserDefined(cleanup.Key(), REG_BINARY, one.data(), 8);
  auto service = TQorvelColorDefinitionService::Create<TTestColorService>(name);
  EXPECT_EQ(service->GetColor(0), 0x030201u);
  EXPECT_EQ(service->GetColor(1), 0x404040u);
}

TEST(ColorServiceRegistry, AValueOfTheWrongTypeOrTooLongIsRefusedWithAClearError) {
  const std::wstring name = UniqueServiceName(L"Invalid");
  TTestColorRegistry cleanup(name);
  const wchar_t text[] = L"white";
  WriteUserDefined(cleanup.Key(), REG_SZ, text, sizeof(text));
  try {
    TQorvelColorDefinitionService::Create<TTestColorService>(name);
    ADD_FAILURE() << "a text value was accepted";
  } catch (const EQorvelRegistryError& error) {
    EXPECT_STREQ(error.what(), "Invalid data type for 'UserDefined'");
  }
  const std::vector<unsigned char> tooLong(300, 0x11);
  WriteUserDefined(cleanup.Key(), REG_BINARY, tooLong.data(), 300);
  EXPECT_THROW(TQorvelColorDefinitionService::Create<TTestColorService>(name), EQorvelRegistryError);
  EXPECT_EQ(ReadUserDefined(cleanup.Key()).size(), 300u) << "the refused value is left as it was";
}

TEST(ProgramColorService, KeepsTheFirstFiveColoursInTheSettingsTree) {
  auto settings = TQorvelSettings::Create<TApplicationSettings>();
  settings->Colors->SetColorEntry(1, {0x0A0B0C, 7});
  auto service = TQorvelColorDefinitionService::Create<TColorDefinitionService>(*settings->Colors);
  EXPECT_EQ(service->GetColor(0), 0xA0A0FFu) << "the tree's defaults seed a new block";
  EXPECT_EQ(service->GetColor(1), 0x0A0B0Cu);
  EXPECT_EQ(service->GetColor(5), 0xFFFFFFu);

  service->SetColor(1, 0x00FF00);
  EXPECT_EQ(settings->Colors->GetColorEntry(1), (TColorEntry{0x00FF00, 7})) << "flags are kept";
  service->SetColor(4, 0x123456);
  EXPECT_EQ(settings->Colors->GetColorEntry(4).Value, 0x123456u);
}

TEST(ColorServiceSingleton, InstallingReplacesTheServiceOnce) {
  auto settings = TQorvelSettings::Create<TApplicationSettings>();
  SetColorDefinitionService(TQorvelColorDefinitionService::Create<TColorDefinitionService>(*settings->Colors));
  TQorvelColorDefinitionService& installed = ColorDefinitionService();
  EXPECT_EQ(&installed, &ColorDefinitionService());
  EXPECT_EQ(installed.GetColor(2), 0xA0FFFFu);
  SetColorDefinitionService(nullptr);
}

// Whatever another program writes into the block is data: non-colours are neither shown nor
// stored when the user sets one colour (the other stored colours and all flags stay the
// user's); handles of windows that are no colour service get no change message and lose
// their slots; a change message carrying a non-colour is dropped.
TEST(ColorServiceHostileBlock, TakesOnlyColoursPostsOnlyToServicesAndStoresOnlyItsOwnCopy) {
  auto settings = TQorvelSettings::Create<TApplicationSettings>();
  for (int i = 0; i < 5; ++i) settings->Colors->SetColorEntry(i, {0x010101u * static_cast<TColor>(i + 1), 7});
  auto service = TQorvelColorDefinitionService::Create<TColorDefinitionService>(*settings->Colors);
  ASSERT_TRUE(service->SharesColors());
  TListener listener;
  service->AddListener(listener.Method());

  const HWND foreign = ::CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
  TRawBlock block(L"VindleColorDefinitionService");
  for (int i = 0; i < QorvelColorBlock::ColorCount; ++i) block.View().SetRecord(i, {0xDEADBEEF, 0xDEADBEEF});
  block.View().SetRecord(3, {0x80000005, 0xDEADBEEF});  // a system colour is a colour
  block.View().SetWindow(40, static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(foreign)));

  EXPECT_EQ(service->GetColor(1), 0x020202u) << "a non-colour in the block shows the user's colour";
  EXPECT_EQ(service->GetColor(3), 0x80000005u);
  service->SetColor(0, 0x00FF00);
  EXPECT_EQ(settings->Colors->GetColorEntry(0), (TColorEntry{0x00FF00, 7}));
  EXPECT_EQ(settings->Colors->GetColorEntry(2), (TColorEntry{0x030303, 7})) << "the other colours stay the user's";
  EXPECT_EQ(settings->Colors->GetColorEntry(3), (TColorEntry{0x80000005, 7})) << "flags are never the block's";
  MSG posted;
  EXPECT_FALSE(::PeekMessageW(&posted, foreign, 0, 0, PM_REMOVE)) << "nothing posted to a window that is no service";
  EXPECT_EQ(block.View().Window(40), 0u);

  listener.Changes.clear();
  ::PostMessageW(service->Window(), TQorvelColorDefinitionService::ColorChangedMessage, 1, 0x12000000);
  ::PostMessageW(service->Window(), TQorvelColorDefinitionService::ColorChangedMessage, 1, 0x00123456);
  PumpUntil([&] { return !listener.Changes.empty(); }, 5000);
  PumpMessages();
  EXPECT_EQ(listener.Changes, (std::vector<TChange>{{1, 0x123456}}));
  service->RemoveListener(listener.Method());
  ::DestroyWindow(foreign);
}
