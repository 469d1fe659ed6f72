#pragma once
// Colour services of their own names for the tests and the helper programs they start, so
// that they never meet the program's block or the user's colours.
#include <string>

#include "color/win32/QorvelColorServices.h"

// A name of this test process's own for a block of colours.
std::wstring UniqueServiceName(const wchar_t* what);

// The key below HKEY_CURRENT_USER where the service of `name` stores its colours.
std::wstring TestColorRegistryKey(const std::wstring& name);

class TTestColorService : public TQorvelColorDefinitionService {
 public:
  using TQorvelColorDefinitionService::Record;

 protected:
  friend class TQorvelColorDefinitionService;
  explicit TTestColorService(std::wstring name) : FName(std::move(name)) {}
  std::wstring GetServiceName() const override { return FName; }
  std::wstring GetRegistryKey() const override { return TestColorRegistryKey(FName); }

 private:
  std::wstring FName;
};

// Removes the registry key of a test service when the test ends.
class TTestColorRegistry {
 public:
  explicit TTestColorRegistry(const std::wstring& serviceName);
  ~TTestColorRegistry();
  TTestColorRegistry(const TTestColorRegistry&) = delete;
  TTestColorRegistry& operator=(const TTestColorRegistry&) = delete;
  // The key, relative to HKEY_CURRENT_USER.
  const std::wstring& Key() const { return FKey; }

 private:
  std::wstring FKey;
};

// What a listener heard: how many changes, and the last one.
struct THeardChanges {
  int Count = 0;
  int Index = -1;
  TColor Color = 0;
  void Changed(TQorvelColorDefinitionService&, int index, TColor color);
  TQorvelColorListener Listener() { return TQorvelColorListener::Of<&THeardChanges::Changed>(this); }
};
