// The colour selection dialog as a window: its layout, mouse on the chart and bar, typed
// fields, the colour box it serves (live previews, Cancel, OK) and slots shared between
// two open dialogs.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <utility>
#include <vector>

#include "color/win32/QorvelColorControls.h"
#include "color/win32/QorvelColorDialogs.h"
#include "controls/win32/QorvelControlsCommon.h"
#include "gui/Clipboard.h"
#include "gui/Forms.h"
#include "support/WindowQueries.h"

namespace {

class THost : public TForm {
 public:
  THost() {
    TCreateParams params;
    params.ClassName = L"TColorDialogTestHost";
    params.Style = WS_POPUP;
    params.Left = params.Top = 0;
    params.Width = 200;
    params.Height = 100;
    CreateHandle(params);
  }
};

void Mouse(HWND window, UINT message, int x, int y) {
  ::SendMessageW(window, message, message == WM_LBUTTONUP ? 0 : MK_LBUTTON, MAKELPARAM(x, y));
}

TEST(ColorDialogForm, LayoutCaptionsAndFirstValues) {
  TQorvelColorDialog dialog;
  dialog.Color = 0x0000FF;  // red
  TQorvelColorForm form(dialog);
  form.Prepare();
  RECT client{};
  ::GetClientRect(form.Handle(), &client);
  EXPECT_EQ(client.right, 463);
  EXPECT_EQ(client.bottom, 366);
  EXPECT_EQ(WindowText(form.Handle()), L"Select color");
  EXPECT_EQ(WindowText(form.ValuesGroup()), L"Values (hue)");
  EXPECT_EQ(::SendMessageW(form.RadioButton(0), BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_EQ(WindowText(form.RadioButton(4)), L"&G:");
  const RECT field = RectIn(form.Field(4).Handle(), form.Handle());
  EXPECT_EQ(field.left, 304 + 40 + 72);
  EXPECT_EQ(field.top, 112 + 18 + 24);
  EXPECT_EQ(form.Field(0).Text(), L"0");
  EXPECT_EQ(form.Field(1).Text(), L"100");
  EXPECT_EQ(form.Field(3).Text(), L"255");
  EXPECT_EQ(form.HexField().Text(), L"FF0000");
  EXPECT_FALSE(::IsWindowVisible(form.OpacityBar().Handle()));
  EXPECT_EQ(form.Preview().Height(), 96);
  EXPECT_EQ(form.SlotCount(), 5);
  const LONG style = ::GetWindowLongW(form.Handle(), GWL_STYLE);
  EXPECT_FALSE(style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX));

  TQorvelColorDialog withOpacity;
  withOpacity.Options = {TQorvelColorDialogOption::pcoOpacity, TQorvelColorDialogOption::pcoWebSafe};
  withOpacity.SetOpacity(40);
  withOpacity.Caption = "Background";
  TQorvelColorForm second(withOpacity);
  second.Prepare();
  EXPECT_EQ(WindowText(second.Handle()), L"Background");
  EXPECT_EQ(::GetWindowLongW(second.OpacityBar().Handle(), GWL_STYLE) & WS_VISIBLE, WS_VISIBLE);
  EXPECT_EQ(second.OpacityBar().Position(), 40);
  EXPECT_EQ(second.Preview().Height(), 60);
  EXPECT_EQ(second.SlotCount(), 0);
  EXPECT_EQ(::SendMessageW(second.WebSafeCheckBox(), BM_GETCHECK, 0, 0), BST_CHECKED);
}

TEST(ColorDialogForm, MouseOnChartAndBarDrivesFieldsAndPreviews) {
  TQorvelColorDialog dialog;
  dialog.Color = 0xFFFFFF;
  std::vector<TColor> previews;
  dialog.OnPreview = [&](const void* sender, TColor color) {
    EXPECT_EQ(sender, &dialog);
    previews.push_back(color);
  };
  TQorvelColorForm form(dialog);
  form.Prepare();
  ASSERT_EQ(previews.size(), 1u);
  EXPECT_EQ(form.Field(2).Text(), L"100");

  // Press at the chart's bottom left (no saturation, no brightness), drag to the top right.
  const HWND window = form.Handle();
  Mouse(window, WM_LBUTTONDOWN, 8 + 1, 8 + 256);
  EXPECT_EQ(form.Field(2).Text(), L"0");
  EXPECT_EQ(previews.back(), 0x000000u);
  Mouse(window, WM_MOUSEMOVE, 8 + 200, 8 + 60);
  Mouse(window, WM_MOUSEMOVE, 600, -40);  // beyond the chart: clamped to the corner
  Mouse(window, WM_LBUTTONUP, 600, -40);
  EXPECT_EQ(form.Field(1).Text(), L"100");
  EXPECT_EQ(form.Field(2).Text(), L"100");
  EXPECT_EQ(previews.back(), 0x0000FFu);  // hue 0 at full saturation: red
  const std::size_t count = previews.size();
  Mouse(window, WM_MOUSEMOVE, 8 + 100, 8 + 100);  // released: no more changes
  EXPECT_EQ(previews.size(), count);

  // The bar at the middle: hue half a turn, cyan.
  Mouse(window, WM_LBUTTONDOWN, 272 + 13, 8 + 128);
  Mouse(window, WM_LBUTTONUP, 272 + 13, 8 + 128);
  EXPECT_EQ(form.Field(0).Text(), L"181");
  EXPECT_EQ(form.HexField().Text(), L"00FBFF");  // the middle row lies just past cyan
  EXPECT_EQ(form.Model().Chart().Values().HSB.Hue, form.Model().Bar().Values().HSB.Hue);

  // Another component through its radio button.
  ::SendMessageW(form.RadioButton(3), BM_CLICK, 0, 0);
  EXPECT_EQ(WindowText(form.ValuesGroup()), L"Values (red)");
  EXPECT_EQ(form.Model().Chart().Component(), TQorvelColorComponent::pccRed);
}

TEST(ColorDialogForm, TypedHexCodeReachesFieldsAndChart) {
  TQorvelColorDialog dialog;
  TQorvelColorForm form(dialog);
  form.Prepare();
  ::SetWindowTextW(form.HexField().Handle(), L"3366CC");
  EXPECT_EQ(form.Field(3).Text(), L"51");
  EXPECT_EQ(form.Field(5).Text(), L"204");
  EXPECT_EQ(form.Model().Chart().Values().RGB, (TRGB{0x33, 0x66, 0xCC}));
  EXPECT_EQ(form.Model().Color(), 0xCC6633u);
}

// Colour codes as people copy them from elsewhere: the field and the colour always agree.
TEST(ColorDialogForm, PastedColourCodesBecomeTheColourAndOthersAreRefused) {
  TQorvelColorDialog dialog;
  TQorvelColorForm form(dialog);
  form.Prepare();
  const HWND hex = form.HexField().Handle();
  const auto paste = [&](const wchar_t* text) {
    ASSERT_TRUE(PutClipboardText(form.Handle(), text));
    ::SendMessageW(hex, EM_SETSEL, 2, 2);  // the caret anywhere: a whole code replaces all
    ::SendMessageW(hex, WM_PASTE, 0, 0);
  };
  // Any notation of the colour formats reads as its code, the same colour in each.
  for (const wchar_t* code : {L"ff8800", L"#FF8800", L" #f80 ", L"FF8800\r\n", L"rgb(255, 136, 0)",
                              L"hsl(32, 100%, 50%)", L"0x000088FF", L"(1.0, 0.5333, 0.0, 1.0)"}) {
    ::SetWindowTextW(hex, L"000000");  // each paste starts from black
    paste(code);
    EXPECT_EQ(form.HexField().Text(), L"FF8800") << code;
    EXPECT_EQ(form.Model().Color(), 0x0088FFu) << code;
    EXPECT_EQ(form.Field(3).Text(), L"255") << code;
  }
  // Not a colour code: refused, and the field still shows the colour.
  for (const wchar_t* other : {L"transparent", L"#12345", L"16777216", L"hsl(1, 2)", L""}) {
    paste(other);
    EXPECT_EQ(form.HexField().Text(), L"FF8800") << other;
    EXPECT_EQ(form.Model().Color(), 0x0088FFu) << other;
  }
  // As CSS reads them: a colour name, a channel past its range, a no-break space.
  for (const auto& [text, code] : {std::pair{L"orange", L"FFA500"}, std::pair{L"rgb(256\u00A00 0)", L"FF0000"}}) {
    paste(text);
    EXPECT_EQ(form.HexField().Text(), code) << text;
  }
  paste(L"#FF8800");
  // A code padded to hundreds of characters is refused unread: a field of a few characters
  // reads no more than a few hundred, however much the clipboard holds.
  const std::wstring padded = L"#0000FF" + std::wstring(PastedNumberTextLimit, L' ');
  paste(padded.c_str());
  EXPECT_EQ(form.Model().Color(), 0x0088FFu);
  // A COLORREF in decimal (blue first) once it is too long to be digits of the code.
  paste(L"1234567");
  EXPECT_EQ(form.HexField().Text(), L"87D612");
  paste(L"#FF8800");
  // Bare digits edit the code where the caret is, in upper case.
  ::SendMessageW(hex, EM_SETSEL, 0, 2);
  ASSERT_TRUE(PutClipboardText(form.Handle(), L"0a"));
  ::SendMessageW(hex, WM_PASTE, 0, 0);
  EXPECT_EQ(form.HexField().Text(), L"0A8800");
  EXPECT_EQ(form.Model().Color(), 0x00880Au);
}

TEST(ColorDialogForm, ColourBoxPreviewsLiveCancelRestoresAndOkApplies) {
  THost host;
  TQorvelColorBox box(host.Handle(), 0, 0);
  const TColor system = 0x80000000u | COLOR_WINDOW;
  box.SetColor(system);
  int changes = 0;
  std::vector<TColor> previews;
  box.OnChange = [&](TQorvelColorBox&) { ++changes; };
  box.OnPreview = [&](TQorvelColorBox&, TColor color) { previews.push_back(color); };

  bool sawLive = false;
  auto typeRedAnd = [&](int command) {
    return [&sawLive, command, &box](TQorvelColorDialog& dialog) {
      dialog.OnShow = [&sawLive, command, &box](TQorvelColorForm& form) {
        ::SetWindowTextW(form.Field(3).Handle(), L"10");
        sawLive = box.Color() == form.Model().Color();
        ::PostMessageW(form.Handle(), WM_COMMAND, command, 0);
      };
    };
  };
  EXPECT_FALSE(ExecuteColorDialogFor(box, typeRedAnd(IDCANCEL)));
  EXPECT_TRUE(sawLive);
  EXPECT_FALSE(previews.empty());
  EXPECT_EQ(box.Color(), system);  // a system colour stays a system colour
  EXPECT_EQ(changes, 0);

  sawLive = false;
  box.SetColorComponent(TQorvelColorComponent::pccGreen);
  EXPECT_TRUE(ExecuteColorDialogFor(box, typeRedAnd(IDOK)));
  EXPECT_TRUE(sawLive);
  const TColor window = ColorToRGB(system);
  EXPECT_EQ(box.Color(), (window & 0xFFFF00u) | 10u);
  EXPECT_EQ(box.ColorComponent(), TQorvelColorComponent::pccGreen);
  EXPECT_EQ(changes, 1);
}

TEST(ColorDialogForm, SlotSetShowsAtOnceInAnotherOpenDialog) {
  TQorvelColorDialog first, second;
  first.Color = 0x123456;
  TQorvelColorForm a(first), b(second);
  a.Prepare();
  b.Prepare();
  const HWND window = a.Handle();
  const RECT slot = a.Slot(2).BoundsRect();
  // Over the left half, press and release: "set".
  Mouse(window, WM_MOUSEMOVE, slot.left + 5, slot.top + 10);
  EXPECT_EQ(a.Slot(2).HotHalf(), 1);
  Mouse(window, WM_LBUTTONDOWN, slot.left + 5, slot.top + 10);
  Mouse(window, WM_LBUTTONUP, slot.left + 5, slot.top + 10);
  EXPECT_EQ(a.Slot(2).Color(), 0x123456u);
  EXPECT_EQ(b.Slot(2).Color(), 0x123456u);
  EXPECT_EQ(ColorDefinitionService().GetColor(2), 0x123456u);

  // The right half of a slot selects its colour in the other dialog.
  const HWND other = b.Handle();
  Mouse(other, WM_MOUSEMOVE, slot.left + 30, slot.top + 10);
  Mouse(other, WM_LBUTTONDOWN, slot.left + 30, slot.top + 10);
  Mouse(other, WM_LBUTTONUP, slot.left + 30, slot.top + 10);
  EXPECT_EQ(b.Model().Color(), 0x123456u);
  EXPECT_EQ(b.HexField().Text(), L"563412");
}

}  // namespace
