// The value controls on real windows: what typed characters, leaving and the setters do to
// a numeric field, the caption margins, the popup editor's keys, and the track bar's keys,
// clipboard commands and value rectangle.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "controls/win32/QorvelControlsCommon.h"
#include "controls/win32/QorvelNumEdits.h"
#include "controls/win32/QorvelNumForms.h"
#include "controls/win32/QorvelTrackBars.h"
#include "gui/Clipboard.h"
#include "gui/Handles.h"
#include "gui/SubclassedControls.h"
#include "gui/Window.h"

namespace {

class ValueControls : public ::testing::Test {
 protected:
  TMessageWindow Parent{L"TValueControlsTestParent", {}};
  HWND ParentHandle() const { return Parent.Handle(); }
};

void Type(TQorvelNumEdit& edit, const std::wstring& keys) {
  for (wchar_t key : keys) ::SendMessageW(edit.Handle(), WM_CHAR, key, 0);
}

void Leave(TQorvelNumEdit& edit) { ::SendMessageW(edit.Handle(), WM_KILLFOCUS, 0, 0); }

// The control painted into a bitmap, as a real paint would, to read its pixels.
class TPainted {
 public:
  explicit TPainted(TWindow& control) {
    HDC screen = ::GetDC(nullptr);
    FMemory.Reset(::CreateCompatibleDC(screen));
    FBitmap.Reset(::CreateCompatibleBitmap(screen, 400, 100));
    ::ReleaseDC(nullptr, screen);
    FOld = ::SelectObject(FMemory.Get(), FBitmap.Get());
    ::SendMessageW(control.Handle(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(FMemory.Get()), PRF_CLIENT);
  }
  ~TPainted() { ::SelectObject(FMemory.Get(), FOld); }
  COLORREF Pixel(int x, int y) const { return ::GetPixel(FMemory.Get(), x, y); }

 private:
  TMemoryDC FMemory;
  TBitmapHandle FBitmap;
  HGDIOBJ FOld = nullptr;
};

TEST_F(ValueControls, TypedTextIsCheckedReportedAndCorrectedOnLeaving) {
  TQorvelIntEdit edit(ParentHandle(), 0, 0, 100, 22);
  std::vector<std::wstring> changes;
  edit.OnChange = [&](TQorvelNumEdit& sender) { changes.push_back(sender.Text()); };
  edit.SetMaxValue(600);
  edit.SetMinValue(10);
  edit.SetValue(96);
  EXPECT_EQ(edit.Text(), L"96");
  EXPECT_TRUE(changes.empty()) << "text set by the field itself is no change";

  edit.SelectAll();
  Type(edit, L"5x-\r");
  EXPECT_EQ(edit.Text(), L"5");
  EXPECT_TRUE(changes.empty()) << "5 lies outside the range";
  Leave(edit);
  EXPECT_EQ(edit.Text(), L"10");
  EXPECT_EQ(changes, std::vector<std::wstring>{L"10"});

  ::SendMessageW(edit.Handle(), EM_SETSEL, 2, 2);  // the caret after "10"
  Type(edit, L"0");
  EXPECT_EQ(edit.Text(), L"100");
  EXPECT_EQ(changes.back(), L"100");
  Type(edit, L"0");
  EXPECT_EQ(edit.Text(), L"100") << "no more characters than the range needs";
}

TEST_F(ValueControls, BaseOptionsAndPlaceholder) {
  TQorvelIntEdit edit(ParentHandle(), 0, 0, 100, 22);
  edit.SetMaxValue(255);
  edit.SetBase(16);
  edit.SelectAll();
  Type(edit, L"ff");
  EXPECT_EQ(edit.Text(), L"FF");
  EXPECT_EQ(edit.Value(), 255);
  edit.SetBase(10);
  EXPECT_EQ(edit.Text(), L"255");
  edit.SetBase(40);
  EXPECT_EQ(edit.Base(), 16);

  edit.SetValue(0);
  edit.SetOptions(pneEmptyAllowed | pneSpecialAllowed);
  EXPECT_EQ(edit.Text(), L"") << "the default value shows as an empty field";
  Type(edit, L"*");
  EXPECT_EQ(edit.Text(), L"*");
  Leave(edit);
  EXPECT_EQ(edit.Text(), L"*");
  edit.SetSpecialChar('?');
  EXPECT_EQ(edit.Text(), L"?");
  edit.SetOptions(pneEmptyAllowed);
  EXPECT_EQ(edit.Text(), L"") << "the placeholder goes with its option";
  Type(edit, L"7*");
  EXPECT_EQ(edit.Text(), L"7");
}

TEST_F(ValueControls, FloatFieldAndModified) {
  TQorvelFloatEdit edit(ParentHandle(), 0, 0, 100, 22);
  const char separator = UserNumberFormat().DecimalSeparator;
  edit.SetValue(3.14159);
  EXPECT_EQ(edit.Text(), std::wstring(L"3") + wchar_t(separator) + L"14");
  edit.SetDigits(12);
  EXPECT_EQ(edit.Digits(), 10);
  ::SendMessageW(edit.Handle(), WM_SETFOCUS, 0, 0);
  EXPECT_FALSE(edit.Modified());
  edit.SetValue(250);
  EXPECT_DOUBLE_EQ(edit.Value(), 100.0);
  EXPECT_TRUE(edit.Modified());
}

TEST_F(ValueControls, CaptionKeepsTextOffItsSide) {
  TQorvelIntEdit edit(ParentHandle(), 0, 0, 100, 22);
  auto margins = [&] { return static_cast<DWORD>(::SendMessageW(edit.Handle(), EM_GETMARGINS, 0, 0)); };
  EXPECT_EQ(margins(), 0u);
  edit.SetCaption(L"px");
  const int width = TextExtent(edit.Font(), L"px").cx + 2;
  EXPECT_EQ(LOWORD(margins()), width) << "left of the text by default";
  EXPECT_EQ(HIWORD(margins()), 0);
  edit.SetCaptionAlignment(pcaRight);
  EXPECT_EQ(LOWORD(margins()), 0);
  EXPECT_EQ(HIWORD(margins()), width);
}

TEST_F(ValueControls, PopupEditorAppliesOnEnterOnly) {
  for (const WPARAM key : {WPARAM(VK_RETURN), WPARAM(VK_ESCAPE)}) {
    TQorvelIntEditForm form;
    EXPECT_NE(::GetClassLongW(form.Handle(), GCL_STYLE) & CS_DROPSHADOW, 0u);
    EXPECT_NE(::GetWindowLongW(form.Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    int applied = 0, closed = 0;
    form.OnEditChange = [&](TQorvelNumEditForm&) { ++applied; };
    form.OnClose = [&](TQorvelPopupForm&) { ++closed; };
    form.IntEdit().SetValue(42);
    // The program's loop offers the key to the form before the field sees it.
    EXPECT_EQ(::SendMessageW(form.Handle(), CN_BASE + WM_KEYDOWN, key, 0), 1);
    ::SendMessageW(form.Edit().Handle(), WM_KEYDOWN, key, 0);  // the same key once more changes nothing
    EXPECT_TRUE(form.Closed());
    EXPECT_EQ(closed, 1);
    EXPECT_EQ(applied, key == VK_RETURN ? 1 : 0);
  }
}

TEST_F(ValueControls, TrackBarKeysFollowTheOrientation) {
  TQorvelTrackBar bar(ParentHandle(), 0, 0, 200, 45);
  std::vector<int> scrolls;
  bar.OnScroll = [&](TQorvelTrackBar&, int code, int&) { scrolls.push_back(code); };
  bar.SetSmallChange(5);
  bar.SetPosition(50);
  EXPECT_EQ(::SendMessageW(bar.Handle(), CN_BASE + WM_KEYDOWN, VK_RIGHT, 0), 1);
  EXPECT_EQ(bar.Position(), 55);
  EXPECT_EQ(::SendMessageW(bar.Handle(), CN_BASE + WM_KEYDOWN, VK_UP, 0), 0) << "not along a horizontal bar";
  ::SendMessageW(bar.Handle(), WM_KEYDOWN, VK_LEFT, 0);
  EXPECT_EQ(bar.Position(), 50);
  EXPECT_EQ(scrolls, (std::vector<int>{pscStepUp, pscStepDown}));

  bar.SetOrientation(psoVertical);
  ::SendMessageW(bar.Handle(), WM_KEYDOWN, VK_UP, 0);
  EXPECT_EQ(bar.Position(), 55);
  ::SendMessageW(bar.Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 0);
  EXPECT_EQ(bar.Position(), 60);
  bar.SetPosition(100);
  scrolls.clear();
  ::SendMessageW(bar.Handle(), WM_KEYDOWN, VK_UP, 0);
  EXPECT_TRUE(scrolls.empty()) << "no event when the position cannot move";
}

TEST_F(ValueControls, TrackBarClipboardCommandsAndReset) {
  TQorvelTrackBar bar(ParentHandle(), 0, 0, 200, 45);
  bar.SetLabelCaption(L"Zoom: <pos>%");
  bar.SetLabelMode(plmShl);
  bar.SetLabelParam(2);
  bar.SetMax(9);
  bar.SetMin(1);
  bar.SetPosition(3);
  bar.SetDefaultPosition(3);
  std::vector<std::pair<int, int>> events;  // (scroll code, position), (-1, position) for a change
  bar.OnScroll = [&](TQorvelTrackBar&, int code, int& position) { events.emplace_back(code, position); };
  bar.OnChange = [&](TQorvelTrackBar& sender) { events.emplace_back(-1, sender.Position()); };

  bar.CopyValue();
  EXPECT_EQ(ClipboardText(bar.Handle()), std::wstring(L"300"));
  ASSERT_TRUE(PutClipboardText(bar.Handle(), L"500"));
  EXPECT_TRUE(bar.PasteValue());
  EXPECT_EQ(bar.Position(), 5);
  EXPECT_EQ(events, (std::vector<std::pair<int, int>>{{pscCommand, 5}, {-1, 5}}));

  ASSERT_TRUE(PutClipboardText(bar.Handle(), L"five hundred"));
  EXPECT_FALSE(bar.PasteValue());
  EXPECT_EQ(bar.Position(), 5);
  ASSERT_TRUE(PutClipboardText(bar.Handle(), L"5000"));
  EXPECT_TRUE(bar.PasteValue());
  EXPECT_EQ(bar.Position(), 9) << "a value beyond the range goes to its end";

  events.clear();
  bar.Reset();
  EXPECT_EQ(bar.Position(), 3);
  EXPECT_EQ(events, (std::vector<std::pair<int, int>>{{pscCommand, 3}, {-1, 3}}));
}

TEST_F(ValueControls, OnlyACaptionWithTheValueHasAValueToClick) {
  TQorvelTrackBar bar(ParentHandle(), 0, 0, 200, 45);
  bar.SetLabelCaption(L"Opacity: <pos>%");
  bar.SetPosition(65);
  TPainted{bar};
  const RECT value = bar.ValueRect();
  const RECT label = bar.LabelRect();
  EXPECT_FALSE(::IsRectEmpty(&value));
  EXPECT_GT(value.left, label.left) << "after \"Opacity: \"";
  EXPECT_LT(value.right, label.right) << "before \"%\"";

  bar.SetLabelCaption(L"Opacity");
  TPainted{bar};
  const RECT none = bar.ValueRect();
  EXPECT_TRUE(::IsRectEmpty(&none));
}

TEST_F(ValueControls, ThumbIsPaintedWhereThePositionPutsIt) {
  TQorvelTrackBar bar(ParentHandle(), 0, 0, 120, 32);
  bar.SetLabelOptions(0);
  bar.SetPosition(50);
  const TPainted painted(bar);
  // the groove's black middle line on row 16, covered by the thumb from x 48 to 72
  EXPECT_EQ(painted.Pixel(20, 16), RGB(0, 0, 0));
  EXPECT_EQ(painted.Pixel(100, 16), RGB(0, 0, 0));
  EXPECT_NE(painted.Pixel(49, 16), RGB(0, 0, 0));
  EXPECT_NE(painted.Pixel(71, 16), RGB(0, 0, 0));
  EXPECT_EQ(painted.Pixel(54, 14), ::GetSysColor(COLOR_BTNTEXT)) << "a grip dot 6 pixels inside the thumb";

  bar.SetEnabled(false);
  const TPainted disabled(bar);
  EXPECT_EQ(disabled.Pixel(20, 16), ::GetSysColor(COLOR_BTNFACE)) << "a disabled groove has no dark line";
}

TEST_F(ValueControls, HintWindowFitsItsText) {
  TQorvelHintWindow& hint = TQorvelHintWindow::Shared();
  EXPECT_FALSE(hint.Visible()) << "created hidden";
  const RECT small = hint.CalcHintRect(200, L"Zoom: 300%");
  const RECT wrapped = hint.CalcHintRect(200, L"Step 50 of 100, a label long enough to need a second line in the hint");
  EXPECT_GT(small.right, 0);
  EXPECT_LE(wrapped.right, 200);
  EXPECT_GT(wrapped.bottom, small.bottom) << "long texts wrap";
}

}  // namespace
