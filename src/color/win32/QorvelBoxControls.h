#pragma once
// Box controls on the screen: controls that compose every pixel of their clip rectangle in
// an off-screen 32-bit bitmap and copy it to the screen in one operation, so that nothing
// flickers. A box overrides PaintClip and draws into the surface it is handed, with the
// portable primitives (TBoxCanvas, FillBox, DrawBoxFrame) or with GDI; both speak control
// coordinates.
//
// Two bases: TQorvelCustomBoxWinControl is a focusable child window of its own;
// TQorvelCustomBoxControl is windowless and painted by its host window, for the many small
// boxes of one dialog.

#include <windows.h>

#include <functional>

#include "color/BoxControlRendering.h"
#include "color/QorvelColorFilters.h"
#include "gui/Pixels.h"
#include "gui/Window.h"

// The box cursors in the toolkit's cursor table (gui/ScreenCursors.h).
inline constexpr int crQorvelCircle = 5;  // picking a colour
inline constexpr int crQorvelMagnify = 6;
inline constexpr int crQorvelInvisible = 7;
inline constexpr int crQorvelScrollH = 8;
// Loads the four cursors from the program's resources into the table; later calls do nothing.
void RegisterBoxCursors();

// An ordinary colour as it is, a system colour resolved through the system's table.
TColor ColorToRGB(TColor color);
// ColorToRGB for the portable drawing code.
const TColorResolver& SystemColorResolver();
// The dither the display behind `dc` needs: none at 24 bits and more.
const TQorvelColorFilter* DeviceColorFilter(HDC dc);

// The off-screen picture of one paint: a 32-bit bitmap covering the clip rectangle, with a
// memory DC and a pixel canvas that both address control coordinates.
class TBoxSurface {
 public:
  TBoxSurface(int clientWidth, int clientHeight, const RECT& clip);
  TBoxSurface(const TBoxSurface&) = delete;
  TBoxSurface& operator=(const TBoxSurface&) = delete;

  bool Empty() const { return FArea.Empty(); }
  // The control rectangle the surface covers.
  const TRect& Area() const { return FArea; }
  TBoxCanvas Canvas() const { return {FDib.View(), FArea.Left, FArea.Top}; }
  // GDI output lands in control coordinates too. Flush GDI before touching pixels again.
  HDC DC() const { return FDib.DC(); }
  // Copies the picture to `dc` (a DC of the control) in one operation; `offsetX`/`offsetY`
  // move it, for windowless boxes painted through their host's DC.
  void CopyTo(HDC dc, int offsetX = 0, int offsetY = 0) const;

 private:
  TRect FArea;
  TDibSurface FDib;
};

// What both bases share: the look, the colour around the box, the mouse over it and the
// painting hook.
class TQorvelBoxCommon {
 public:
  virtual ~TQorvelBoxCommon() = default;
  TQorvelBoxControlLook Look() const { return FLook; }
  // The colour the rounded corners blend into; the button face unless the host says otherwise.
  TColor ParentColor() const { return FParentColor; }

  // The portable primitives on a paint surface; the frame takes this box's look and the
  // colour around it.
  static void FillBox(TBoxSurface& surface, const TRect& rect, const TQorvelColorFilter* filter, int opacity,
                      TPixel color);
  void DrawBoxFrame(TBoxSurface& surface, const TRect& rect, TColor border) const;

  bool MouseInside() const { return FMouseInside; }
  std::function<void()> OnMouseEnter;
  std::function<void()> OnMouseLeave;

 protected:
  // Both answer whether the value changed, so that the owner repaints only then.
  bool ChangeLook(TQorvelBoxControlLook look);
  bool ChangeParentColor(TColor color);
  // Records the mouse entering or leaving; false when it was already so.
  bool ChangeMouseInside(bool inside);
  virtual void DoMouseEnter();
  virtual void DoMouseLeave();
  // Draws the part `surface.Area()` of the box; every pixel of it must be painted.
  virtual void PaintClip(TBoxSurface& surface) = 0;

 private:
  bool FMouseInside = false;
  TQorvelBoxControlLook FLook = TQorvelBoxControlLook::pclRoundedRect;
  TColor FParentColor = clBtnFace;
};

// A box that is a child window: it takes the focus (tab stop), tracks the mouse entering
// and leaving, paints without erasing its background and answers WM_PRINTCLIENT with the
// same picture, so that it can be captured.
class TQorvelCustomBoxWinControl : public TWindow, public TQorvelBoxCommon {
 public:
  TQorvelCustomBoxWinControl(HWND parent, int left, int top, int width, int height);
  ~TQorvelCustomBoxWinControl() override;

  void SetLook(TQorvelBoxControlLook look);
  void SetParentColor(TColor color);

  int Width() const { return ClientRect().right; }
  int Height() const { return ClientRect().bottom; }
  bool Focused() const { return Handle() && ::GetFocus() == Handle(); }
  bool Enabled() const { return Handle() && ::IsWindowEnabled(Handle()); }
  void SetEnabled(bool enabled) { ::EnableWindow(Handle(), enabled); }
  void SetVisible(bool visible) { ::ShowWindow(Handle(), visible ? SW_SHOWNA : SW_HIDE); }

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void PaintTo(HDC dc, const RECT& clip);
  void TrackMouse(POINT client);
};

// A windowless box inside a host window. The host forwards what the box needs: Paint from
// its WM_PAINT, UpdateMouse from its mouse moves and leaves, and Cursor() from WM_SETCURSOR
// while the mouse is over the box.
class TQorvelCustomBoxControl : public TQorvelBoxCommon {
 public:
  TQorvelCustomBoxControl(HWND parent, const RECT& bounds);
  virtual ~TQorvelCustomBoxControl() = default;
  TQorvelCustomBoxControl(const TQorvelCustomBoxControl&) = delete;
  TQorvelCustomBoxControl& operator=(const TQorvelCustomBoxControl&) = delete;

  HWND Parent() const { return FParent; }
  const RECT& BoundsRect() const { return FBounds; }
  void SetBounds(const RECT& bounds);
  int Width() const { return FBounds.right - FBounds.left; }
  int Height() const { return FBounds.bottom - FBounds.top; }
  bool Visible() const { return FVisible; }
  void SetVisible(bool visible);
  void SetLook(TQorvelBoxControlLook look);
  void SetParentColor(TColor color);
  // Invalidates the box's rectangle in the host (the whole box, or `part` in box coordinates).
  void Invalidate(const RECT* part = nullptr) const;

  // The cursor (an index of the toolkit's table) shown while the mouse is over the box.
  int Cursor() const { return FCursor; }
  HCURSOR CursorHandle() const;
  // Changes the cursor and lets the host show it at once, without waiting for a mouse move.
  void SetCursorNow(int cursor);

  // Composes the part of the box inside `hostClip` (host coordinates) and copies it to the
  // host's `dc` in one operation.
  void Paint(HDC dc, const RECT& hostClip);
  // The host reports the mouse at `hostPoint`, or its leaving the host (null).
  void UpdateMouse(const POINT* hostPoint);

 private:
  HWND FParent;
  RECT FBounds;
  bool FVisible = true;
  int FCursor = 0;
};
