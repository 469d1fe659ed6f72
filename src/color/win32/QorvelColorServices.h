#pragma once
// User-defined colours shared by every running copy of the program.
//
// The 32 colours live in a named shared block guarded by its mutex. Each service registers
// a hidden window in the block's window table; SetColor posts the colour-changed message to
// every other registered window, so that their listeners learn about the change at once.
// Where the colours are stored between runs is up to the class: the base keeps them in the
// registry, the program's subclass in its settings tree.
//
// Any program of the session can open the block, hold its mutex or write into it. So each
// service keeps its own copy of the colours: it starts from storage, takes from the block
// only values that are colours, and stores only that copy. A guard that cannot be had in
// the bounded wait (TQorvelMutexLock) leaves the copy as it is; a block that cannot be opened
// at all leaves the service working alone.

#include <windows.h>

#include <array>
#include <memory>
#include <string>

#include "gui/QorvelMemoryMappedFiles.h"
#include "color/ColorServiceBlock.h"
#include "color/QorvelMethodHashes.h"
#include "gui/Window.h"
#include "base/QorvelTypes.h"

class TQorvelColorDefinitionService;

// A handler (Sender, Index, Color), e.g.
//   TQorvelColorListener::Of<&TMyDialog::UserColorChanged>(this)
// with `void TMyDialog::UserColorChanged(TQorvelColorDefinitionService&, int, TColor)`.
using TQorvelColorListener = TQorvelMethod<TQorvelColorDefinitionService&, int, TColor>;

class EQorvelRegistryError : public EQorvelError {
 public:
  using EQorvelError::EQorvelError;
};

class TQorvelColorDefinitionService {
 public:
  static constexpr UINT ColorChangedMessage = 1025;  // wParam = index, lParam = colour
  static constexpr int ColorCount = QorvelColorBlock::ColorCount;
  static constexpr int ListenerCapacity = 100;

  // Construction is two-step because opening the block calls the virtual GetServiceName and
  // LoadColors, which a constructor cannot reach in a subclass. Throws the mutex and mapping
  // errors, and the registry error of LoadColors.
  template <class TService = TQorvelColorDefinitionService, class... TArgs>
  static std::unique_ptr<TService> Create(TArgs&&... args) {
    std::unique_ptr<TService> service(new TService(std::forward<TArgs>(args)...));
    service->Open();
    return service;
  }

  virtual ~TQorvelColorDefinitionService();
  TQorvelColorDefinitionService(const TQorvelColorDefinitionService&) = delete;
  TQorvelColorDefinitionService& operator=(const TQorvelColorDefinitionService&) = delete;

  // -1 for an index outside 0..31.
  TColor GetColor(int index);
  // Stores, tells the other services and this one's listeners; ignored outside 0..31.
  void SetColor(int index, TColor color);

  // Adding a present handler or removing an absent one does nothing; answers whether the
  // set changed.
  bool AddListener(const TQorvelColorListener& listener);
  bool RemoveListener(const TQorvelColorListener& listener);

  // This service's place in the window table, -1 when the table was full or not reached.
  int Slot() const { return FSlot; }
  // Whether the shared block could be opened (else this service works alone).
  bool SharesColors() const { return FShared != nullptr; }
  HWND Window() const { return FWindow ? FWindow->Handle() : nullptr; }
  int ListenerCount() const { return FListeners.Count(); }

 protected:
  TQorvelColorDefinitionService();

  // The hidden window's messages; set `handled` for those answered here.
  virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
  // Name of the shared block (and, with "Mutex", of its guard).
  virtual std::wstring GetServiceName() const;
  // Key below HKEY_CURRENT_USER that the base class stores the colours in.
  virtual std::wstring GetRegistryKey() const;
  // Fill the records from storage / write them there; both run holding the block's lock.
  virtual void LoadColors();
  virtual void SaveColors();

  // This service's records, as LoadColors fills them and SaveColors stores them.
  TQorvelColorRecord Record(int index) const;
  void SetRecord(int index, const TQorvelColorRecord& record);

 private:
  void Open();
  TQorvelColorBlockView Block() const { return TQorvelColorBlockView(FShared->Memory()); }
  // Takes the block's colour `index` into the copy when it is a colour; the flags stay ours.
  void TakeBlockColor(const TQorvelColorBlockView& block, int index);
  void PostToOthers(int index, TColor color);
  void NotifyListeners(int index, TColor color);

  std::array<TQorvelColorRecord, ColorCount> FRecords{};
  std::unique_ptr<TQorvelMutexSharedMemory> FShared;
  int FSlot = -1;
  TQorvelMethodHash<TQorvelColorListener> FListeners{ListenerCapacity};
  std::unique_ptr<TMessageWindow> FWindow;
};

// The process's service: the installed one, or a base-class service made on first use.
TQorvelColorDefinitionService& ColorDefinitionService();
// Frees the current service (if any) and installs `service` (none: the next call of
// ColorDefinitionService makes a base-class one).
void SetColorDefinitionService(std::unique_ptr<TQorvelColorDefinitionService> service);
