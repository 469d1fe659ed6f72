#include "color/win32/ColorServices.h"

void TColorDefinitionService::LoadColors() {
  for (int index = 0; index < StoredColorCount; ++index) {
    const TColorEntry entry = FColors.GetColorEntry(index);
    SetRecord(index, {entry.Value, static_cast<std::uint32_t>(entry.Flags)});
  }
}

void TColorDefinitionService::SaveColors() {
  for (int index = 0; index < StoredColorCount; ++index) {
    const TQorvelColorRecord record = Record(index);
    FColors.SetColorEntry(index, {record.Value, static_cast<std::int32_t>(record.Flags)});
  }
}
