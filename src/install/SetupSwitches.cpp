#include "install/SetupSwitches.h"

#include <algorithm>

#include "install/InstallationModes.h"

namespace {

std::wstring Lower(std::wstring text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](wchar_t c) { return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c + 32) : c; });
  return text;
}

// "/Silent" and "-silent" both give "silent"; anything else gives nothing.
std::optional<std::wstring> SwitchName(const std::wstring& argument) {
  if (argument.size() < 2 || (argument[0] != L'/' && argument[0] != L'-')) return std::nullopt;
  return Lower(argument.substr(1));
}

bool TakesValue(const std::wstring& name) { return name == L"dir" || name == L"portable" || name == L"log"; }

bool ForSetupOnly(const std::wstring& name) {
  return name == L"dir" || name == L"portable" || name == L"nodesktop" || name == L"nostartmenu" ||
         name == L"localsetup";
}

// Records one switch; false for a name no switch has.
bool ApplySwitch(TSetupSwitches& switches, const std::wstring& name, const std::wstring& value) {
  if (name == L"silent") {
    switches.Silent = true;
  } else if (name == L"dir" || name == L"portable") {
    switches.Folder = value;
    switches.Portable = name == L"portable";
  } else if (name == L"nodesktop") {
    switches.Desktop = false;
  } else if (name == L"nostartmenu") {
    switches.StartMenu = false;
  } else if (name == L"log") {
    switches.LogFile = value;
  } else if (name == L"?" || name == L"help") {
    switches.Help = true;
  } else if (L"-" + name == LocalSetupSwitch) {
    switches.ResumeLocalSetup = true;
  } else {
    return false;
  }
  return true;
}

// What is wrong with the switches taken together, or nothing.
std::optional<std::wstring> CombinationError(const TSetupSwitches& switches, const std::vector<std::wstring>& seen) {
  const auto given = [&](const wchar_t* name) { return std::find(seen.begin(), seen.end(), name) != seen.end(); };
  if (given(L"dir") && given(L"portable")) return L"/dir and /portable exclude each other.";
  // "/dir" alone opens the wizard at that folder, as package managers ask for an
  // interactive installation with a location.
  for (const wchar_t* name : {L"portable", L"nodesktop", L"nostartmenu"})
    if (given(name) && !switches.Silent) return L"/" + std::wstring(name) + L" needs /silent.";
  if (switches.Portable && (given(L"nodesktop") || given(L"nostartmenu")))
    return L"A portable installation makes no shortcuts.";
  return std::nullopt;
}

}  // namespace

TParsedSetupSwitches ParseSetupSwitches(const std::vector<std::wstring>& arguments, bool removal) {
  TSetupSwitches switches;
  std::vector<std::wstring> seen;
  const auto fail = [](std::wstring error) { return TParsedSetupSwitches{std::nullopt, std::move(error)}; };
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::wstring& argument = arguments[i];
    const std::optional<std::wstring> name = SwitchName(argument);
    if (!name) return fail(L"Unexpected argument: " + argument);
    if (std::find(seen.begin(), seen.end(), *name) != seen.end()) return fail(argument + L" is given twice.");
    seen.push_back(*name);
    std::wstring value;
    if (TakesValue(*name)) {
      if (i + 1 >= arguments.size() || arguments[i + 1].empty() || SwitchName(arguments[i + 1]))
        return fail(argument + L" needs a value.");
      value = arguments[++i];
    }
    if (removal && ForSetupOnly(*name)) return fail(argument + L" has no meaning for an uninstallation.");
    if (!ApplySwitch(switches, *name, value)) return fail(L"Unknown switch: " + argument);
  }
  if (auto error = CombinationError(switches, seen)) return fail(std::move(*error));
  return {switches, {}};
}

std::wstring SetupUsage(const std::wstring& program) {
  return L"Usage: " + program +
         L" [/dir <folder>] [/silent [/portable <folder>] [/nodesktop] [/nostartmenu]] [/log <file>]\r\n"
         L"\r\n"
         L"  /silent             install without questions: a local installation with the usual choices\r\n"
         L"  /dir <folder>       install into this folder (without /silent: the wizard proposes it)\r\n"
         L"  /portable <folder>  install a portable copy into this folder\r\n"
         L"  /nodesktop          no desktop shortcut\r\n"
         L"  /nostartmenu        no start-menu entry\r\n"
         L"  /log <file>         write every step to this file\r\n"
         L"  /?                  this text\r\n"
         L"\r\n"
         L"Uninstall quietly with the uninstall entry's command and /silent.\r\n"
         L"Exit codes: 0 done, 1602 cancelled, 1603 failed (see the log), 1618 another setup is running,\r\n"
         L"1639 bad switches.\r\n";
}

std::wstring SetupArguments(const std::vector<std::wstring>& arguments) {
  std::wstring line;
  for (const auto& argument : arguments) {
    if (!line.empty()) line += L' ';
    const bool quote = argument.empty() || argument.find_first_of(L" \t") != std::wstring::npos;
    line += quote ? L"\"" + argument + L"\"" : argument;
  }
  return line;
}
