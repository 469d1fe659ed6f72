#pragma once
// Slide bars and track bars: a focusable groove with a push-button thumb and a label that
// shows the value of the position ("Zoom: <pos>%"). Drag, click the groove, arrow keys,
// the wheel, a click on the value (popup editor) and a shared context menu change it.

#include <windows.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "controls/TrackBarLayout.h"
#include "gui/Window.h"

class TQorvelNumEditForm;

// The program's tooltip: a plain window in the hint colours with a 1-pixel black frame.
class TQorvelHintWindow : public TWindow {
 public:
  TQorvelHintWindow();
  static TQorvelHintWindow& Shared();  // created hidden on first use
  RECT CalcHintRect(int maxWidth, const std::wstring& text) const;
  void ActivateHint(const RECT& screenRect, const std::wstring& text);
  void ReleaseHandle() { ::ShowWindow(Handle(), SW_HIDE); }
  const std::wstring& HintText() const { return FText; }

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  std::wstring FText;
};

class TQorvelSlideBar : public TWindow {
 public:
  using TDrawTrackEvent = std::function<void(TQorvelSlideBar& sender, HDC canvas,
                                             TQorvelSlideBarOrientation orientation, const RECT& bounds, POINT centre)>;

  TQorvelSlideBar(HWND parent, int left, int top, int width = 120, int height = 32);

  TQorvelSlideBarOrientation Orientation() const { return FOrientation; }
  void SetOrientation(TQorvelSlideBarOrientation value);
  int Min() const { return FRange.Min(); }
  int Max() const { return FRange.Max(); }
  int SmallChange() const { return FRange.SmallChange(); }
  void SetMin(int value);
  void SetMax(int value);
  void SetSmallChange(int value) { FRange.SetSmallChange(value); }
  void SetOnDrawTrack(TDrawTrackEvent value);
  bool Dragging() const { return FDragging; }
  bool Enabled() const { return ::IsWindowEnabled(Handle()) != FALSE; }
  void SetEnabled(bool value) { ::EnableWindow(Handle(), value); }
  HFONT Font() const { return FFont; }
  void SetFont(HFONT font);

 protected:
  virtual void PaintContent(HDC canvas);
  virtual void DrawTrack(HDC canvas, TQorvelSlideBarOrientation orientation, POINT centre);
  virtual bool IsTrackEnabled() const { return Enabled(); }
  virtual void ClickOutsideBand(UINT /*button*/, WPARAM /*keys*/, int /*x*/, int /*y*/) {}
  virtual void HoverAt(WPARAM /*keys*/, int /*x*/, int /*y*/) {}
  // Position and default position follow the range inside TQorvelTrackRange already;
  // descendants with further state bound to the range adjust it here.
  virtual void ValidatePosition() {}
  virtual void DrawThumbGrip(HDC canvas, const RECT& thumb, int state);
  virtual void BeginDrag(int /*x*/, int /*y*/, POINT& /*grabOffset*/) {}
  virtual void DragTo(int /*x*/, int /*y*/) {}
  virtual void EndDrag() {}
  virtual void ShowContextMenu(int /*x*/, int /*y*/) {}
  virtual void SetByCommand(int /*position*/) {}
  virtual void ChangeBy(int /*delta*/) {}
  virtual POINT GetTrackCenter() const;
  virtual RECT GetTrackBand() const;
  virtual SIZE GetThumbSize() const;
  virtual void Reset() {}

  virtual void PaintBackground(HDC canvas);
  TQorvelBarLayout Layout() const;
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void StopDragging();
  LRESULT DialogCode() const;
  void LeftButtonDown(WPARAM keys, int x, int y);
  void ContextMenuAt(LPARAM screenPoint);
  int ArrowKeyDelta(WPARAM key) const;
  void Wheel(int delta);
  int LabelHeight() const;

  TQorvelTrackRange FRange;
  TQorvelSlideBarOrientation FOrientation = psoHorizontal;
  TDrawTrackEvent FOnDrawTrack;
  bool FDragging = false;
  POINT FGrabOffset{};
  HFONT FFont = nullptr;

 private:
  void Paint();
  bool FSuppressContextMenu = false;
  int FWheelRest = 0;
};

class TQorvelLabelSlideBar : public TQorvelSlideBar {
 public:
  using TLabelEvent = std::function<void(TQorvelLabelSlideBar& sender, std::wstring& caption)>;

  TQorvelLabelSlideBar(HWND parent, int left, int top, int width = 120, int height = 32);

  const std::wstring& LabelCaption() const { return FLabelCaption; }
  // An "&" in the caption marks its access key: the letter is underlined, and Alt with it
  // gives the bar the focus.
  void SetLabelCaption(std::wstring value);
  void SetLabelMin(std::wstring value) { SetAndRepaint(FLabelMin, std::move(value)); }
  void SetLabelMax(std::wstring value) { SetAndRepaint(FLabelMax, std::move(value)); }
  TQorvelLabelMode LabelMode() const { return FScale.Mode; }
  void SetLabelMode(TQorvelLabelMode value) { SetAndRepaint(FScale.Mode, value); }
  double LabelParam() const { return FScale.Param; }
  void SetLabelParam(double value) { SetAndRepaint(FScale.Param, value); }
  TQorvelLabelOptions LabelOptions() const { return FLabelOptions; }
  void SetLabelOptions(TQorvelLabelOptions value) { SetAndRepaint(FLabelOptions, value); }
  void SetCursor(HCURSOR value) { FCursor = value; }
  RECT LabelRect() const { return FLabelRect; }

  TLabelEvent OnLabel;

 protected:
  void PaintContent(HDC canvas) override;
  POINT GetTrackCenter() const override;
  virtual std::wstring BuildLabelText(const std::wstring& caption);
  virtual POINT GetLabelAnchor() const;
  // The label as drawn: built, then passed through OnLabel.
  std::wstring FinalLabelText();

  template <typename T>
  void SetAndRepaint(T& field, T value) {
    if (field == value) return;
    field = std::move(value);
    Invalidate();
  }

  TQorvelLabelScale FScale;
  TQorvelLabelOptions FLabelOptions = ploVisible;
  std::wstring FLabelCaption, FLabelMin, FLabelMax;
  HCURSOR FCursor = nullptr;
  RECT FLabelRect{};
  // Only the track bar records where its value sits; cleared by every label paint.
  RECT FValueRect{};

 private:
  void DrawLabelText(HDC canvas, int x, int y, const std::wstring& text, UINT align);
};

class TQorvelTrackBar : public TQorvelLabelSlideBar {
 public:
  using TNotifyEvent = std::function<void(TQorvelTrackBar& sender)>;
  using TScrollEvent = std::function<void(TQorvelTrackBar& sender, int scrollCode, int& scrollPos)>;

  TQorvelTrackBar(HWND parent, int left, int top, int width = 120, int height = 32);
  ~TQorvelTrackBar() override;

  int Position() const { return FRange.Position(); }
  void SetPosition(int value);
  double Value() const { return FScale.ValueOf(Position()); }
  void SetValue(double value) { SetPosition(FScale.PositionOf(value)); }
  int DefaultPosition() const { return FRange.DefaultPosition(); }
  void SetDefaultPosition(int value);
  bool Transparent() const { return FTransparent; }
  void SetTransparent(bool value) { SetAndRepaint(FTransparent, value); }
  void SetColor(COLORREF value) { SetAndRepaint(FColor, value); }
  // The value text of the current position, as copied to the clipboard.
  std::wstring ValueText() const;
  // The value's place inside the label, in client coordinates; empty without "<pos>".
  RECT ValueRect() const { return FValueRect; }
  // The popup editor while it is open.
  TQorvelNumEditForm* Editor() const { return FEditor.get(); }

  void EditValue();
  void CopyValue();
  bool PasteValue();
  void Reset() override;

  TNotifyEvent OnChange;
  TScrollEvent OnScroll;

 protected:
  void PaintBackground(HDC canvas) override;
  void PaintContent(HDC canvas) override;
  std::wstring BuildLabelText(const std::wstring& caption) override;
  void ClickOutsideBand(UINT button, WPARAM keys, int x, int y) override;
  void HoverAt(WPARAM keys, int x, int y) override;
  void BeginDrag(int x, int y, POINT& grabOffset) override;
  void DragTo(int x, int y) override;
  void EndDrag() override;
  void ShowContextMenu(int x, int y) override;
  void SetByCommand(int position) override;
  void ChangeBy(int delta) override;
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void Scrolled(int scrollCode);
  void Changed(int scrollCode);  // scrolled, then OnChange
  bool ValueClickable(POINT client) const;
  void ShowValueHint();
  void DrawThumb(HDC canvas);
  std::optional<int> ClipboardPosition() const;

  bool FTransparent = true;
  COLORREF FColor = ::GetSysColor(COLOR_BTNFACE);
  bool FThumbHot = false;
  bool FTrackingLeave = false;
  std::unique_ptr<TQorvelNumEditForm> FEditor;
};
