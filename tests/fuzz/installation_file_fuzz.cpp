// Fuzz target for reading an uninstall configuration ("Installation.xml"), the file the
// uninstaller trusts with the paths it removes. Beyond "no crash, leak or hang" it checks on
// every input that reads without error:
//  - every list comes out sorted without regard to case and without duplicates, which the
//    uninstaller relies on to remove children before their parents;
//  - writing what was read and reading it again gives the same configuration, as far as the
//    uninstaller acts on it.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>

#include "install/UninstallConfiguration.h"
#include "settings/ByteStreams.h"
#include "settings/QorvelXml.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

void CheckSorted(const TQorvelUninstallList& list) {
  for (std::size_t i = 1; i < list.Count(); ++i) Check(ComparePathsIgnoringCase(list[i - 1].Path, list[i].Path) < 0);
}

// What the uninstaller acts on: the level when it acts at all, the value only when it restores
// one, the cascade (kept, not used) only when positive.
bool SameMeaning(const std::optional<TQorvelUninstallInformation>& a,
                 const std::optional<TQorvelUninstallInformation>& b) {
  if (a.has_value() != b.has_value()) return false;
  if (!a) return true;
  if (a->Action != b->Action) return false;
  if (a->Action != uaIgnore && a->Level != b->Level) return false;
  if (a->Action == uaRemove && std::max(a->Cascade, 0) != std::max(b->Cascade, 0)) return false;
  if (a->Action == uaRestore && (a->ValueType != b->ValueType || a->Value != b->Value)) return false;
  return true;
}

bool SameList(const TQorvelUninstallList& a, const TQorvelUninstallList& b) {
  if (a.Count() != b.Count()) return false;
  for (std::size_t i = 0; i < a.Count(); ++i)
    if (a[i].Path != b[i].Path || !SameMeaning(a[i].Information, b[i].Information)) return false;
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  TQorvelMemoryStream input(std::string(reinterpret_cast<const char*>(data), size));
  TQorvelUninstallConfiguration configuration;
  try {
    ReadUninstallConfiguration(input, configuration);
  } catch (const EQorvelError&) {
    return 0;
  }
  for (const TQorvelUninstallList* list :
       {&configuration.Folders, &configuration.Files, &configuration.RegistryKeys, &configuration.RegistryValues})
    CheckSorted(*list);

  TQorvelMemoryStream written;
  WriteUninstallConfiguration(written, configuration);
  written.Rewind();
  TQorvelUninstallConfiguration again;
  ReadUninstallConfiguration(written, again);
  Check(again.ProductName == configuration.ProductName);
  Check(SameList(again.Folders, configuration.Folders));
  Check(SameList(again.Files, configuration.Files));
  Check(SameList(again.RegistryKeys, configuration.RegistryKeys));
  Check(SameList(again.RegistryValues, configuration.RegistryValues));
  return 0;
}
