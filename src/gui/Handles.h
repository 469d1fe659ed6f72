#pragma once
// Owners for every Win32 handle kind the program holds. An owner closes its handle exactly
// once; views of handles owned elsewhere stay plain HWND/HDC values.

#include <windows.h>

#include <utility>

template <typename THandle, typename TCloser, THandle TInvalid = THandle{}>
class TUniqueHandle {
 public:
  TUniqueHandle() = default;
  explicit TUniqueHandle(THandle handle) : FHandle(handle) {}
  ~TUniqueHandle() { Reset(); }
  TUniqueHandle(TUniqueHandle&& other) noexcept : FHandle(other.Release()) {}
  TUniqueHandle& operator=(TUniqueHandle&& other) noexcept {
    if (this != &other) Reset(other.Release());
    return *this;
  }
  TUniqueHandle(const TUniqueHandle&) = delete;
  TUniqueHandle& operator=(const TUniqueHandle&) = delete;

  THandle Get() const { return FHandle; }
  explicit operator bool() const { return FHandle != TInvalid; }
  THandle Release() { return std::exchange(FHandle, TInvalid); }
  void Reset(THandle handle = TInvalid) {
    THandle old = std::exchange(FHandle, handle);
    if (old != TInvalid) TCloser{}(old);
  }

 private:
  THandle FHandle = TInvalid;
};

struct TCloseKernelHandle { void operator()(HANDLE h) const { ::CloseHandle(h); } };
struct TDeleteGdiObject { void operator()(HGDIOBJ h) const { ::DeleteObject(h); } };
struct TDeleteMemoryDC { void operator()(HDC h) const { ::DeleteDC(h); } };
struct TDestroyWindowHandle { void operator()(HWND h) const { ::DestroyWindow(h); } };
struct TDestroyMenuHandle { void operator()(HMENU h) const { ::DestroyMenu(h); } };
struct TDestroyIconHandle { void operator()(HICON h) const { ::DestroyIcon(h); } };
struct TCloseRegistryKey { void operator()(HKEY h) const { ::RegCloseKey(h); } };
struct TUnmapView { void operator()(void* p) const { ::UnmapViewOfFile(p); } };
struct TFreeModule { void operator()(HMODULE h) const { ::FreeLibrary(h); } };

// Kernel handles: most are null when invalid, files are INVALID_HANDLE_VALUE.
using TKernelHandle = TUniqueHandle<HANDLE, TCloseKernelHandle>;
class TFileHandle {
 public:
  TFileHandle() = default;
  explicit TFileHandle(HANDLE h) : FHandle(h) {}
  ~TFileHandle() { Reset(); }
  TFileHandle(TFileHandle&& o) noexcept : FHandle(std::exchange(o.FHandle, INVALID_HANDLE_VALUE)) {}
  TFileHandle& operator=(TFileHandle&& o) noexcept {
    if (this != &o) Reset(std::exchange(o.FHandle, INVALID_HANDLE_VALUE));
    return *this;
  }
  TFileHandle(const TFileHandle&) = delete;
  TFileHandle& operator=(const TFileHandle&) = delete;
  HANDLE Get() const { return FHandle; }
  explicit operator bool() const { return FHandle != INVALID_HANDLE_VALUE; }
  void Reset(HANDLE h = INVALID_HANDLE_VALUE) {
    HANDLE old = std::exchange(FHandle, h);
    if (old != INVALID_HANDLE_VALUE) ::CloseHandle(old);
  }

 private:
  HANDLE FHandle = INVALID_HANDLE_VALUE;
};

using TBitmapHandle = TUniqueHandle<HBITMAP, TDeleteGdiObject>;
using TFontHandle = TUniqueHandle<HFONT, TDeleteGdiObject>;
using TBrushHandle = TUniqueHandle<HBRUSH, TDeleteGdiObject>;
using TPenHandle = TUniqueHandle<HPEN, TDeleteGdiObject>;
using TMemoryDC = TUniqueHandle<HDC, TDeleteMemoryDC>;
using TWindowHandle = TUniqueHandle<HWND, TDestroyWindowHandle>;
using TMenuHandle = TUniqueHandle<HMENU, TDestroyMenuHandle>;
using TIconHandle = TUniqueHandle<HICON, TDestroyIconHandle>;
using TRegistryKey = TUniqueHandle<HKEY, TCloseRegistryKey>;
using TMappedView = TUniqueHandle<void*, TUnmapView>;
using TModuleHandle = TUniqueHandle<HMODULE, TFreeModule>;

// A device context borrowed from a window (or the screen, for a null window).
class TWindowDC {
 public:
  explicit TWindowDC(HWND window) : FWindow(window), FDC(::GetDC(window)) {}
  ~TWindowDC() {
    if (FDC) ::ReleaseDC(FWindow, FDC);
  }
  TWindowDC(const TWindowDC&) = delete;
  TWindowDC& operator=(const TWindowDC&) = delete;
  HDC Get() const { return FDC; }
  explicit operator bool() const { return FDC != nullptr; }

 private:
  HWND FWindow;
  HDC FDC;
};

// BeginPaint/EndPaint as one scope.
class TPaintScope {
 public:
  explicit TPaintScope(HWND window) : FWindow(window) { ::BeginPaint(window, &FPaint); }
  ~TPaintScope() { ::EndPaint(FWindow, &FPaint); }
  TPaintScope(const TPaintScope&) = delete;
  TPaintScope& operator=(const TPaintScope&) = delete;
  HDC DC() const { return FPaint.hdc; }
  const RECT& Invalid() const { return FPaint.rcPaint; }

 private:
  HWND FWindow;
  PAINTSTRUCT FPaint{};
};

// Selects a GDI object into a DC for one scope and puts the previous one back.
class TSelectScope {
 public:
  TSelectScope(HDC dc, HGDIOBJ object) : FDC(dc), FPrevious(::SelectObject(dc, object)) {}
  ~TSelectScope() { ::SelectObject(FDC, FPrevious); }
  TSelectScope(const TSelectScope&) = delete;
  TSelectScope& operator=(const TSelectScope&) = delete;

 private:
  HDC FDC;
  HGDIOBJ FPrevious;
};
