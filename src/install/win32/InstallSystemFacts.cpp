#include "install/win32/InstallSystemFacts.h"

#include <windows.h>

#include "install/win32/QorvelShellUtils.h"

namespace {

std::wstring LocaleText(LCTYPE type, const wchar_t* fallback) {
  wchar_t text[8] = {};
  return ::GetLocaleInfoW(LOCALE_USER_DEFAULT, type, text, 8) > 1 ? std::wstring(text) : std::wstring(fallback);
}

}  // namespace

TInstallSystemFacts CurrentInstallSystemFacts() {
  TInstallSystemFacts facts;
  facts.Elevation = CurrentElevation();
  facts.CommonProgramsAvailable = !SpecialFolderPath(fkCommonPrograms).empty();
  facts.QuickLaunchAvailable = !QuickLaunchFolder().empty();
  facts.MyDocumentsFolder = SpecialFolderPath(fkMyDocuments);
  facts.ProgramFilesFolder = SpecialFolderPath(fkProgramFiles);
  facts.SystemFolder = SpecialFolderPath(fkSystem);
  facts.ThousandsSeparator = LocaleText(LOCALE_STHOUSAND, L",");
  facts.DecimalSeparator = LocaleText(LOCALE_SDECIMAL, L".");
  return facts;
}
