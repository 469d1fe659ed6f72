// A long session with the real ruler window: many paints, rotations, flips, turns,
// configuration switches, magnifier and transparency toggles and menus. Nothing it does may
// leave GDI or USER objects or memory behind.

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <memory>

#include "gui/Handles.h"
#include "ruler/win32/MainForms.h"
#include "settings/ApplicationSettings.h"

namespace {

struct TResources {
  DWORD GdiObjects = 0;   // 0 where the system does not count them (Wine)
  DWORD UserObjects = 0;  // likewise
  int Windows = 0;        // this thread's windows, children included
  SIZE_T PrivateBytes = 0;
};

BOOL CALLBACK CountWindow(HWND window, LPARAM count) {
  ++*reinterpret_cast<int*>(count);
  ::EnumChildWindows(window, CountWindow, count);
  return TRUE;
}

// Committed private memory, walked page range by page range: it works where the process
// counters do not, and on Wine it includes what GDI objects hold, which live in the process.
SIZE_T CommittedPrivateBytes() {
  SIZE_T total = 0;
  MEMORY_BASIC_INFORMATION region;
  for (const char* address = nullptr;
       ::VirtualQuery(address, &region, sizeof region) == sizeof region && region.RegionSize > 0;
       address = static_cast<const char*>(region.BaseAddress) + region.RegionSize) {
    if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE) total += region.RegionSize;
    if (static_cast<const char*>(region.BaseAddress) + region.RegionSize < address) break;
  }
  return total;
}

TResources Measure() {
  TResources r;
  r.GdiObjects = ::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS);
  r.UserObjects = ::GetGuiResources(::GetCurrentProcess(), GR_USEROBJECTS);
  ::EnumThreadWindows(::GetCurrentThreadId(), CountWindow, reinterpret_cast<LPARAM>(&r.Windows));
  r.PrivateBytes = CommittedPrivateBytes();
  return r;
}

void PaintNow(const TMainForm& ruler) {
  ::RedrawWindow(ruler.Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
}

void PumpMessages() {
  MSG message;
  while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
  }
}

// One round of everything a user does to the ruler besides dragging it.
void Handle(TMainForm& ruler, int round) {
  switch (round % 8) {
    case 0: ruler.Rotate(); break;
    case 1: ruler.Flip(); break;
    case 2: ruler.Turn(); break;
    case 3: ruler.SelectConfiguration(round / 8 % 3); break;
    case 4: ruler.ToggleMagnifier(); break;
    case 5: ruler.ToggleTransparent(); break;
    case 6: {
      ruler.UpdateRulerMenu();
      TMenuHandle menu(ruler.RulerMenu().BuildMenu());
      break;
    }
    case 7: ruler.SelectScaleUnit(5 + round / 8 % 5); break;
  }
  PaintNow(ruler);
}

// Sized to end within minutes under Wine on a busy machine.
constexpr int Paints = 10000;
constexpr int RoundsOfEach = 1000;

TEST(LongRun, PaintsAndHandlingLeaveNoObjectsOrMemoryBehind) {
  auto settings = TQorvelSettings::Create<TApplicationSettings>();
  TMainForm ruler(*settings);
  ruler.Show();
  PumpMessages();

  // Caches and lazily created objects settle in the first rounds.
  for (int round = 0; round < 800; ++round) Handle(ruler, round);
  for (int paint = 0; paint < 1000; ++paint) PaintNow(ruler);
  PumpMessages();
  const TResources before = Measure();

  for (int paint = 0; paint < Paints; ++paint) PaintNow(ruler);
  for (int round = 0; round < 8 * RoundsOfEach; ++round) Handle(ruler, round);
  PumpMessages();
  const TResources after = Measure();

  std::printf("GDI objects %lu -> %lu, USER objects %lu -> %lu, windows %d -> %d, private bytes %lu -> %lu\n",
              static_cast<unsigned long>(before.GdiObjects), static_cast<unsigned long>(after.GdiObjects),
              static_cast<unsigned long>(before.UserObjects), static_cast<unsigned long>(after.UserObjects),
              before.Windows, after.Windows, static_cast<unsigned long>(before.PrivateBytes),
              static_cast<unsigned long>(after.PrivateBytes));
  ASSERT_GT(before.PrivateBytes, 0u);
  ASSERT_GT(before.Windows, 0);
  EXPECT_LE(after.GdiObjects, before.GdiObjects + 2);
  EXPECT_LE(after.UserObjects, before.UserObjects + 2);
  EXPECT_EQ(after.Windows, before.Windows);
  // A device context with its bitmap takes some 200 bytes of the process on Wine: leaking one
  // per paint, or per round of one action, passes 128 KiB.
  EXPECT_LT(after.PrivateBytes, before.PrivateBytes + (128u << 10));
}

}  // namespace
