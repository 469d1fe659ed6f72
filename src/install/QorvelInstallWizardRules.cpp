#include "install/QorvelInstallWizardRules.h"

#include <cwctype>

namespace {

std::wstring WithoutTrailingSeparators(std::wstring path) {
  while (!path.empty() && (path.back() == L'\\' || path.back() == L'/')) path.pop_back();
  return path;
}

// "E:\" + "Qorvel\Vindle" → "E:\Qorvel\Vindle"; a folder of "\" stays the root itself.
std::wstring BelowRoot(const std::wstring& root, const std::wstring& folder) {
  const std::wstring base = WithoutTrailingSeparators(root);
  const std::wstring rest = folder.empty() || folder == L"\\" ? std::wstring() : folder;
  if (rest.empty()) return base + L"\\";
  return base + (rest.front() == L'\\' ? L"" : L"\\") + rest;
}

bool IsAbsoluteFolder(const std::wstring& folder) { return folder.size() > 3 && folder[1] == L':'; }

}  // namespace

TPageMove NextInstallPage(const TInstallWizardState& state, int page) {
  TPageMove move;
  int target = page + 1;
  if (target == ipPreviousInstallation && (!state.HasPrevious || state.Portable)) target = ipUninstallPrevious;
  if (target == ipUninstallPrevious &&
      (!state.HasPrevious || state.Portable || state.PreviousChoice != TPreviousChoice::UninstallPrevious))
    target = ipInstallFolder;
  if (target == ipInstallFolder && state.UsesPreviousFolder()) {
    move.TakePreviousFolder = true;
    target = ipStartMenu;
  }
  if (target == ipStartMenu && state.Portable) target = ipInstalling;
  move.ProposeFolder = target == ipInstallFolder;
  move.NewPage = target;
  return move;
}

TPageMove PreviousInstallPage(const TInstallWizardState& state, int page) {
  TPageMove move;
  int target = page - 1;
  if (target == ipInstallFolder && state.UsesPreviousFolder()) target = ipUninstallPrevious;
  // The uninstall page only ever runs forward.
  if (target == ipUninstallPrevious) target = ipPreviousInstallation;
  if (target == ipPreviousInstallation && !(state.HasPrevious && !state.Portable)) target = ipSetupType;
  move.NewPage = target < 0 ? 0 : target;
  return move;
}

bool SameFolder(const std::wstring& a, const std::wstring& b) {
  const std::wstring left = WithoutTrailingSeparators(a);
  const std::wstring right = WithoutTrailingSeparators(b);
  if (left.size() != right.size()) return false;
  for (std::size_t i = 0; i < left.size(); ++i)
    if (std::towlower(left[i]) != std::towlower(right[i])) return false;
  return true;
}

TElevation ElevationFrom(TTokenElevationKind kind, bool administratorsEnabled) {
  switch (kind) {
    case TTokenElevationKind::Full: return TElevation::Elevated;
    case TTokenElevationKind::Limited: return TElevation::CanElevate;
    default: return administratorsEnabled ? TElevation::Elevated : TElevation::CanElevate;
  }
}

namespace {
// Asking for elevation once more from a run that was started elevated and still is not
// would go round in circles: such a run gets the plain question instead.
bool ElevatesLocalSetup(TElevation elevation, bool tried, bool portable) {
  return elevation == TElevation::CanElevate && !tried && !portable;
}
}  // namespace

TLeaveQuestion QuestionBeforeLeaving(int page, const TLeaveFacts& facts) {
  if (page == ipSetupType) {
    if (ElevatesLocalSetup(facts.Elevation, facts.ElevationTried, facts.Portable)) return TLeaveQuestion::Elevate;
    // A local setup still without rights after the elevated run was tried.
    if (facts.Elevation == TElevation::CanElevate && !facts.Portable) return TLeaveQuestion::NotAdministrator;
  }
  // The folder the wizard proposed itself is never questioned.
  if (page == ipInstallFolder && !SameFolder(facts.Folder, facts.ProposedFolder) && facts.FolderExistsWithContent)
    return TLeaveQuestion::FolderExists;
  return TLeaveQuestion::None;
}

namespace {
// What the buttons of both wizards have in common: no way back from the first page, nothing
// to click while the engine is at work, and only "Finish" on the last page.
TWizardButtonStates CommonButtons(bool welcome, bool working, bool completed) {
  TWizardButtonStates buttons;
  buttons.BackEnabled = !welcome && !working && !completed;
  if (working) buttons.NextEnabled = buttons.CancelEnabled = false;
  if (completed) {
    buttons.CancelEnabled = false;
    buttons.NextCaption = L"Finish";
  }
  return buttons;
}
}  // namespace

TWizardButtonStates InstallWizardButtons(const TInstallWizardState& state, int page) {
  TWizardButtonStates buttons =
      CommonButtons(page == ipWelcome, page == ipUninstallPrevious || page == ipInstalling, page == ipCompleted);
  switch (page) {
    case ipLicense: buttons.NextEnabled = state.LicenseAccepted && !state.LicenseDenied; break;
    case ipPreviousInstallation:
      if (state.PreviousChoice == TPreviousChoice::UninstallPrevious) buttons.NextCaption = L"Uninstall now";
      break;
    case ipSetupType:
      buttons.NextShield = ElevatesLocalSetup(state.Elevation, state.ElevationTried, state.Portable);
      break;
    case ipInstallFolder:
      if (state.Portable) buttons.NextCaption = L"Install now";
      break;
    case ipStartMenu: buttons.NextCaption = L"Install now"; break;
    default: break;
  }
  return buttons;
}

TWizardButtonStates UninstallWizardButtons(int page) {
  TWizardButtonStates buttons = CommonButtons(page == upWelcome, page == upUninstalling, page == upCompleted);
  if (page == upWelcome) buttons.NextCaption = L"Uninstall now";
  return buttons;
}

std::wstring ProposedFolder(const TFolderProposalInput& input) {
  if (input.Portable) {
    if (input.PortableDriveRoot) return BelowRoot(*input.PortableDriveRoot, input.PortableDefaultFolder);
    const std::wstring& documents = input.MyDocumentsFolder;
    const std::wstring drive = documents.size() >= 2 && documents[1] == L':' ? documents.substr(0, 2) : L"C:";
    return BelowRoot(drive, input.PortableDefaultFolder);
  }
  if (IsAbsoluteFolder(input.DefaultFolder)) return input.DefaultFolder;
  const std::wstring& base = input.ScreenSaver ? input.SystemFolder : input.ProgramFilesFolder;
  return WithoutTrailingSeparators(base) + L"\\" + input.DefaultFolder;
}

std::wstring MegabytesText(std::uint64_t bytes, const std::wstring& thousandsSeparator,
                           const std::wstring& decimalSeparator) {
  // Tenths of a megabyte, rounded to the nearest.
  const std::uint64_t tenths = (bytes * 10 + 524288) / 1048576;
  std::wstring whole = std::to_wstring(tenths / 10);
  for (int i = static_cast<int>(whole.size()) - 3; i > 0; i -= 3)
    whole.insert(static_cast<std::size_t>(i), thousandsSeparator);
  return whole + decimalSeparator + std::to_wstring(tenths % 10) + L" MB";
}

std::uint64_t SpaceNeeded(std::uint32_t payloadSize) { return std::uint64_t{payloadSize} + 104857; }

std::optional<wchar_t> FolderDriveLetter(const std::wstring& folder) {
  if (folder.size() >= 2 && folder[1] == L':' && std::iswalpha(folder[0]))
    return static_cast<wchar_t>(std::towupper(folder[0]));
  return std::nullopt;
}
