#pragma once
// Owners for every Win32 handle kind the program holds. An owner closes its handle exactly
// once; views of handles owned elsewhere stay plain HWND/HDC values.

#include <windows.h>

#include <array>
#include <atomic>
#include <cstddef>
#include <utility>

// What the owners hold right now, by kind. Wine keeps no per-process count of GDI and USER
// objects, so a leak test reads these instead; each count is one atomic step, cheap beside
// the call that made the handle, and safe for the kernel handles that other threads use.
enum class THandleKind {
  Bitmap, Font, Brush, Pen, MemoryDC, WindowDC,  // GDI
  Window, Menu, Icon, ImageList,                 // USER (image lists hold GDI objects too)
  Kernel, File, RegistryKey, MappedView, Module,
  Count
};

class TLiveHandles {
 public:
  static constexpr std::size_t KindCount = static_cast<std::size_t>(THandleKind::Count);
  using TCounts = std::array<int, KindCount>;

  static int Count(THandleKind kind) { return Slot(kind).load(std::memory_order_relaxed); }
  static TCounts Counts() {
    TCounts counts{};
    for (std::size_t i = 0; i < KindCount; ++i) counts[i] = FLive[i].load(std::memory_order_relaxed);
    return counts;
  }
  static void Opened(THandleKind kind) { Slot(kind).fetch_add(1, std::memory_order_relaxed); }
  static void Closed(THandleKind kind) { Slot(kind).fetch_sub(1, std::memory_order_relaxed); }

 private:
  static std::atomic<int>& Slot(THandleKind kind) { return FLive[static_cast<std::size_t>(kind)]; }
  static inline std::array<std::atomic<int>, KindCount> FLive{};
};

const char* HandleKindName(THandleKind kind);

// Closers name the kind they count; a closer without one (memory blocks, say) is not counted.
template <typename TCloser>
concept CountedCloser = requires { TCloser::Kind; };

template <typename THandle, typename TCloser, THandle TInvalid = THandle{}>
class TUniqueHandle {
 public:
  TUniqueHandle() = default;
  explicit TUniqueHandle(THandle handle) : FHandle(handle) { Opened(handle); }
  ~TUniqueHandle() { Reset(); }
  TUniqueHandle(TUniqueHandle&& other) noexcept : FHandle(std::exchange(other.FHandle, TInvalid)) {}
  TUniqueHandle& operator=(TUniqueHandle&& other) noexcept {
    if (this != &other) {
      Close(std::exchange(FHandle, std::exchange(other.FHandle, TInvalid)));
    }
    return *this;
  }
  TUniqueHandle(const TUniqueHandle&) = delete;
  TUniqueHandle& operator=(const TUniqueHandle&) = delete;

  THandle Get() const { return FHandle; }
  explicit operator bool() const { return FHandle != TInvalid; }
  // Hands the handle on: whoever takes it closes it, and this owner no longer counts it.
  THandle Release() {
    const THandle handle = std::exchange(FHandle, TInvalid);
    if constexpr (CountedCloser<TCloser>)
      if (handle != TInvalid) TLiveHandles::Closed(TCloser::Kind);
    return handle;
  }
  void Reset(THandle handle = TInvalid) {
    Opened(handle);
    Close(std::exchange(FHandle, handle));
  }

 private:
  static void Opened(THandle handle) {
    if constexpr (CountedCloser<TCloser>)
      if (handle != TInvalid) TLiveHandles::Opened(TCloser::Kind);
  }
  static void Close(THandle handle) {
    if (handle == TInvalid) return;
    TCloser{}(handle);
    if constexpr (CountedCloser<TCloser>) TLiveHandles::Closed(TCloser::Kind);
  }

  THandle FHandle = TInvalid;
};

struct TCloseKernelHandle {
  static constexpr THandleKind Kind = THandleKind::Kernel;
  void operator()(HANDLE h) const { ::CloseHandle(h); }
};
template <THandleKind TKind>
struct TDeleteGdiObject {
  static constexpr THandleKind Kind = TKind;
  void operator()(HGDIOBJ h) const { ::DeleteObject(h); }
};
struct TDeleteMemoryDC {
  static constexpr THandleKind Kind = THandleKind::MemoryDC;
  void operator()(HDC h) const { ::DeleteDC(h); }
};
struct TDestroyWindowHandle {
  static constexpr THandleKind Kind = THandleKind::Window;
  void operator()(HWND h) const { ::DestroyWindow(h); }
};
struct TDestroyMenuHandle {
  static constexpr THandleKind Kind = THandleKind::Menu;
  void operator()(HMENU h) const { ::DestroyMenu(h); }
};
struct TDestroyIconHandle {
  static constexpr THandleKind Kind = THandleKind::Icon;
  void operator()(HICON h) const { ::DestroyIcon(h); }
};
struct TCloseRegistryKey {
  static constexpr THandleKind Kind = THandleKind::RegistryKey;
  void operator()(HKEY h) const { ::RegCloseKey(h); }
};
struct TUnmapView {
  static constexpr THandleKind Kind = THandleKind::MappedView;
  void operator()(void* p) const { ::UnmapViewOfFile(p); }
};
struct TFreeModule {
  static constexpr THandleKind Kind = THandleKind::Module;
  void operator()(HMODULE h) const { ::FreeLibrary(h); }
};

// Kernel handles: most are null when invalid, files are INVALID_HANDLE_VALUE.
using TKernelHandle = TUniqueHandle<HANDLE, TCloseKernelHandle>;
class TFileHandle {
 public:
  TFileHandle() = default;
  explicit TFileHandle(HANDLE h) : FHandle(h) { Opened(h); }
  ~TFileHandle() { Reset(); }
  TFileHandle(TFileHandle&& o) noexcept : FHandle(std::exchange(o.FHandle, INVALID_HANDLE_VALUE)) {}
  TFileHandle& operator=(TFileHandle&& o) noexcept {
    if (this != &o) Close(std::exchange(FHandle, std::exchange(o.FHandle, INVALID_HANDLE_VALUE)));
    return *this;
  }
  TFileHandle(const TFileHandle&) = delete;
  TFileHandle& operator=(const TFileHandle&) = delete;
  HANDLE Get() const { return FHandle; }
  explicit operator bool() const { return FHandle != INVALID_HANDLE_VALUE; }
  void Reset(HANDLE h = INVALID_HANDLE_VALUE) {
    Opened(h);
    Close(std::exchange(FHandle, h));
  }

 private:
  static void Opened(HANDLE h) {
    if (h != INVALID_HANDLE_VALUE) TLiveHandles::Opened(THandleKind::File);
  }
  static void Close(HANDLE h) {
    if (h == INVALID_HANDLE_VALUE) return;
    ::CloseHandle(h);
    TLiveHandles::Closed(THandleKind::File);
  }

  HANDLE FHandle = INVALID_HANDLE_VALUE;
};

using TBitmapHandle = TUniqueHandle<HBITMAP, TDeleteGdiObject<THandleKind::Bitmap>>;
using TFontHandle = TUniqueHandle<HFONT, TDeleteGdiObject<THandleKind::Font>>;
using TBrushHandle = TUniqueHandle<HBRUSH, TDeleteGdiObject<THandleKind::Brush>>;
using TPenHandle = TUniqueHandle<HPEN, TDeleteGdiObject<THandleKind::Pen>>;
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
  explicit TWindowDC(HWND window) : FWindow(window), FDC(::GetDC(window)) {
    if (FDC) TLiveHandles::Opened(THandleKind::WindowDC);
  }
  ~TWindowDC() {
    if (!FDC) return;
    ::ReleaseDC(FWindow, FDC);
    TLiveHandles::Closed(THandleKind::WindowDC);
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
