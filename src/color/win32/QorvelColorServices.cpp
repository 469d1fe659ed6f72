#include "color/win32/QorvelColorServices.h"

#include <cstring>
#include <string_view>

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

constexpr wchar_t ServiceWindowClassName[] = L"TQorvelColorDefinitionWindow";

// Only the hidden windows of colour services hear of changes: the table is writable by any
// program, and a handle written there must not make us post to whatever window it names.
bool IsServiceWindow(HWND window) {
  wchar_t className[64] = {};
  const int length = ::GetClassNameW(window, className, static_cast<int>(std::size(className)));
  return length > 0 && std::wstring_view(className, static_cast<std::size_t>(length)) == ServiceWindowClassName;
}

bool ValidIndex(int index) { return index >= 0 && index < QorvelColorBlock::ColorCount; }

}  // namespace

TQorvelColorDefinitionService::TQorvelColorDefinitionService() = default;

TQorvelColorRecord TQorvelColorDefinitionService::Record(int index) const {
  return ValidIndex(index) ? FRecords[static_cast<std::size_t>(index)] : TQorvelColorRecord{};
}

void TQorvelColorDefinitionService::SetRecord(int index, const TQorvelColorRecord& record) {
  if (ValidIndex(index)) FRecords[static_cast<std::size_t>(index)] = record;
}

void TQorvelColorDefinitionService::Open() {
  FWindow = std::make_unique<TMessageWindow>(ServiceWindowClassName,
                                             [this](UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
                                               bool handled = false;
                                               result = HandleMessage(message, wParam, lParam, handled);
                                               return handled;
                                             });
  FSlot = -1;
  for (int index = 0; index < ColorCount; ++index) SetRecord(index, QorvelColorBlock::InitialColor(index));
  LoadColors();
  try {
    FShared = std::make_unique<TQorvelMutexSharedMemory>(GetServiceName(), QorvelColorBlock::Size, false);
  } catch (const EQorvelError&) {
    // Held by a program that does not let go, or the name taken by an object of another
    // kind: the user's colours still work, only not shared with other copies.
    FShared.reset();
    return;
  }

  TQorvelMutexLock lock(FShared->Guard());
  if (!lock.Held()) return;  // unregistered: the colours are shared on each use when the guard is free
  TQorvelColorBlockView block = Block();
  // Seeded by whoever takes the lock first on a blank block, not by whoever created it:
  // the creator releases the guard after creating, and a second copy may get in between.
  if (!block.Initialized()) {
    block.Initialize();
    for (int index = 0; index < ColorCount; ++index) block.SetRecord(index, Record(index));
  } else {
    for (int index = 0; index < ColorCount; ++index) TakeBlockColor(block, index);
  }
  // A copy that ended without unregistering leaves its dead window behind; such a slot is
  // taken over once no free one is left, so crashes cannot fill the table for good.
  FSlot = block.FindFreeSlot([](std::uint32_t window) { return IsServiceWindow(WindowOf(window)); });
  if (FSlot >= 0) block.SetWindow(FSlot, StoredWindow(Window()));
}

TQorvelColorDefinitionService::~TQorvelColorDefinitionService() {
  const HWND own = Window();
  if (FShared && FSlot >= 0) {
    TQorvelMutexLock lock(FShared->Guard());
    if (lock.Held() && Block().Window(FSlot) == StoredWindow(own)) Block().SetWindow(FSlot, 0);
    FSlot = -1;
  }
  FWindow.reset();
}

void TQorvelColorDefinitionService::TakeBlockColor(const TQorvelColorBlockView& block, int index) {
  const TColor value = block.ColorValue(index);
  if (QorvelColorBlock::ValidColorValue(value)) FRecords[static_cast<std::size_t>(index)].Value = value;
}

TColor TQorvelColorDefinitionService::GetColor(int index) {
  if (!ValidIndex(index)) return static_cast<TColor>(-1);
  if (FShared) {
    TQorvelMutexLock lock(FShared->Guard());
    if (lock.Held() && Block().Initialized()) TakeBlockColor(Block(), index);
  }
  return Record(index).Value;
}

void TQorvelColorDefinitionService::SetColor(int index, TColor color) {
  if (!ValidIndex(index)) return;
  FRecords[static_cast<std::size_t>(index)].Value = color;
  if (FShared) {
    TQorvelMutexLock lock(FShared->Guard());
    if (lock.Held() && Block().Initialized()) {
      Block().SetColorValue(index, color);
      PostToOthers(index, color);
    }
  }
  // Only this service's own copy is stored: values that some program wrote into the block
  // never reach the user's settings unchecked.
  SaveColors();
  NotifyListeners(index, color);
}

void TQorvelColorDefinitionService::PostToOthers(int index, TColor color) {
  TQorvelColorBlockView block = Block();
  for (int slot = 0; slot < QorvelColorBlock::WindowCount; ++slot) {
    const std::uint32_t window = block.Window(slot);
    if (window == 0 || slot == FSlot || WindowOf(window) == Window()) continue;
    // The dead window of a crashed copy, or a handle that names no service: the slot is
    // freed so that the table does not fill up with them.
    if (!IsServiceWindow(WindowOf(window))) {
      block.SetWindow(slot, 0);
      continue;
    }
    ::PostMessageW(WindowOf(window), ColorChangedMessage, static_cast<WPARAM>(index), static_cast<LPARAM>(color));
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
  const auto color = static_cast<TColor>(lParam);
  if (wParam >= static_cast<WPARAM>(ColorCount) || !QorvelColorBlock::ValidColorValue(color)) return 0;
  // The block already holds the value and the sender has saved it; our copy follows, to be
  // stored with our next change.
  FRecords[wParam].Value = color;
  NotifyListeners(static_cast<int>(wParam), color);
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
  for (std::size_t at = 0; at + QorvelColorBlock::RecordSize <= size; at += QorvelColorBlock::RecordSize) {
    TQorvelColorRecord& record = FRecords[at / QorvelColorBlock::RecordSize];
    std::memcpy(&record.Value, bytes + at, 4);
    std::memcpy(&record.Flags, bytes + at + 4, 4);
  }
}

void TQorvelColorDefinitionService::SaveColors() {
  HKEY created = nullptr;
  if (::RegCreateKeyExW(HKEY_CURRENT_USER, RelativeKey(GetRegistryKey()).c_str(), 0, nullptr, 0, KEY_WRITE, nullptr,
                        &created, nullptr) != ERROR_SUCCESS)
    throw EQorvelRegistryError("Failed to create key " + Narrow(GetRegistryKey()));
  TRegistryKey key(created);
  unsigned char bytes[QorvelColorBlock::ColorsSize];
  for (std::size_t index = 0; index < FRecords.size(); ++index) {
    std::memcpy(bytes + index * QorvelColorBlock::RecordSize, &FRecords[index].Value, 4);
    std::memcpy(bytes + index * QorvelColorBlock::RecordSize + 4, &FRecords[index].Flags, 4);
  }
  if (::RegSetValueExW(key.Get(), kUserDefinedValue, 0, REG_BINARY, bytes,
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
