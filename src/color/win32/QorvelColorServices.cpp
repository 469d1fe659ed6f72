#include "color/win32/QorvelColorServices.h"

#include <cstring>

#include "gui/Handles.h"

namespace {

constexpr const wchar_t* kUserDefinedValue = L"UserDefined";

HWND WindowOf(std::uint32_t stored) { return reinterpret_cast<HWND>(static_cast<std::uintptr_t>(stored)); }
std::uint32_t StoredWindow(HWND window) {
  // Window handles are 32-bit values on every Windows, also in 64-bit processes.
  return static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(window));
}

// RegOpenKeyEx takes a path relative to the root key: without the leading backslash.
std::wstring RelativeKey(const std::wstring& key) {
  std::size_t start = 0;
  while (start < key.size() && key[start] == L'\\') ++start;
  return key.substr(start);
}

std::string Narrow(const std::wstring& text) {
  std::string result;
  for (wchar_t c : text) result.push_back(c < 0x80 ? static_cast<char>(c) : '?');
  return result;
}

}  // namespace

TQorvelColorDefinitionService::TQorvelColorDefinitionService() = default;

void TQorvelColorDefinitionService::Open() {
  FWindow = std::make_unique<TMessageWindow>(L"TQorvelColorDefinitionWindow",
                                             [this](UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
                                               bool handled = false;
                                               result = HandleMessage(message, wParam, lParam, handled);
                                               return handled;
                                             });
  FSlot = -1;
  FShared = std::make_unique<TQorvelMutexSharedMemory>(GetServiceName(), QorvelColorBlock::Size, false);

  TQorvelMutexLock lock(FShared->Guard());
  TQorvelColorBlockView block = Block();
  // Seeded by whoever takes the lock first on a blank block, not by whoever created it:
  // the creator releases the guard after creating, and a second copy may get in between.
  if (!block.Initialized()) {
    block.Initialize();
    LoadColors();
  }
  // A copy that ended without unregistering leaves its dead window behind; such a slot is
  // taken over once no free one is left, so crashes cannot fill the table for good.
  FSlot = block.FindFreeSlot([](std::uint32_t window) { return ::IsWindow(WindowOf(window)) != FALSE; });
  if (FSlot >= 0) block.SetWindow(FSlot, StoredWindow(Window()));
}

TQorvelColorDefinitionService::~TQorvelColorDefinitionService() {
  FWindow.reset();
  if (FShared && FSlot >= 0) {
    TQorvelMutexLock lock(FShared->Guard());
    TQorvelColorBlockView block = Block();
    block.SetWindow(FSlot, 0);
    FSlot = -1;
  }
}

TColor TQorvelColorDefinitionService::GetColor(int index) {
  if (index < 0 || index >= ColorCount) return static_cast<TColor>(-1);
  TQorvelMutexLock lock(FShared->Guard());
  return Block().ColorValue(index);
}

void TQorvelColorDefinitionService::SetColor(int index, TColor color) {
  if (index < 0 || index >= ColorCount) return;
  {
    TQorvelMutexLock lock(FShared->Guard());
    Block().SetColorValue(index, color);
    PostToOthers(index, color);
    SaveColors();
  }
  NotifyListeners(index, color);
}

void TQorvelColorDefinitionService::PostToOthers(int index, TColor color) {
  TQorvelColorBlockView block = Block();
  for (int slot = 0; slot < QorvelColorBlock::WindowCount; ++slot) {
    const std::uint32_t window = block.Window(slot);
    if (window == 0 || slot == FSlot) continue;
    // Posting to the dead window of a crashed copy fails and does nothing else; the slot
    // is freed so that the table does not fill up with them.
    if (!::PostMessageW(WindowOf(window), ColorChangedMessage, static_cast<WPARAM>(index),
                        static_cast<LPARAM>(color)) &&
        !::IsWindow(WindowOf(window)))
      block.SetWindow(slot, 0);
  }
}

void TQorvelColorDefinitionService::NotifyListeners(int index, TColor color) {
  for (const TQorvelColorListener& listener : FListeners.Snapshot())
    if (FListeners.Contains(listener)) listener(*this, index, color);  // skip those removed meanwhile
}

bool TQorvelColorDefinitionService::AddListener(const TQorvelColorListener& listener) {
  return FListeners.Add(listener);
}

bool TQorvelColorDefinitionService::RemoveListener(const TQorvelColorListener& listener) {
  return FListeners.Remove(listener);
}

LRESULT TQorvelColorDefinitionService::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) {
  if (message != ColorChangedMessage) return 0;
  handled = true;
  // Any process may post to the window: an index no colour has is dropped here rather
  // than handed to listeners that index their own tables with it.
  if (wParam >= static_cast<WPARAM>(ColorCount)) return 0;
  // The block already holds the value and the sender has saved it.
  NotifyListeners(static_cast<int>(wParam), static_cast<TColor>(lParam));
  return 0;
}

std::wstring TQorvelColorDefinitionService::GetServiceName() const { return L"QorvelColorDefinitionService"; }

std::wstring TQorvelColorDefinitionService::GetRegistryKey() const { return L"\\Software\\Qorvel\\Colors"; }

void TQorvelColorDefinitionService::LoadColors() {
  HKEY opened = nullptr;
  if (::RegOpenKeyExW(HKEY_CURRENT_USER, RelativeKey(GetRegistryKey()).c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS)
    return;
  TRegistryKey key(opened);
  DWORD type = 0, size = 0;
  if (::RegQueryValueExW(key.Get(), kUserDefinedValue, nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return;
  if (type != REG_BINARY || size > QorvelColorBlock::ColorsSize)
    throw EQorvelRegistryError("Invalid data type for '" + Narrow(kUserDefinedValue) + "'");
  unsigned char bytes[QorvelColorBlock::ColorsSize];
  if (::RegQueryValueExW(key.Get(), kUserDefinedValue, nullptr, &type, bytes, &size) != ERROR_SUCCESS) return;
  // A shorter value (fewer records) replaces only the records it holds.
  std::memcpy(Block().ColorBytes(), bytes, size);
}

void TQorvelColorDefinitionService::SaveColors() {
  HKEY created = nullptr;
  if (::RegCreateKeyExW(HKEY_CURRENT_USER, RelativeKey(GetRegistryKey()).c_str(), 0, nullptr, 0, KEY_WRITE, nullptr,
                        &created, nullptr) != ERROR_SUCCESS)
    throw EQorvelRegistryError("Failed to create key " + Narrow(GetRegistryKey()));
  TRegistryKey key(created);
  if (::RegSetValueExW(key.Get(), kUserDefinedValue, 0, REG_BINARY, Block().ColorBytes(),
                       static_cast<DWORD>(QorvelColorBlock::ColorsSize)) != ERROR_SUCCESS)
    throw EQorvelRegistryError("Failed to set data for '" + Narrow(kUserDefinedValue) + "'");
}

namespace {
std::unique_ptr<TQorvelColorDefinitionService>& InstalledService() {
  static std::unique_ptr<TQorvelColorDefinitionService> service;
  return service;
}
}  // namespace

TQorvelColorDefinitionService& ColorDefinitionService() {
  std::unique_ptr<TQorvelColorDefinitionService>& service = InstalledService();
  if (!service) service = TQorvelColorDefinitionService::Create();
  return *service;
}

void SetColorDefinitionService(std::unique_ptr<TQorvelColorDefinitionService> service) {
  std::unique_ptr<TQorvelColorDefinitionService>& installed = InstalledService();
  installed.reset();
  installed = std::move(service);
}
