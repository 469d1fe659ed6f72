#pragma once
// The colour box: a focusable swatch that shows a colour with a caption, lets the user
// pick a colour from anywhere on the screen by dragging from its eyedropper square (the
// shared magnifier window follows the cursor meanwhile), and offers a context menu with
// the clipboard, three plain colours and the user-defined colours.
//
// A click on the face, the Space key and "&Select..." open the colour dialog, or fire
// OnDialog when the owner runs it itself; the dialog reports back through PreviewColor and
// ApplyDialogColor.

#include <windows.h>

#include <array>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "color/ColorBoxRules.h"
#include "color/ColorFormats.h"
#include "color/win32/QorvelBoxControls.h"
#include "gui/Handles.h"
#include "gui/Menus.h"
#include "settings/ApplicationSettings.h"

class TQorvelColorBox : public TQorvelCustomBoxWinControl {
 public:
  static constexpr int DefaultWidth = 75;
  static constexpr int DefaultHeight = 25;

  TQorvelColorBox(HWND parent, int left, int top, int width = DefaultWidth, int height = DefaultHeight);
  ~TQorvelColorBox() override;

  // Setters repaint only on a change and never fire OnChange.
  TColor Color() const { return FColor; }
  void SetColor(TColor color);
  TQorvelColorBoxOptions Options() const { return FOptions; }
  void SetOptions(TQorvelColorBoxOptions options);
  TQorvelColorComponent ColorComponent() const { return FColorComponent; }
  void SetColorComponent(TQorvelColorComponent component) { FColorComponent = component; }
  const std::wstring& Caption() const { return FCaption; }
  void SetCaption(const std::wstring& caption);
  // The caption's font; the system's message font unless set (the box does not own it).
  void SetFont(HFONT font);

  // A colour the user chose (menu, paste, pick): set it and tell the owner, even when the
  // value stays the same.
  void ChooseColor(TColor color);
  // Runs the colour dialog: through OnDialog when assigned, else with the box's own values.
  // Does nothing while this box's dialog is open: a request that arrives meanwhile (another
  // program can post the accessibility default action at will) must not stack a second one.
  void OpenDialog();
  bool DialogOpen() const { return FDialogOpen; }
  // The dialog shows `color` for now: the box takes it and fires OnPreview (not OnChange).
  void PreviewColor(TColor color);
  // The dialog ended with OK.
  void ApplyDialogColor(TColor color, TQorvelColorComponent component);
  // Shows the shared context menu for this box at a screen point.
  virtual void Popup(int screenX, int screenY);

  std::function<void(TQorvelColorBox&)> OnChange;
  std::function<void(TQorvelColorBox&, TColor)> OnPreview;
  std::function<void(TQorvelColorBox&)> OnDialog;

  // What the mouse is doing, for the owner's tests and status texts.
  TColorBoxZone HotZone() const { return FMouse.HotZone(); }
  TColorBoxZone PressedZone() const { return FMouse.PressedZone(); }
  bool Picking() const { return FMouse.Picking(); }
  TColor PickedColor() const { return FPickedColor; }
  TColorBoxGeometry Geometry() const;

 protected:
  void PaintClip(TBoxSurface& surface) override;
  void DoMouseLeave() override;
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  // A push button named by its caption, whose value is its colour; pressing it opens the
  // colour dialog, as a click on the face does.
  std::optional<TAccessibleTexts> AccessibleTexts() const override;
  void DoAccessibleDefaultAction() override;

 private:
  void MouseDown(bool leftButton, POINT client);
  void MouseMove(POINT client);
  void MouseUp(bool leftButton);
  void Perform(TColorBoxAction action);
  void StartPicking(POINT pressedAt);
  void TrackPicking();
  void StopPicking(bool apply);
  void ResetMouse();
  POINT EyedropperCenterOnScreen() const;
  void PaintEyedropper(HDC dc, const TRect& e, COLORREF foreground) const;
  void PaintCaption(HDC dc, COLORREF foreground);

  TColor FColor = 0;
  TQorvelColorBoxOptions FOptions = AllColorBoxOptions;
  TQorvelColorComponent FColorComponent = TQorvelColorComponent::pccHue;
  std::wstring FCaption;
  HFONT FFont;
  TFontHandle FUnderlinedFont;
  TColorBoxMouse FMouse;
  TColor FPickedColor = 0;
  int FSavedCursor = 0;
  bool FSwallowContextMenu = false;  // the right-button press that ended a pick
  bool FDialogOpen = false;
};

// The context menu of every colour box: one owner-drawn menu with colour swatches, shown
// for whichever box asks. "Copy as" lists the colour in each offered format (the default
// first, bold, with the pick hotkey's chord), "Recent colors" the last picks.
class TQorvelColorPopupMenu : public TPopupMenu {
 public:
  enum TTag {
    tagSelect,
    tagCopy,
    tagCopyAs,
    tagPaste,
    tagRecent,
    tagSeparator1,
    tagBlack,
    tagGray,
    tagWhite,
    tagSeparator2,
    tagUser1
  };
  static constexpr int UserColorCount = 5;
  // The submenus' items: a format by its place among the offered ones, a recent colour by
  // its place in the list, and the list's "Clear". Their menu identifiers are the tag plus
  // SubmenuIdBase; the main items' are their position plus one.
  static constexpr int tagFormat1 = 100;
  static constexpr int tagRecent1 = 200;
  static constexpr int tagClearRecent = 300;
  static constexpr UINT SubmenuIdBase = 1000;

  TQorvelColorPopupMenu();
  TQorvelColorBox* PopupComponent() const { return FPopupComponent; }

  // Shows the menu for `box` and carries out the chosen command; answers whether one was chosen.
  bool PopupFor(TQorvelColorBox& box, POINT screenPoint);
  // The system menu as it would open now, for tests (owner-drawn items carry their tag).
  TMenuHandle BuildOwnerDrawnMenu();

  // Owner-draw for the menu's owner window; answer whether the message was the menu's.
  bool Measure(MEASUREITEMSTRUCT& measure);
  bool Draw(const DRAWITEMSTRUCT& draw);
  // The item a mnemonic key selects while the menu is open (owner-drawn menus need this).
  LRESULT MenuChar(wchar_t key, HMENU menu);
  // The colour swatch of item `tag`, if it has one now.
  bool SwatchColor(int tag, TColor& color) const;
  // The formats "Copy as" offers now, in its order.
  const std::vector<TColorFormat>& OfferedFormats() const { return FFormats; }

 private:
  struct TEntry {
    std::wstring Caption;
    std::wstring Detail;  // drawn on the right: the format's name, the hotkey
    int Tag = 0;
    bool Default = false;
  };
  void Click(int tag);
  void PrepareItems();
  HMENU BuildSubmenu(const std::vector<TEntry>& entries);
  const TEntry* EntryOf(UINT id) const;

  TQorvelColorBox* FPopupComponent = nullptr;
  bool FCanPaste = false;
  TColor FPasteColor = 0;
  HMENU FTrackedMenu = nullptr;
  std::vector<TColorFormat> FFormats;
  std::vector<TColor> FRecent;
  std::array<TColor, UserColorCount> FUserColors{};
  std::map<UINT, TEntry> FEntries;  // by menu identifier, as last built
};

TQorvelColorPopupMenu& ColorPopupMenu();
