#include "color/win32/QorvelColorControls.h"

#include <algorithm>
#include <cwctype>
#include <memory>
#include <utility>

#include "base/ScopeExit.h"
#include "color/ColorAccessibleTexts.h"
#include "color/ColorPreferences.h"
#include "color/win32/ColorTools.h"
#include "color/win32/QorvelColorClipboard.h"
#include "color/win32/QorvelColorDialogs.h"
#include "color/win32/QorvelColorServices.h"
#include "controls/win32/QorvelControlsCommon.h"
#include "gui/AccessKeys.h"
#include "gui/Application.h"
#include "gui/Pixels.h"
#include "gui/ScreenCursors.h"
#include "ruler/QorvelColorUtils.h"
#include "ruler/win32/QorvelDesktopMagnifiers.h"

namespace {

// The two context glyphs, loaded by the first box and shared by all.
struct TContextGlyphs {
  TBitmapHandle Normal;
  TBitmapHandle Hover;
  int Width = 0;
  int Height = 0;
};

const TContextGlyphs& ContextGlyphs() {
  static const TContextGlyphs glyphs = [] {
    TContextGlyphs g;
    g.Normal.Reset(static_cast<HBITMAP>(
        ::LoadImageW(ModuleInstance(), L"QORVELCOLORCONTEXTNORMALBITMAP", IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    g.Hover.Reset(static_cast<HBITMAP>(
        ::LoadImageW(ModuleInstance(), L"QORVELCOLORCONTEXTHOVERBITMAP", IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    BITMAP info{};
    if (g.Normal && ::GetObjectW(g.Normal.Get(), sizeof info, &info)) {
      g.Width = info.bmWidth;
      g.Height = info.bmHeight;
    }
    return g;
  }();
  return glyphs;
}

POINT ClientPoint(LPARAM lParam) { return {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))}; }

// Pen and brush for one GDI drawing step, selected for the scope.
class TPenBrushScope {
 public:
  TPenBrushScope(HDC dc, COLORREF pen, const COLORREF* brush)
      : FPen(::CreatePen(PS_SOLID, 1, pen)),
        FBrush(brush ? ::CreateSolidBrush(*brush) : nullptr),
        FSelectPen(dc, FPen.Get()),
        FSelectBrush(dc, brush ? static_cast<HGDIOBJ>(FBrush.Get()) : ::GetStockObject(NULL_BRUSH)) {}

 private:
  TPenHandle FPen;
  TBrushHandle FBrush;
  TSelectScope FSelectPen;
  TSelectScope FSelectBrush;
};

}  // namespace

// ---- colour box ----

TQorvelColorBox::TQorvelColorBox(HWND parent, int left, int top, int width, int height)
    : TQorvelCustomBoxWinControl(parent, left, top, width, height), FFont(DefaultControlFont()) {
  ContextGlyphs();
}

TQorvelColorBox::~TQorvelColorBox() {
  if (FMouse.Reset() == TColorBoxAction::CancelPicking) StopPicking(false);
}

TColorBoxGeometry TQorvelColorBox::Geometry() const {
  const TContextGlyphs& glyphs = ContextGlyphs();
  return ColorBoxGeometry(Width(), Height(), glyphs.Width, glyphs.Height);
}

void TQorvelColorBox::SetColor(TColor color) {
  if (color == FColor) return;
  FColor = color;
  Invalidate();
  AccessibleTextsChanged();
}

void TQorvelColorBox::SetOptions(TQorvelColorBoxOptions options) {
  if (options == FOptions) return;
  FOptions = options;
  Invalidate();
}

void TQorvelColorBox::SetCaption(const std::wstring& caption) {
  if (caption == FCaption) return;
  FCaption = caption;
  // The window text is where the dialog manager looks for the caption's access key ("&").
  ::SetWindowTextW(Handle(), caption.c_str());
  Invalidate();
  AccessibleTextsChanged();
}

void TQorvelColorBox::SetFont(HFONT font) {
  if (font == FFont) return;
  FFont = font;
  FUnderlinedFont.Reset();
  Invalidate();
}

void TQorvelColorBox::ChooseColor(TColor color) {
  SetColor(color);
  if (OnChange) OnChange(*this);
}

void TQorvelColorBox::OpenDialog() {
  if (FDialogOpen) return;
  FDialogOpen = true;
  const TScopeExit closed([this] { FDialogOpen = false; });
  // Owners that adjust the dialog run it themselves; every other box gets it as it is.
  if (OnDialog)
    OnDialog(*this);
  else
    ExecuteColorDialogFor(*this);
}

void TQorvelColorBox::PreviewColor(TColor color) {
  if (color == FColor) return;
  SetColor(color);
  ::UpdateWindow(Handle());  // the user is watching the preview: show it now
  if (OnPreview) OnPreview(*this, color);
}

void TQorvelColorBox::ApplyDialogColor(TColor color, TQorvelColorComponent component) {
  SetColor(color);
  FColorComponent = component;
  if (OnChange) OnChange(*this);
}

std::optional<TAccessibleTexts> TQorvelColorBox::AccessibleTexts() const {
  TAccessibleTexts texts;
  texts.Name = SplitAccessKey(FCaption).Shown;  // read aloud without the access key's mark
  const TColor shown = ColorToRGB(FColor);
  texts.Value = Widen(ColorAccessibleValue(FColor, shown, DefaultColorText(*ColorToolSettings().Colors, shown)));
  if (Enabled()) texts.DefaultAction = L"Press";
  texts.Role = ROLE_SYSTEM_PUSHBUTTON;
  return texts;
}

void TQorvelColorBox::DoAccessibleDefaultAction() {
  if (Enabled() && !Picking()) OpenDialog();
}

void TQorvelColorBox::Popup(int screenX, int screenY) { ColorPopupMenu().PopupFor(*this, {screenX, screenY}); }

// ---- painting ----

void TQorvelColorBox::PaintClip(TBoxSurface& surface) {
  const bool enabled = Enabled();
  const TColorBoxGeometry g = Geometry();
  const TColor face = enabled ? ColorToRGB(FColor) : ColorToRGB(clBtnFace);
  TWindowDC screenOfBox(Handle());
  FillBox(surface, g.Face, DeviceColorFilter(screenOfBox.Get()), 256, ColorToPixel(face));

  const TColor foreground = enabled ? ContrastColor(ColorToRGB(FColor)) : ColorToRGB(clGrayText);
  HDC dc = surface.DC();
  if (enabled && FOptions.Contains(TQorvelColorBoxOption::pcbEyedropper)) PaintEyedropper(dc, g.Eyedropper, foreground);

  const TContextGlyphs& glyphs = ContextGlyphs();
  if (enabled && FOptions.Contains(TQorvelColorBoxOption::pcbContextGlyph) && glyphs.Normal) {
    TMemoryDC source(::CreateCompatibleDC(dc));
    TSelectScope select(source.Get(), FMouse.GlyphHover() && glyphs.Hover ? glyphs.Hover.Get() : glyphs.Normal.Get());
    // Black on white: AND darkens the colour with the shape, MERGEPAINT lightens it.
    const DWORD rop = ColorBrightness(ColorToRGB(FColor)) >= 128 ? SRCAND : MERGEPAINT;
    ::BitBlt(dc, g.Glyph.Left, g.Glyph.Top, glyphs.Width, glyphs.Height, source.Get(), 0, 0, rop);
  }

  PaintCaption(dc, foreground);

  if (Focused()) {
    ::GdiFlush();
    DrawDottedFrame(surface.Canvas(), {2, 2, Width() - 2, Height() - 2}, ColorToPixel(foreground));
  }
  DrawBoxFrame(surface, {0, 0, Width(), Height()}, enabled ? TColor{0} : clGrayText);
}

void TQorvelColorBox::PaintEyedropper(HDC dc, const TRect& e, COLORREF foreground) const {
  if (FMouse.Picking()) {
    const COLORREF picked = ColorToRGB(FPickedColor);
    TPenBrushScope tools(dc, foreground, &picked);
    ::Rectangle(dc, e.Left, e.Top, e.Right, e.Bottom);
    return;
  }
  TPenBrushScope tools(dc, foreground, nullptr);
  if (FMouse.HotZone() == TColorBoxZone::czEyedropper) {
    ::Rectangle(dc, e.Left, e.Top, e.Right, e.Bottom);
    return;
  }
  for (const TCornerMark& mark : EyedropperCornerMarks(e)) {
    ::MoveToEx(dc, mark[0].X, mark[0].Y, nullptr);
    ::LineTo(dc, mark[1].X, mark[1].Y);
    ::LineTo(dc, mark[2].X, mark[2].Y);
  }
}

void TQorvelColorBox::PaintCaption(HDC dc, COLORREF foreground) {
  if (FCaption.empty()) return;
  HFONT font = FFont;
  if (FMouse.CaptionUnderlined()) {
    if (!FUnderlinedFont) {
      LOGFONTW description{};
      ::GetObjectW(FFont, sizeof description, &description);
      description.lfUnderline = TRUE;
      FUnderlinedFont.Reset(::CreateFontIndirectW(&description));
    }
    if (FUnderlinedFont) font = FUnderlinedFont.Get();
  }
  TSelectScope select(dc, font);
  ::SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, foreground);
  // Centred, with the access key's letter underlined unless the system hides access keys.
  RECT box{0, 0, Width(), Height()};
  const bool hideKeys = (::SendMessageW(Handle(), WM_QUERYUISTATE, 0, 0) & UISF_HIDEACCEL) != 0;
  ::DrawTextW(dc, FCaption.c_str(), static_cast<int>(FCaption.size()), &box,
              DT_SINGLELINE | DT_CENTER | DT_VCENTER | (hideKeys ? DT_HIDEPREFIX : 0));
}

// ---- mouse and keys ----

POINT TQorvelColorBox::EyedropperCenterOnScreen() const {
  const TRect e = Geometry().Eyedropper;
  POINT center{(e.Left + e.Right) / 2, (e.Top + e.Bottom) / 2};
  ::ClientToScreen(Handle(), &center);
  return center;
}

void TQorvelColorBox::MouseDown(bool leftButton, POINT client) {
  const bool wasPicking = FMouse.Picking();
  if (!wasPicking && ::GetFocus() != Handle()) ::SetFocus(Handle());
  const TColorBoxAction action = FMouse.MouseDown(leftButton, ColorBoxZoneAt(Geometry(), FOptions, client.x, client.y));
  FSwallowContextMenu = wasPicking && !leftButton;
  // Held until the release, so that a release outside the box is seen and picking can
  // follow the mouse over the whole screen.
  if (FMouse.PressedZone() != TColorBoxZone::czNone) ::SetCapture(Handle());
  if (action == TColorBoxAction::StartPicking)
    StartPicking(client);
  else
    Perform(action);
  if (wasPicking && ::GetCapture() == Handle()) ::ReleaseCapture();
  Invalidate();
}

void TQorvelColorBox::MouseMove(POINT client) {
  if (FMouse.MouseMove(ColorBoxZoneAt(Geometry(), FOptions, client.x, client.y))) Invalidate();
  if (FMouse.Picking()) TrackPicking();
}

void TQorvelColorBox::MouseUp(bool leftButton) {
  const TColorBoxAction action = FMouse.MouseUp(leftButton);
  if (::GetCapture() == Handle()) ::ReleaseCapture();
  Invalidate();
  if (action == TColorBoxAction::Popup) {
    POINT mouse{};
    ::GetCursorPos(&mouse);
    Popup(mouse.x, mouse.y);
    return;
  }
  Perform(action);
}

void TQorvelColorBox::Perform(TColorBoxAction action) {
  switch (action) {
    case TColorBoxAction::CancelPicking: StopPicking(false); break;
    case TColorBoxAction::ApplyPicking: StopPicking(true); break;
    case TColorBoxAction::OpenDialog: OpenDialog(); break;
    case TColorBoxAction::StartPicking:  // only a press starts a pick, see MouseDown
    case TColorBoxAction::Popup:         // opens where the mouse is, see MouseUp
    case TColorBoxAction::None: break;
  }
}

void TQorvelColorBox::ResetMouse() {
  Perform(FMouse.Reset());
  if (::GetCapture() == Handle()) ::ReleaseCapture();
  Invalidate();
}

void TQorvelColorBox::DoMouseLeave() {
  if (FMouse.MouseLeave()) Invalidate();
  TQorvelCustomBoxWinControl::DoMouseLeave();
}

// ---- picking ----

void TQorvelColorBox::StartPicking(POINT pressedAt) {
  POINT start = pressedAt;
  ::ClientToScreen(Handle(), &start);
  TQorvelDesktopMagnifierForm& magnifier = SharedDesktopMagnifierForm();
  magnifier.Magnifier().SetSampleSize(SampleSize(*ColorToolSettings().Colors));
  magnifier.Magnifier().SetTarget({start.x, start.y});
  FPickedColor = FColor;
  TScreenCursors& cursors = TScreenCursors::Instance();
  FSavedCursor = cursors.ScreenCursor();
  cursors.SetScreenCursor(crQorvelCircle);
  const POINT anchor = EyedropperCenterOnScreen();
  magnifier.Place({anchor.x, anchor.y}, {start.x, start.y}, true);
  ::SetWindowPos(magnifier.Handle(), HWND_TOPMOST, 0, 0, 0, 0,
                 SWP_SHOWWINDOW | SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE);
}

void TQorvelColorBox::TrackPicking() {
  POINT mouse{};
  if (!::GetCursorPos(&mouse)) return;
  TQorvelDesktopMagnifierForm& magnifier = SharedDesktopMagnifierForm();
  const POINT anchor = EyedropperCenterOnScreen();
  magnifier.Place({anchor.x, anchor.y}, {mouse.x, mouse.y}, false);
  magnifier.Magnifier().SetTarget({mouse.x, mouse.y});

  POINT client = mouse;
  ::ScreenToClient(Handle(), &client);
  TColor picked = FColor;  // over the eyedropper itself: the box's own colour
  if (!Geometry().Eyedropper.Contains(client.x, client.y)) {
    const COLORREF pixel = SampleScreenColor(mouse, SampleSize(*ColorToolSettings().Colors));
    if (pixel == CLR_INVALID) return;  // unreadable: keep what was shown
    picked = pixel;
  }
  if (picked == FPickedColor) return;
  FPickedColor = picked;
  const TRect e = Geometry().Eyedropper;
  const RECT part = ToRect(e);
  Invalidate(&part);
}

void TQorvelColorBox::StopPicking(bool apply) {
  ::SetWindowPos(SharedDesktopMagnifierForm().Handle(), nullptr, 0, 0, 0, 0,
                 SWP_HIDEWINDOW | SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER);
  TScreenCursors& cursors = TScreenCursors::Instance();
  if (cursors.ScreenCursor() == crQorvelCircle) cursors.SetScreenCursor(FSavedCursor);
  Invalidate();
  if (apply && FPickedColor != FColor) {
    RememberColorPick(FPickedColor);
    ChooseColor(FPickedColor);
  }
}

LRESULT TQorvelColorBox::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN: MouseDown(message == WM_LBUTTONDOWN, ClientPoint(lParam)); return 0;
    case WM_LBUTTONUP:
    case WM_MBUTTONUP: MouseUp(message == WM_LBUTTONUP); return 0;
    case WM_RBUTTONUP:
      MouseUp(false);
      if (std::exchange(FSwallowContextMenu, false)) return 0;  // that click only ended a pick
      return DefaultHandler(message, wParam, lParam);           // asks for the context menu
    case WM_MOUSEMOVE: MouseMove(ClientPoint(lParam)); break;   // the base tracks entering and leaving
    case WM_CAPTURECHANGED:
      if (reinterpret_cast<HWND>(lParam) != Handle() && FMouse.PressedZone() != TColorBoxZone::czNone) ResetMouse();
      return 0;
    case WM_CANCELMODE: ResetMouse(); return DefaultHandler(message, wParam, lParam);
    case WM_KEYDOWN:
      if (wParam == VK_SPACE) {
        if (!(lParam & 0x40000000)) OpenDialog();  // not again for the key's auto-repeat
        return 0;
      }
      if (wParam == VK_ESCAPE && FMouse.Picking()) {
        ResetMouse();
        return 0;
      }
      break;
    case WM_GETDLGCODE:
      // A button to the dialog manager: Alt and the caption's access key "click" it. While
      // picking, Escape ends the pick rather than cancelling the window around the box.
      return DLGC_WANTCHARS | DLGC_BUTTON | (FMouse.Picking() ? DLGC_WANTALLKEYS : 0);
    case BM_CLICK: ::SetFocus(Handle()); return 0;
    case WM_CONTEXTMENU: {
      const POINT requested = ClientPoint(lParam);
      POINT bottomLeft{0, Height()};
      ::ClientToScreen(Handle(), &bottomLeft);
      const TPoint at = ContextMenuPoint({requested.x, requested.y}, {bottomLeft.x, bottomLeft.y});
      Popup(at.X, at.Y);
      return 0;
    }
    case WM_SETFOCUS:
    case WM_KILLFOCUS: Invalidate(); break;
    case WM_ENABLE: ResetMouse(); break;
    case WM_SHOWWINDOW:
      if (!wParam) ResetMouse();
      break;
    case WM_MEASUREITEM:
      if (wParam == 0 && ColorPopupMenu().Measure(*reinterpret_cast<MEASUREITEMSTRUCT*>(lParam))) return TRUE;
      break;
    case WM_DRAWITEM:
      if (wParam == 0 && ColorPopupMenu().Draw(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam))) return TRUE;
      break;
    case WM_MENUCHAR:
      if (HIWORD(wParam) == MF_POPUP)
        return ColorPopupMenu().MenuChar(static_cast<wchar_t>(LOWORD(wParam)), reinterpret_cast<HMENU>(lParam));
      break;
    default: break;
  }
  return TQorvelCustomBoxWinControl::HandleMessage(message, wParam, lParam);
}

// ---- popup menu ----

TQorvelColorPopupMenu::TQorvelColorPopupMenu() {
  auto click = [this](TMenuItem& item) { Click(item.Tag); };
  const wchar_t* captions[] = {L"&Select...", L"&Copy",  L"Copy &as",  L"&Paste", L"&Recent colors",
                               L"-",          L"&Black", L"50% &Gray", L"&White", L"-"};
  for (const wchar_t* caption : captions) {
    TMenuItem& item = caption[0] == L'-' && caption[1] == 0 ? AddSeparator() : Add(caption, -1, click);
    item.Tag = static_cast<int>(Count()) - 1;
  }
  for (int i = 1; i <= UserColorCount; ++i) {
    TMenuItem& item = Add(L"User defined &" + std::to_wstring(i), -1, click);
    item.Tag = static_cast<int>(Count()) - 1;
  }
  Item(tagSelect).Default = true;
}

void TQorvelColorPopupMenu::PrepareItems() {
  FCanPaste = ColorClipboard().CanPasteColor();
  // Another program's colour shows as a neutral swatch: reading it could wait on that program.
  if (FCanPaste && !ColorClipboard().RenderedColor(FPasteColor)) FPasteColor = ColorToRGB(clBtnFace);
  Item(tagPaste).Enabled = FCanPaste;
  const TApplicationSettings& settings = ColorToolSettings();
  FFormats = OfferedColorFormats(*settings.Colors);
  FRecent = RecentColors(*settings.Colors);
  Item(tagRecent).Enabled = !FRecent.empty();
  // Read once per popup: each read takes the shared block's lock.
  for (int i = 0; i < UserColorCount; ++i)
    FUserColors[static_cast<std::size_t>(i)] = ColorDefinitionService().GetColor(i);
}

namespace {

// One item of an owner-drawn menu: a separator for "-", otherwise the command `id` carrying
// `tag` as its item data. The caption must outlive the insertion.
MENUITEMINFOW OwnerDrawnItem(const std::wstring& caption, UINT id, int tag, bool enabled, bool isDefault) {
  MENUITEMINFOW info{};
  info.cbSize = sizeof info;
  if (caption == L"-") {
    info.fMask = MIIM_FTYPE;
    info.fType = MFT_SEPARATOR;
    return info;
  }
  info.fMask = MIIM_ID | MIIM_FTYPE | MIIM_STATE | MIIM_DATA | MIIM_STRING;
  info.fType = MFT_OWNERDRAW;
  info.wID = id;
  info.dwItemData = static_cast<ULONG_PTR>(tag);
  info.dwTypeData = const_cast<wchar_t*>(caption.c_str());
  info.fState = (enabled ? MFS_ENABLED : MFS_DISABLED) | (isDefault ? MFS_DEFAULT : 0);
  return info;
}

}  // namespace

HMENU TQorvelColorPopupMenu::BuildSubmenu(const std::vector<TEntry>& entries) {
  HMENU submenu = ::CreatePopupMenu();
  UINT position = 0;
  for (const TEntry& entry : entries) {
    const UINT id = SubmenuIdBase + static_cast<UINT>(entry.Tag);
    if (entry.Caption != L"-") FEntries[id] = entry;
    const MENUITEMINFOW info = OwnerDrawnItem(entry.Caption, id, entry.Tag, true, entry.Default);
    ::InsertMenuItemW(submenu, position++, TRUE, &info);
  }
  return submenu;
}

TMenuHandle TQorvelColorPopupMenu::BuildOwnerDrawnMenu() {
  PrepareItems();
  FEntries.clear();
  const TColor color = FPopupComponent ? ColorToRGB(FPopupComponent->Color()) : TColor{0};
  const THotkey pick = ColorToolSettings().Hotkeys->Hotkey(THotkeyAction::PickColor);
  std::vector<TEntry> formats;
  for (std::size_t i = 0; i < FFormats.size(); ++i) {
    TEntry entry{ColorToolText(color, FFormats[i]), Widen(std::string(ColorFormatInfo(FFormats[i]).Name)),
                 tagFormat1 + static_cast<int>(i), i == 0};
    // The default is also what the pick hotkey copies.
    if (i == 0 && !pick.Empty()) entry.Detail += L"  " + Widen(FormatHotkey(pick));
    formats.push_back(std::move(entry));
  }
  std::vector<TEntry> recent;
  for (std::size_t i = 0; i < FRecent.size(); ++i)
    recent.push_back({ColorToolText(FRecent[i], FFormats.front()), L"", tagRecent1 + static_cast<int>(i), false});
  recent.push_back({L"-", L"", 0, false});
  recent.push_back({L"C&lear", L"", tagClearRecent, false});

  TMenuHandle menu(::CreatePopupMenu());
  for (std::size_t i = 0; i < Count(); ++i) {
    const TMenuItem& item = Item(i);
    const UINT id = static_cast<UINT>(i) + 1;
    MENUITEMINFOW info = OwnerDrawnItem(item.Caption, id, item.Tag, item.Enabled, item.Default);
    if (item.Caption != L"-") {
      FEntries[id] = {item.Caption, L"", item.Tag, item.Default};
      if (item.Tag == tagCopyAs || (item.Tag == tagRecent && item.Enabled)) {
        info.fMask |= MIIM_SUBMENU;
        info.hSubMenu = BuildSubmenu(item.Tag == tagCopyAs ? formats : recent);  // destroyed with the menu
      }
    }
    ::InsertMenuItemW(menu.Get(), static_cast<UINT>(i), TRUE, &info);
  }
  return menu;
}

bool TQorvelColorPopupMenu::PopupFor(TQorvelColorBox& box, POINT screenPoint) {
  FPopupComponent = &box;
  TMenuHandle menu(BuildOwnerDrawnMenu());
  FTrackedMenu = menu.Get();
  const UINT chosen =
      static_cast<UINT>(::TrackPopupMenuEx(menu.Get(), TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RETURNCMD | TPM_RIGHTBUTTON,
                                           screenPoint.x, screenPoint.y, box.Handle(), nullptr));
  FTrackedMenu = nullptr;
  bool clicked = false;
  if (chosen > 0 && chosen <= Count()) {
    TMenuItem& item = Item(chosen - 1);
    if (item.Enabled && item.OnClick) {
      item.OnClick(item);
      clicked = true;
    }
  } else if (chosen >= SubmenuIdBase && FEntries.contains(chosen)) {
    Click(static_cast<int>(chosen - SubmenuIdBase));
    clicked = true;
  }
  FPopupComponent = nullptr;  // the box may go before the menu's next use
  return clicked;
}

void TQorvelColorPopupMenu::Click(int tag) {
  TQorvelColorBox* box = FPopupComponent;
  if (!box) return;
  const int format = tag - tagFormat1;
  if (format >= 0 && format < static_cast<int>(FFormats.size())) {
    CopyColorText(box->Handle(), ColorToRGB(box->Color()), FFormats[static_cast<std::size_t>(format)]);
    return;
  }
  const int recent = tag - tagRecent1;
  if (recent >= 0 && recent < static_cast<int>(FRecent.size())) {
    // Copied in the default format, and taken by the box as the other swatches are.
    const TColor color = FRecent[static_cast<std::size_t>(recent)];
    CopyColorText(box->Handle(), color, FFormats.front());
    box->ChooseColor(color);
    return;
  }
  switch (tag) {
    case tagSelect: box->OpenDialog(); return;
    case tagCopy: ColorClipboard().CopyColor(box->Color()); return;
    case tagPaste: {
      TColor pasted = 0;
      if (ColorClipboard().PasteColor(pasted))
        box->ChooseColor(pasted);
      else
        ::MessageBeep(MB_ICONWARNING);  // the text offered was no colour after all
      return;
    }
    case tagClearRecent: SetRecentColors(*ColorToolSettings().Colors, {}); return;
    default: {
      TColor color = 0;
      if (SwatchColor(tag, color)) box->ChooseColor(color);
      return;
    }
  }
}

bool TQorvelColorPopupMenu::SwatchColor(int tag, TColor& color) const {
  const int recent = tag - tagRecent1;
  if (recent >= 0 && recent < static_cast<int>(FRecent.size())) {
    color = FRecent[static_cast<std::size_t>(recent)];
    return true;
  }
  switch (tag) {
    case tagPaste:
      if (!FCanPaste) return false;
      color = FPasteColor;
      return true;
    case tagBlack: color = 0x000000; return true;
    case tagGray: color = 0x808080; return true;
    case tagWhite: color = 0xFFFFFF; return true;
    default:
      if (tag < tagUser1 || tag >= tagUser1 + UserColorCount) return false;
      color = FUserColors[static_cast<std::size_t>(tag - tagUser1)];
      return true;
  }
}

const TQorvelColorPopupMenu::TEntry* TQorvelColorPopupMenu::EntryOf(UINT id) const {
  const auto found = FEntries.find(id);
  return found == FEntries.end() ? nullptr : &found->second;
}

namespace {

TFontHandle MenuFont(bool bold) {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  ::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
  if (bold) metrics.lfMenuFont.lfWeight = FW_BOLD;
  return TFontHandle(::CreateFontIndirectW(&metrics.lfMenuFont));
}

}  // namespace

bool TQorvelColorPopupMenu::Measure(MEASUREITEMSTRUCT& measure) {
  const TEntry* entry = measure.CtlType == ODT_MENU && FTrackedMenu ? EntryOf(measure.itemID) : nullptr;
  if (!entry) return false;
  TWindowDC screen(nullptr);
  TFontHandle font(MenuFont(entry->Default));
  TSelectScope select(screen.Get(), font.Get());
  RECT extent{};
  ::DrawTextW(screen.Get(), entry->Caption.c_str(), -1, &extent, DT_CALCRECT | DT_SINGLELINE);
  RECT detail{};
  if (!entry->Detail.empty())
    ::DrawTextW(screen.Get(), entry->Detail.c_str(), -1, &detail, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
  // Tall enough for the caption and a swatch beside it, whatever the system proposed.
  const int height = std::max<int>(
      {static_cast<int>(measure.itemHeight), ::GetSystemMetrics(SM_CYMENU), static_cast<int>(extent.bottom) + 4});
  measure.itemHeight = static_cast<UINT>(height);
  const int detailWidth = entry->Detail.empty() ? 0 : static_cast<int>(detail.right) + 3 * height / 2;
  measure.itemWidth = static_cast<UINT>(extent.right + height + 8 + detailWidth);
  return true;
}

bool TQorvelColorPopupMenu::Draw(const DRAWITEMSTRUCT& draw) {
  const TEntry* entry = draw.CtlType == ODT_MENU && FTrackedMenu ? EntryOf(draw.itemID) : nullptr;
  if (!entry) return false;
  HDC dc = draw.hDC;
  const RECT& r = draw.rcItem;
  const bool selected = (draw.itemState & ODS_SELECTED) != 0;
  const bool disabled = (draw.itemState & (ODS_DISABLED | ODS_GRAYED)) != 0;
  ::FillRect(dc, &r, ::GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_MENU));

  TFontHandle font(MenuFont(entry->Default));
  TSelectScope select(dc, font.Get());
  ::SetBkMode(dc, TRANSPARENT);
  const int height = r.bottom - r.top;
  RECT text{r.left + height + 2, r.top + 2, r.right, r.bottom};
  const UINT format = DT_SINGLELINE | DT_TOP | DT_LEFT | ((draw.itemState & ODS_NOACCEL) ? DT_HIDEPREFIX : 0);
  if (disabled) {
    // Embossed: a light copy one pixel down and right, then the shadow on top.
    if (!selected) {
      RECT light = text;
      ::OffsetRect(&light, 1, 1);
      ::SetTextColor(dc, ::GetSysColor(COLOR_BTNHIGHLIGHT));
      ::DrawTextW(dc, entry->Caption.c_str(), -1, &light, format);
    }
    const bool shadowInvisible = selected && ::GetSysColor(COLOR_HIGHLIGHT) == ::GetSysColor(COLOR_BTNSHADOW);
    ::SetTextColor(dc, ::GetSysColor(shadowInvisible ? COLOR_BTNHIGHLIGHT : COLOR_BTNSHADOW));
  } else {
    ::SetTextColor(dc, ::GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT));
  }
  ::DrawTextW(dc, entry->Caption.c_str(), -1, &text, format);
  if (!entry->Detail.empty()) {
    RECT right{text.left, text.top, r.right - height, r.bottom};
    ::DrawTextW(dc, entry->Detail.c_str(), -1, &right, DT_SINGLELINE | DT_TOP | DT_RIGHT | DT_NOPREFIX);
  }

  TColor swatch = 0;
  if (SwatchColor(entry->Tag, swatch)) {
    const COLORREF fill = ColorToRGB(swatch);
    TPenBrushScope tools(dc, RGB(0, 0, 0), &fill);
    ::Rectangle(dc, r.left + 2, r.top + 2, r.left + height - 2, r.bottom - 2);
  }
  return true;
}

LRESULT TQorvelColorPopupMenu::MenuChar(wchar_t key, HMENU menu) {
  const wchar_t wanted = static_cast<wchar_t>(std::towlower(key));
  // The submenus' items are found by their identifiers, the main menu's by position.
  const int count = ::GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i) {
    const TEntry* entry = EntryOf(::GetMenuItemID(menu, i));
    if (!entry && menu == FTrackedMenu && static_cast<std::size_t>(i) < Count())
      entry = EntryOf(static_cast<UINT>(i) + 1);
    if (!entry) continue;
    const std::wstring& caption = entry->Caption;
    const std::size_t amp = caption.find(L'&');
    if (amp == std::wstring::npos || amp + 1 >= caption.size()) continue;
    const bool enabled = !(::GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION) & (MF_GRAYED | MF_DISABLED));
    if (static_cast<wchar_t>(std::towlower(caption[amp + 1])) == wanted && enabled)
      return MAKELRESULT(static_cast<WORD>(i), MNC_EXECUTE);
  }
  return MAKELRESULT(0, MNC_IGNORE);
}

TQorvelColorPopupMenu& ColorPopupMenu() {
  static TQorvelColorPopupMenu menu;
  return menu;
}
