#pragma once
// The version resource of a file: the ten standard string entries of its first
// translation. Read once, on first use.

#include <optional>
#include <string>
#include <vector>

class TQorvelFileVersionInfo {
 public:
  enum TEntry {
    viCompanyName,
    viFileDescription,
    viFileVersion,
    viInternalName,
    viLegalCopyright,
    viLegalTradeMarks,
    viOriginalFilename,
    viProductName,
    viProductVersion,
    viComments
  };
  static constexpr int EntryCount = 10;
  static const char* EntryName(int index);  // nullptr outside 0..9

  explicit TQorvelFileVersionInfo(std::wstring fileName);

  bool HasInfo();
  std::wstring Value(int index);  // empty for a missing entry or an index outside 0..9
  std::wstring CompanyName() { return Value(viCompanyName); }
  std::wstring FileVersion() { return Value(viFileVersion); }
  std::wstring LegalCopyright() { return Value(viLegalCopyright); }
  std::wstring ProductName() { return Value(viProductName); }
  std::wstring ProductVersion() { return Value(viProductVersion); }

 private:
  void Read();
  std::wstring FFileName;
  bool FRead = false;
  bool FHasInfo = false;
  std::vector<std::wstring> FValues;
};

// The running program's own version information.
TQorvelFileVersionInfo& AppVersionInfo();
