#pragma once
// The toolkit's cursor table and screen cursor. Cursors are registered under small
// numbers (0 is the default, meaning "the window's own cursor"); setting the screen cursor
// to anything else overrides every toolkit window that asks ScreenCursorOverride() while
// it answers WM_SETCURSOR, and shows the new shape at once.

#include <windows.h>

#include <map>

inline constexpr int crDefault = 0;

class TScreenCursors {
 public:
  static TScreenCursors& Instance();

  // Registers `cursor` under `index`; a cursor loaded from resources is shared, so the
  // table does not destroy it.
  void Register(int index, HCURSOR cursor);
  // The cursor registered under `index`, or the arrow for an unknown index.
  HCURSOR Cursor(int index) const;
  bool Registered(int index) const { return FCursors.count(index) != 0; }

  int ScreenCursor() const { return FScreenCursor; }
  void SetScreenCursor(int index);
  // The cursor windows must show instead of their own, or null for crDefault.
  HCURSOR ScreenCursorOverride() const;

 private:
  TScreenCursors() = default;
  std::map<int, HCURSOR> FCursors;
  int FScreenCursor = crDefault;
};
