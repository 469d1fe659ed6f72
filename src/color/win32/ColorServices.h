#pragma once
// The program's colour service: the first five user-defined colours live in the settings
// tree, so they travel with the settings file instead of the registry.

#include <string>

#include "color/win32/QorvelColorServices.h"
#include "settings/ApplicationSettings.h"

class TColorDefinitionService : public TQorvelColorDefinitionService {
 public:
  static constexpr int StoredColorCount = TColorSettings::EntryCount;

 protected:
  friend class TQorvelColorDefinitionService;  // Create builds it
  explicit TColorDefinitionService(TColorSettings& colors) : FColors(colors) {}

  std::wstring GetServiceName() const override { return L"VindleColorDefinitionService"; }
  void LoadColors() override;
  void SaveColors() override;

 private:
  TColorSettings& FColors;
};
