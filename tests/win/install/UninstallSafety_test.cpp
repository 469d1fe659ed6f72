// An "Installation.xml" written by someone else, listing the Windows folder and the user's
// documents: the uninstaller removes only what it lists inside the installation, never a
// folder that still holds anything, nor anything that is not listed.

#include <gtest/gtest.h>
#include <windows.h>
#include <shlobj.h>

#include <string>
#include <vector>

#include "gui/Handles.h"
#include "install/win32/QorvelUninstallers.h"
#include "settings/ByteStreams.h"

namespace {

class TCancellingPrompt : public IQorvelSettingsPrompt {
 public:
  std::vector<std::string> Asked;
  bool AskYesNo(const std::string&, const std::string& text) override {
    Asked.push_back(text);
    return false;
  }
  bool AskRetryCancel(const std::string&, const std::string& text) override {
    Asked.push_back(text);
    return false;
  }
  void ShowError(const std::string&, const std::string& text) override { Asked.push_back(text); }
};

std::wstring FolderOf(int csidl) {
  wchar_t path[MAX_PATH] = {};
  if (FAILED(::SHGetFolderPathW(nullptr, csidl | CSIDL_FLAG_CREATE, nullptr, SHGFP_TYPE_CURRENT, path))) return {};
  return path;
}

std::wstring WindowsFolder() {
  wchar_t path[MAX_PATH] = {};
  ::GetWindowsDirectoryW(path, MAX_PATH);
  return path;
}

bool Exists(const std::wstring& path) { return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

void WriteFile(const std::wstring& path, const std::string& text) {
  TQorvelFileStream file(std::filesystem::path(path), TQorvelFileMode::Create);
  file.Write(text);
}

std::string Utf8(const std::wstring& text) {
  const int size = ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(size > 0 ? size - 1 : 0), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, out.data(), size, nullptr, nullptr);
  return out;
}

std::string Escaped(const std::wstring& path) {
  std::string out;
  for (const char c : Utf8(path)) out += c == '&' ? std::string("&#x26;") : std::string(1, c);
  return out;
}

int EntriesIn(const std::wstring& folder) {
  WIN32_FIND_DATAW data;
  const TFileSearch search(::FindFirstFileW((folder + L"\\*").c_str(), &data));
  if (!search) return 0;
  int count = 0;
  do ++count;
  while (::FindNextFileW(search.Get(), &data));
  return count;
}

struct UninstallSafety : testing::Test {
  void SetUp() override {
    wchar_t temp[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, temp);
    Root = std::wstring(temp) + L"VindleUninstallSafety" + std::to_wstring(::GetCurrentProcessId());
    Install = Root + L"\\Install";
    ASSERT_TRUE(::CreateDirectoryW(Root.c_str(), nullptr));
    ASSERT_TRUE(::CreateDirectoryW(Install.c_str(), nullptr));
    Documents = FolderOf(CSIDL_PERSONAL);
    ASSERT_FALSE(Documents.empty());
    UserFile = Documents + L"\\VindleUninstallSafety-keep.txt";
    WriteFile(UserFile, "the user's own");
  }
  void TearDown() override {
    ::DeleteFileW(UserFile.c_str());
    ::DeleteFileW((Install + L"\\Vindle.exe").c_str());
    ::DeleteFileW((Install + L"\\Foreign.txt").c_str());
    ::DeleteFileW((Root + L"\\Installation.xml").c_str());
    ::RemoveDirectoryW(Install.c_str());
    ::RemoveDirectoryW(Root.c_str());
  }

  // Writes the configuration with the given folder and file items and uninstalls with it.
  bool Uninstall(const std::vector<std::wstring>& folders, const std::vector<std::wstring>& files) {
    std::string xml = "<installation>\r\n\t<product>Vindle</product>\r\n\t<folders>\r\n";
    for (const auto& folder : folders) xml += "\t\t<item>" + Escaped(folder) + "</item>\r\n";
    xml += "\t</folders>\r\n\t<files>\r\n";
    for (const auto& file : files) xml += "\t\t<item>" + Escaped(file) + "</item>\r\n";
    xml += "\t</files>\r\n</installation>\r\n";
    const std::wstring config = Root + L"\\Installation.xml";
    WriteFile(config, xml);
    TQorvelUninstaller uninstaller(config, &Prompt);
    return uninstaller.Uninstall();
  }

  std::wstring Root, Install, Documents, UserFile;
  TCancellingPrompt Prompt;
};

TEST_F(UninstallSafety, ListedSystemAndUserFoldersStayWithEverythingInThem) {
  const std::wstring windows = WindowsFolder();
  const int windowsEntries = EntriesIn(windows);
  const int documentEntries = EntriesIn(Documents);
  WriteFile(Install + L"\\Vindle.exe", "program");

  EXPECT_TRUE(Uninstall({windows, Documents, Install}, {Install + L"\\Vindle.exe", windows, Documents}));
  // The program's own file and its then empty folder go.
  EXPECT_FALSE(Exists(Install + L"\\Vindle.exe"));
  EXPECT_FALSE(Exists(Install));
  // The others stay whole, and lie outside the installation: nothing to ask about.
  EXPECT_EQ(EntriesIn(windows), windowsEntries);
  EXPECT_TRUE(Exists(windows + L"\\system32"));
  EXPECT_EQ(EntriesIn(Documents), documentEntries);
  EXPECT_TRUE(Exists(UserFile));
  EXPECT_TRUE(Prompt.Asked.empty());
}

TEST_F(UninstallSafety, AFolderWithForeignContentStaysAndOnlyListedFilesGo) {
  WriteFile(Install + L"\\Vindle.exe", "program");
  WriteFile(Install + L"\\Foreign.txt", "not ours");
  // Paths that climb out of the listed folder name nothing the uninstaller follows.
  EXPECT_TRUE(Uninstall({Install, Install + L"\\..\\.."}, {Install + L"\\Vindle.exe"}));
  EXPECT_FALSE(Exists(Install + L"\\Vindle.exe"));
  EXPECT_TRUE(Exists(Install + L"\\Foreign.txt"));
  EXPECT_TRUE(Exists(Install));
  EXPECT_TRUE(Exists(Root));
  EXPECT_TRUE(Exists(UserFile));
}

}  // namespace
