#pragma once
// What the two small tool windows share: the window list's view of a window, their dialog
// font and their placing.

#include <windows.h>

#include "settings/QorvelSettings.h"

// A top-level window as the window list restores and retains it.
class TWindowPlacement : public IQorvelForm {
 public:
  explicit TWindowPlacement(HWND window) : FWindow(window) {}

  int Left() const override { return Bounds().left; }
  void SetLeft(int value) override { Move(value, Top()); }
  int Top() const override { return Bounds().top; }
  void SetTop(int value) override { Move(Left(), value); }
  int Width() const override { return Bounds().right - Bounds().left; }
  void SetWidth(int value) override { Resize(value, Height()); }
  int Height() const override { return Bounds().bottom - Bounds().top; }
  void SetHeight(int value) override { Resize(Width(), value); }
  int ClientWidth() const override { return Client().right; }
  void SetClientWidth(int value) override { Resize(Width() - ClientWidth() + value, Height()); }
  int ClientHeight() const override { return Client().bottom; }
  void SetClientHeight(int value) override { Resize(Width(), Height() - ClientHeight() + value); }
  TWindowState WindowState() const override;
  void SetWindowState(TWindowState value) override;

 private:
  RECT Bounds() const;
  RECT Client() const;
  void Move(int left, int top);
  void Resize(int width, int height);

  HWND FWindow;
};

// MS Shell Dlg 2 at 8 points for a window of `dpi`; the caller owns it.
HFONT CreateDialogFont(UINT dpi);
// Sizes a tool window so that its client area is its 96-dpi layout scaled to `dpi`, with
// its top-left corner at `left`, `top`.
void PlaceToolWindow(HWND window, int clientWidth96, int clientHeight96, UINT dpi, int left, int top);
