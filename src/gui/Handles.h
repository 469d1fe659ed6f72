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
  Bitmap,
  Font,
  Brush,
  Pen,
  MemoryDC,
  WindowDC,  // GDI
  Window,
  Menu,
  Icon,
  ImageList,  // USER (image lists hold GDI objects too)
  Kernel,
  File,
  FileSearch,
  RegistryKey,
  MappedView,
  Module,
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
concept CountedCloser = requires {
  TCloser::Kind;
};

// The value a failed call returns: the closer's Invalid() where it has one, else null.
template <typename THandle, typename TCloser>
THandle InvalidHandle() {
  if constexpr (requires { TCloser::Invalid(); })
    return TCloser::Invalid();
  else
    return THandle{};
}

template <typename THandle, typename TCloser>
class TUniqueHandle {
 public:
  TUniqueHandle() = default;
  explicit TUniqueHandle(THandle handle) : FHandle(handle) { Opened(handle); }
  ~TUniqueHandle() { Reset(); }
  TUniqueHandle(TUniqueHandle&& other) noexcept : FHandle(std::exchange(other.FHandle, Invalid())) {}
  TUniqueHandle& operator=(TUniqueHandle&& other) noexcept {
    if (this != &other) {
      Close(std::exchange(FHandle, std::exchange(other.FHandle, Invalid())));
    }
    return *this;
  }
  TUniqueHandle(const TUniqueHandle&) = delete;
  TUniqueHandle& operator=(const TUniqueHandle&) = delete;

  THandle Get() const { return FHandle; }
  explicit operator bool() const { return FHandle != Invalid(); }
  // Hands the handle on: whoever takes it closes it, and this owner no longer counts it.
  THandle Release() {
    const THandle handle = std::exchange(FHandle, Invalid());
    if constexpr (CountedCloser<TCloser>)
      if (handle != Invalid()) TLiveHandles::Closed(TCloser::Kind);
    return handle;
  }
  void Reset(THandle handle = Invalid()) {
    Opened(handle);
    Close(std::exchange(FHandle, handle));
  }

 private:
  static THandle Invalid() { return InvalidHandle<THandle, TCloser>(); }
  static void Opened(THandle handle) {
    if constexpr (CountedCloser<TCloser>)
      if (handle != Invalid()) TLiveHandles::Opened(TCloser::Kind);
  }
  static void Close(THandle handle) {
    if (handle == Invalid()) return;
    TCloser{}(handle);
    if constexpr (CountedCloser<TCloser>) TLiveHandles::Closed(TCloser::Kind);
  }

  THandle FHandle = Invalid();
};

// Closes a handle of one kind with that kind's system call and counts it under the kind.
template <THandleKind TKind>
struct TKindCloser {
  static constexpr THandleKind Kind = TKind;
  static constexpr bool Gdi = TKind == THandleKind::Bitmap || TKind == THandleKind::Font ||
                              TKind == THandleKind::Brush || TKind == THandleKind::Pen;

  // Files and file searches report failure as INVALID_HANDLE_VALUE, not as null.
  static HANDLE Invalid() requires(TKind == THandleKind::File || TKind == THandleKind::FileSearch) {
    return INVALID_HANDLE_VALUE;
  }

  template <typename THandle>
  void operator()(THandle handle) const {
    if constexpr (Gdi)
      ::DeleteObject(handle);
    else if constexpr (TKind == THandleKind::MemoryDC)
      ::DeleteDC(handle);
    else if constexpr (TKind == THandleKind::Window)
      ::DestroyWindow(handle);
    else if constexpr (TKind == THandleKind::Menu)
      ::DestroyMenu(handle);
    else if constexpr (TKind == THandleKind::Icon)
      ::DestroyIcon(handle);
    else if constexpr (TKind == THandleKind::Kernel || TKind == THandleKind::File)
      ::CloseHandle(handle);
    else if constexpr (TKind == THandleKind::FileSearch)
      ::FindClose(handle);
    else if constexpr (TKind == THandleKind::RegistryKey)
      ::RegCloseKey(handle);
    else if constexpr (TKind == THandleKind::MappedView)
      ::UnmapViewOfFile(handle);
    else if constexpr (TKind == THandleKind::Module)
      ::FreeLibrary(handle);
    else
      static_assert(sizeof(THandle) == 0, "this kind has a closer of its own");
  }
};

using TKernelHandle = TUniqueHandle<HANDLE, TKindCloser<THandleKind::Kernel>>;
using TFileHandle = TUniqueHandle<HANDLE, TKindCloser<THandleKind::File>>;
// FindFirstFile's search, ended with FindClose.
using TFileSearch = TUniqueHandle<HANDLE, TKindCloser<THandleKind::FileSearch>>;
using TBitmapHandle = TUniqueHandle<HBITMAP, TKindCloser<THandleKind::Bitmap>>;
using TFontHandle = TUniqueHandle<HFONT, TKindCloser<THandleKind::Font>>;
using TBrushHandle = TUniqueHandle<HBRUSH, TKindCloser<THandleKind::Brush>>;
using TPenHandle = TUniqueHandle<HPEN, TKindCloser<THandleKind::Pen>>;
using TMemoryDC = TUniqueHandle<HDC, TKindCloser<THandleKind::MemoryDC>>;
using TWindowHandle = TUniqueHandle<HWND, TKindCloser<THandleKind::Window>>;
using TMenuHandle = TUniqueHandle<HMENU, TKindCloser<THandleKind::Menu>>;
using TIconHandle = TUniqueHandle<HICON, TKindCloser<THandleKind::Icon>>;
using TRegistryKey = TUniqueHandle<HKEY, TKindCloser<THandleKind::RegistryKey>>;
using TMappedView = TUniqueHandle<void*, TKindCloser<THandleKind::MappedView>>;
using TModuleHandle = TUniqueHandle<HMODULE, TKindCloser<THandleKind::Module>>;

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

// A paint composed off screen: DC() is a bitmap the size of the client area, copied to the
// window in one go when the scope ends, so that nothing flickers.
class TBufferedPaintScope {
 public:
  explicit TBufferedPaintScope(HWND window)
      : FPaint(window),
        FClient(ClientOf(window)),
        FBuffer(::CreateCompatibleDC(FPaint.DC())),
        FBitmap(::CreateCompatibleBitmap(FPaint.DC(), FClient.right, FClient.bottom)),
        FSelected(FBuffer.Get(), FBitmap.Get()) {}
  ~TBufferedPaintScope() { ::BitBlt(FPaint.DC(), 0, 0, FClient.right, FClient.bottom, FBuffer.Get(), 0, 0, SRCCOPY); }
  TBufferedPaintScope(const TBufferedPaintScope&) = delete;
  TBufferedPaintScope& operator=(const TBufferedPaintScope&) = delete;
  HDC DC() const { return FBuffer.Get(); }
  const RECT& Client() const { return FClient; }

 private:
  static RECT ClientOf(HWND window) {
    RECT client{};
    ::GetClientRect(window, &client);
    return client;
  }

  TPaintScope FPaint;
  RECT FClient;
  TMemoryDC FBuffer;
  TBitmapHandle FBitmap;
  TSelectScope FSelected;
};
