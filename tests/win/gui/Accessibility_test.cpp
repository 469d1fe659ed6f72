// What a screen reader reads from the ruler, the colour picker's box and the coordinates
// window: the objects the system's accessibility functions return for the real windows, their
// texts as the windows' state changes, the change events, and objects that outlive their
// windows.
#include <gtest/gtest.h>
#include <windows.h>
#include <oleacc.h>

#include <memory>
#include <string>
#include <vector>

#include "color/win32/ColorForms.h"
#include "color/win32/CursorForms.h"
#include "ruler/win32/MainForms.h"
#include "settings/ApplicationSettings.h"
#include "support/MessagePump.h"
#include "support/ProgramSetup.h"

namespace {

// The client side of the accessibility functions, from the system folder as the program
// loads its side.
struct TClientFunctions {
  HRESULT(WINAPI* AccessibleObjectFromWindow)(HWND, DWORD, REFIID, void**) = nullptr;
  HRESULT(WINAPI* WindowFromAccessibleObject)(IAccessible*, HWND*) = nullptr;
};

const TClientFunctions& Client() {
  static const TClientFunctions functions = [] {
    TClientFunctions bound;
    wchar_t folder[MAX_PATH];
    const UINT length = ::GetSystemDirectoryW(folder, MAX_PATH);
    HMODULE module = ::LoadLibraryW((std::wstring(folder, length) + L"\\oleacc.dll").c_str());
    if (!module) return bound;
    bound.AccessibleObjectFromWindow = reinterpret_cast<decltype(bound.AccessibleObjectFromWindow)>(
        reinterpret_cast<void*>(::GetProcAddress(module, "AccessibleObjectFromWindow")));
    bound.WindowFromAccessibleObject = reinterpret_cast<decltype(bound.WindowFromAccessibleObject)>(
        reinterpret_cast<void*>(::GetProcAddress(module, "WindowFromAccessibleObject")));
    return bound;
  }();
  return functions;
}

// One counted reference to an accessible object.
class TAccessibleRef {
 public:
  explicit TAccessibleRef(IAccessible* object = nullptr) : FObject(object) {}
  ~TAccessibleRef() {
    if (FObject) FObject->Release();
  }
  TAccessibleRef(const TAccessibleRef&) = delete;
  TAccessibleRef& operator=(const TAccessibleRef&) = delete;
  IAccessible* operator->() const { return FObject; }
  IAccessible* Get() const { return FObject; }
  explicit operator bool() const { return FObject != nullptr; }

 private:
  IAccessible* FObject;
};

TAccessibleRef ClientObjectOf(HWND window) {
  IAccessible* object = nullptr;
  const HRESULT result = Client().AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT), IID_IAccessible,
                                                             reinterpret_cast<void**>(&object));
  EXPECT_EQ(result, S_OK);
  return TAccessibleRef(SUCCEEDED(result) ? object : nullptr);
}

VARIANT Self() {
  VARIANT self;
  ::VariantInit(&self);
  self.vt = VT_I4;
  self.lVal = CHILDID_SELF;
  return self;
}

using TTextGetter = HRESULT (STDMETHODCALLTYPE IAccessible::*)(VARIANT, BSTR*);

// The text and the result of one of the text properties of the object itself.
struct TTextAnswer {
  HRESULT Result = E_FAIL;
  std::wstring Text;
};

TTextAnswer Read(const TAccessibleRef& object, TTextGetter getter) {
  TTextAnswer answer;
  BSTR text = nullptr;
  answer.Result = (object.Get()->*getter)(Self(), &text);
  if (text) {
    answer.Text.assign(text, ::SysStringLen(text));
    ::SysFreeString(text);
  }
  return answer;
}

std::wstring Name(const TAccessibleRef& object) { return Read(object, &IAccessible::get_accName).Text; }
std::wstring Value(const TAccessibleRef& object) { return Read(object, &IAccessible::get_accValue).Text; }
std::wstring Description(const TAccessibleRef& object) { return Read(object, &IAccessible::get_accDescription).Text; }

LONG Role(const TAccessibleRef& object) {
  VARIANT role;
  ::VariantInit(&role);
  if (FAILED(object->get_accRole(Self(), &role)) || role.vt != VT_I4) return -1;
  return role.lVal;
}

std::wstring Hex(COLORREF color) {
  wchar_t text[8];
  ::swprintf(text, 8, L"#%02X%02X%02X", GetRValue(color), GetGValue(color), GetBValue(color));
  return text;
}

// The events this thread hears about objects of this process.
struct TWinEvent {
  DWORD Event;
  HWND Window;
  LONG Object;
  LONG Child;
};

class TWinEventRecorder {
 public:
  TWinEventRecorder() {
    Instance() = this;
    FHook = ::SetWinEventHook(EVENT_OBJECT_NAMECHANGE, EVENT_OBJECT_VALUECHANGE, nullptr, &Record,
                              ::GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT);
  }
  ~TWinEventRecorder() {
    if (FHook) ::UnhookWinEvent(FHook);
    Instance() = nullptr;
  }
  TWinEventRecorder(const TWinEventRecorder&) = delete;
  TWinEventRecorder& operator=(const TWinEventRecorder&) = delete;

  bool Hooked() const { return FHook != nullptr; }
  // The events of one window heard so far; the queue is pumped first.
  std::vector<TWinEvent> Of(HWND window) {
    PumpMessages();
    std::vector<TWinEvent> events;
    for (const TWinEvent& event : FEvents)
      if (event.Window == window) events.push_back(event);
    return events;
  }
  void Clear() {
    PumpMessages();
    FEvents.clear();
  }

 private:
  static TWinEventRecorder*& Instance() {
    static TWinEventRecorder* instance = nullptr;
    return instance;
  }
  static void CALLBACK Record(HWINEVENTHOOK, DWORD event, HWND window, LONG object, LONG child, DWORD, DWORD) {
    if (Instance()) Instance()->FEvents.push_back({event, window, object, child});
  }

  HWINEVENTHOOK FHook = nullptr;
  std::vector<TWinEvent> FEvents;
};

int CountOf(const std::vector<TWinEvent>& events, DWORD kind) {
  int count = 0;
  for (const TWinEvent& event : events) count += event.Event == kind ? 1 : 0;
  return count;
}

struct Accessibility : testing::Test {
  void SetUp() override { ASSERT_TRUE(Client().AccessibleObjectFromWindow) << "oleacc.dll has no client functions"; }
};

}  // namespace

TEST_F(Accessibility, TheColorBoxIsAButtonNamedByItsCaptionWhoseValueIsItsColor) {
  auto settings = SettingsWithWindows();
  TColorForm form(*settings);
  TQorvelColorBox& box = form.ColorBox();
  box.SetColor(0x0000FF);

  const TAccessibleRef object = ClientObjectOf(box.Handle());
  ASSERT_TRUE(object);
  EXPECT_EQ(Name(object), L"Color");
  EXPECT_EQ(Value(object), L"#FF0000");
  EXPECT_EQ(Role(object), ROLE_SYSTEM_PUSHBUTTON);

  // The same object reads the state as it is at each question.
  box.SetColor(0x1E90FF);
  EXPECT_EQ(Value(object), L"#FF901E");
  box.SetColor(0xFF00000F);  // the system's button face
  EXPECT_EQ(Value(object), Hex(::GetSysColor(COLOR_BTNFACE)) + L", button face");
  box.SetCaption(L"Background");
  EXPECT_EQ(Name(object), L"Background");

  // Everything else is the standard object's: where the box is and which window it is.
  LONG left = 0, top = 0, width = 0, height = 0;
  ASSERT_EQ(object->accLocation(&left, &top, &width, &height, Self()), S_OK);
  RECT bounds{};
  ::GetWindowRect(box.Handle(), &bounds);
  EXPECT_EQ(left, bounds.left);
  EXPECT_EQ(top, bounds.top);
  EXPECT_EQ(width, bounds.right - bounds.left);
  EXPECT_EQ(height, bounds.bottom - bounds.top);
  HWND window = nullptr;
  ASSERT_TRUE(Client().WindowFromAccessibleObject);
  EXPECT_EQ(Client().WindowFromAccessibleObject(object.Get(), &window), S_OK);
  EXPECT_EQ(window, box.Handle());

  // A second question hands out the same object, one more reference to it.
  const TAccessibleRef again = ClientObjectOf(box.Handle());
  EXPECT_EQ(again.Get(), object.Get());
}

TEST_F(Accessibility, PressingTheColorBoxOpensItsDialogOnceTheClientsCallHasReturned) {
  auto settings = SettingsWithWindows();
  TColorForm form(*settings);
  TQorvelColorBox& box = form.ColorBox();
  int opened = 0;
  box.OnDialog = [&](TQorvelColorBox&) { ++opened; };
  const TAccessibleRef object = ClientObjectOf(box.Handle());
  ASSERT_TRUE(object);
  PumpMessages();

  EXPECT_EQ(Read(object, &IAccessible::get_accDefaultAction).Text, L"Press");
  EXPECT_EQ(object->accDoDefaultAction(Self()), S_OK);
  EXPECT_EQ(opened, 0) << "a modal dialog must not run inside the client's call";
  PumpMessages();
  EXPECT_EQ(opened, 1);

  // A disabled box offers nothing to press.
  ::EnableWindow(box.Handle(), FALSE);
  EXPECT_NE(Read(object, &IAccessible::get_accDefaultAction).Text, L"Press");
  EXPECT_NE(object->accDoDefaultAction(Self()), S_OK);
  PumpMessages();
  EXPECT_EQ(opened, 1);
}

TEST_F(Accessibility, OnlyTheClientAreaIsOurs) {
  auto settings = SettingsWithWindows();
  TColorForm form(*settings);
  const HWND box = form.ColorBox().Handle();
  // The frame and the other objects stay the default procedure's, which answers nothing.
  EXPECT_EQ(::SendMessageW(box, WM_GETOBJECT, 0, static_cast<LPARAM>(OBJID_WINDOW)), 0);
  EXPECT_EQ(::SendMessageW(box, WM_GETOBJECT, 0, static_cast<LPARAM>(OBJID_VSCROLL)), 0);

  // A window without texts of its own is left to the system: the picker's frame window
  // reads its caption through the standard object.
  const TAccessibleRef frame = ClientObjectOf(form.Handle());
  ASSERT_TRUE(frame);
  EXPECT_EQ(Name(frame), L"Color picker");
  EXPECT_EQ(Role(frame), ROLE_SYSTEM_CLIENT);
}

TEST_F(Accessibility, TheCoordinatesWindowReadsThePositionItShows) {
  auto settings = SettingsWithWindows();
  TCursorForm form(*settings);
  TCursorSample next;
  next.Position = {123, 456};
  next.Color = RGB(0x1E, 0x90, 0xFF);
  form.SetSampler([&] { return next; });
  form.Show();

  const TAccessibleRef object = ClientObjectOf(form.Handle());
  ASSERT_TRUE(object);
  EXPECT_EQ(Name(object), L"Coordinates");
  EXPECT_EQ(Role(object), ROLE_SYSTEM_STATICTEXT);
  EXPECT_EQ(Value(object), L"x 123, y 456");
  EXPECT_EQ(Description(object), L"color #1E90FF");

  // Left of and above the primary monitor; a failed screen read names no colour.
  next.Position = {-1280, -3};
  next.Color = CLR_INVALID;
  form.TimerTimer();
  EXPECT_EQ(Value(object), L"x -1280, y -3");
  EXPECT_EQ(Description(object), L"");

  // A position the system refused keeps the one shown, as the labels do.
  next.PositionKnown = false;
  next.Position = {0, 0};
  form.TimerTimer();
  EXPECT_EQ(Value(object), L"x -1280, y -3");
  EXPECT_EQ(form.XText(), L"-1280");
  form.Close();
}

TEST_F(Accessibility, TheRulerReadsItsLengthAndTheCursorInTheActiveUnit) {
  auto settings = TQorvelSettings::Create<TApplicationSettings>();
  TMainForm ruler(*settings);
  ruler.Show();
  ::UpdateWindow(ruler.Handle());

  const TAccessibleRef object = ClientObjectOf(ruler.Handle());
  ASSERT_TRUE(object);
  EXPECT_EQ(Name(object), L"Vindle ruler");
  EXPECT_EQ(Role(object), ROLE_SYSTEM_CLIENT);

  const TRulerScaleInput input = ruler.ScaleInput();
  ASSERT_FALSE(input.Vertical);
  ASSERT_EQ(input.PixelsPerInch, 96) << "the texts below are for 96 dpi";
  const int length = input.Width;
  ASSERT_GE(length, 300);

  // The cursor over the ruler, 150 pixels from where the scale starts.
  const POINT origin = [&] {
    POINT p{0, 0};
    ::ClientToScreen(::GetWindow(ruler.Handle(), GW_CHILD), &p);
    return p;
  }();
  ASSERT_TRUE(::SetCursorPos(origin.x + 150, origin.y + 10));
  ruler.SampleCursor();
  EXPECT_EQ(Value(object), L"length " + std::to_wstring(length) + L" px, cursor at 150 px");

  // Another unit: points at 96 dpi are three quarters of a pixel.
  ruler.SelectScaleUnit(2);
  EXPECT_EQ(Value(object), L"length " + std::to_wstring(length * 3 / 4) + L" pt, cursor at 113 pt");
  // Inches with their two decimals: 150 / 96 = 1.5625.
  ruler.SelectScaleUnit(3);
  EXPECT_EQ(Value(object).substr(Value(object).find(L", ")), L", cursor at 1.56 in");

  // Flipped, the scale counts from the other end.
  ruler.SelectScaleUnit(1);
  ruler.Flip();
  EXPECT_EQ(Value(object),
            L"length " + std::to_wstring(length) + L" px, cursor at " + std::to_wstring(length - 1 - 150) + L" px");

  // Off the ruler along its axis there is no cursor to speak of.
  ASSERT_TRUE(::SetCursorPos(origin.x - 50, origin.y + 10));
  ruler.SampleCursor();
  EXPECT_EQ(Value(object), L"length " + std::to_wstring(length) + L" px");
  ruler.Close();
}

TEST_F(Accessibility, ValueChangesAreAnnouncedOnceEach) {
  TWinEventRecorder events;
  ASSERT_TRUE(events.Hooked());
  auto settings = SettingsWithWindows();
  TColorForm form(*settings);
  TQorvelColorBox& box = form.ColorBox();
  const HWND window = box.Handle();
  const TAccessibleRef object = ClientObjectOf(window);
  ASSERT_TRUE(object);
  box.SetColor(0x00FF00);
  events.Clear();

  box.SetColor(0x0000FF);
  std::vector<TWinEvent> heard = events.Of(window);
  ASSERT_EQ(CountOf(heard, EVENT_OBJECT_VALUECHANGE), 1);
  EXPECT_EQ(heard.front().Object, OBJID_CLIENT);
  EXPECT_EQ(heard.front().Child, CHILDID_SELF);
  EXPECT_EQ(CountOf(heard, EVENT_OBJECT_NAMECHANGE), 0);

  // The same colour again changes nothing and says nothing.
  events.Clear();
  box.SetColor(0x0000FF);
  EXPECT_TRUE(events.Of(window).empty());

  // A new caption is a new name, and the value stays.
  box.SetCaption(L"Cursor line");
  heard = events.Of(window);
  EXPECT_EQ(CountOf(heard, EVENT_OBJECT_NAMECHANGE), 1);
  EXPECT_EQ(CountOf(heard, EVENT_OBJECT_VALUECHANGE), 0);
}

TEST_F(Accessibility, TheRulerAnnouncesTheCursorAsItPaintsIt) {
  TWinEventRecorder events;
  ASSERT_TRUE(events.Hooked());
  auto settings = TQorvelSettings::Create<TApplicationSettings>();
  TMainForm ruler(*settings);
  ruler.Show();
  const TAccessibleRef object = ClientObjectOf(ruler.Handle());
  ASSERT_TRUE(object);
  POINT origin{0, 0};
  ::ClientToScreen(::GetWindow(ruler.Handle(), GW_CHILD), &origin);
  ASSERT_TRUE(::SetCursorPos(origin.x + 100, origin.y + 10));
  ruler.SampleCursor();
  ::UpdateWindow(ruler.Handle());
  ::UpdateWindow(::GetWindow(ruler.Handle(), GW_CHILD));
  events.Clear();

  ASSERT_TRUE(::SetCursorPos(origin.x + 120, origin.y + 10));
  ruler.SampleCursor();
  ::UpdateWindow(::GetWindow(ruler.Handle(), GW_CHILD));
  EXPECT_EQ(CountOf(events.Of(ruler.Handle()), EVENT_OBJECT_VALUECHANGE), 1);

  // A repaint that shows the same measurement says nothing again.
  events.Clear();
  ::InvalidateRect(::GetWindow(ruler.Handle(), GW_CHILD), nullptr, FALSE);
  ::UpdateWindow(::GetWindow(ruler.Handle(), GW_CHILD));
  EXPECT_TRUE(events.Of(ruler.Handle()).empty());
  ruler.Close();
}

TEST_F(Accessibility, AnObjectOutlivesItsWindowAndThenSaysSo) {
  auto settings = SettingsWithWindows();
  auto form = std::make_unique<TColorForm>(*settings);
  const TAccessibleRef object = ClientObjectOf(form->ColorBox().Handle());
  ASSERT_TRUE(object);
  ASSERT_EQ(Name(object), L"Color");
  form.reset();  // the box and its window go; the client still holds the object

  EXPECT_EQ(Read(object, &IAccessible::get_accName).Result, CO_E_OBJNOTCONNECTED);
  EXPECT_EQ(Read(object, &IAccessible::get_accValue).Result, CO_E_OBJNOTCONNECTED);
  VARIANT role;
  ::VariantInit(&role);
  EXPECT_EQ(object->get_accRole(Self(), &role), CO_E_OBJNOTCONNECTED);
  LONG left = 0, top = 0, width = 0, height = 0;
  EXPECT_EQ(object->accLocation(&left, &top, &width, &height, Self()), CO_E_OBJNOTCONNECTED);
  LONG children = 0;
  EXPECT_EQ(object->get_accChildCount(&children), CO_E_OBJNOTCONNECTED);
  HWND window = reinterpret_cast<HWND>(1);
  EXPECT_NE(Client().WindowFromAccessibleObject(object.Get(), &window), S_OK);
  // The last reference goes with `object`, after the window: nothing is left to touch.
}

TEST_F(Accessibility, AWindowThatGoesWhileNobodyHoldsItsObjectLeavesNothing) {
  auto settings = SettingsWithWindows();
  for (int round = 0; round < 3; ++round) {
    TCursorForm form(*settings);
    {
      const TAccessibleRef object = ClientObjectOf(form.Handle());
      ASSERT_TRUE(object);
      EXPECT_EQ(Name(object), L"Coordinates");
    }
    // Asked again after the client let go: a fresh answer from the same window.
    const TAccessibleRef again = ClientObjectOf(form.Handle());
    ASSERT_TRUE(again);
    EXPECT_EQ(Role(again), ROLE_SYSTEM_STATICTEXT);
  }
}
