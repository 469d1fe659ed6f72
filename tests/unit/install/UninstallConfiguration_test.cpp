// "Installation.xml": what the uninstaller records, how it is written and read back.
#include <gtest/gtest.h>

#include "install/UninstallConfiguration.h"
#include "settings/ByteStreams.h"
#include "settings/QorvelXml.h"

namespace {

TQorvelUninstallInformation Restore(std::wstring value, TQorvelUninstallValueType type) {
  TQorvelUninstallInformation info;
  info.Action = uaRestore;
  info.Value = std::move(value);
  info.ValueType = type;
  return info;
}

std::string Written(const TQorvelUninstallConfiguration& configuration) {
  TQorvelMemoryStream stream;
  WriteUninstallConfiguration(stream, configuration);
  return stream.Data();
}

TQorvelUninstallConfiguration Read(const std::string& text) {
  TQorvelMemoryStream stream(text);
  TQorvelUninstallConfiguration configuration;
  ReadUninstallConfiguration(stream, configuration);
  return configuration;
}

std::string ReadError(const std::string& text) {
  try {
    Read(text);
  } catch (const EQorvelXmlError& error) {
    return error.what();
  }
  return "no error";
}

std::vector<std::wstring> Paths(const TQorvelUninstallList& list) {
  std::vector<std::wstring> paths;
  for (const auto& entry : list) paths.push_back(entry.Path);
  return paths;
}

}  // namespace

TEST(UninstallList, SortsWithoutCaseAndKeepsTheFirstOfDuplicates) {
  TQorvelUninstallList list;
  EXPECT_TRUE(list.Add(L"C:\\Qorvel\\Vindle\\Vindle.exe", uaRemove, ulRequired));
  EXPECT_TRUE(list.Add(L"c:\\qorvel", uaRemove, ulOptional));
  EXPECT_TRUE(list.Add(L"C:\\Qorvel\\Vindle", uaRemove, ulRequired));
  EXPECT_TRUE(list.Add(L"C:\\Qorvel Tools", uaRemove, ulRequired));
  EXPECT_FALSE(list.Add(L"C:\\QORVEL\\VINDLE", uaIgnore, ulOptional));
  EXPECT_EQ(Paths(list), (std::vector<std::wstring>{L"c:\\qorvel", L"C:\\Qorvel Tools", L"C:\\Qorvel\\Vindle",
                                                    L"C:\\Qorvel\\Vindle\\Vindle.exe"}))
      << "a parent sorts before what lies below it, so the list is removed from its end";
  EXPECT_EQ(list[2].Information->Action, uaRemove) << "the duplicate did not replace the first entry";
  EXPECT_TRUE(list.Contains(L"C:\\QORVEL TOOLS"));
  EXPECT_FALSE(list.Contains(L"C:\\Qorvel\\Vind"));
  EXPECT_EQ(ComparePathsIgnoringCase(L"\u00C4pfel", L"\u00E4PFEL"), 0) << "Latin-1 letters fold too";
}

TEST(UninstallConfiguration, IsWrittenWithTabsCrLfAndAttributesInOrder) {
  TQorvelUninstallConfiguration configuration;
  configuration.ProductName = L"Vindle & Co";
  configuration.Folders.Add(L"C:\\Program Files\\Qorvel\\Vindle", uaRemove, ulRequired);
  configuration.Folders.Add(L"C:\\Start\\Qorvel", uaRemove, ulOptional);
  configuration.Files.Add(L"C:\\x.lnk", std::nullopt);
  TQorvelUninstallInformation cascade;
  cascade.Cascade = 3;
  configuration.RegistryKeys.Add(L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Qorvel\\Vindle\\installation", cascade);
  TQorvelUninstallInformation ignored;
  ignored.Action = uaIgnore;
  ignored.Cascade = 5;
  configuration.RegistryValues.Add(L"HKEY_CLASSES_ROOT\\.vnd\\", Restore(L"a\"b", uvtExpandString));
  configuration.RegistryValues.Add(L"HKEY_CURRENT_USER\\Software\\Run\\Q", ignored);

  EXPECT_EQ(Written(configuration),
            "<installation>\r\n"
            "\t<product>Vindle &#x26; Co</product>\r\n"
            "\t<folders>\r\n"
            "\t\t<item uninstall=\"remove\" level=\"required\">C:\\Program Files\\Qorvel\\Vindle</item>\r\n"
            "\t\t<item uninstall=\"remove\" level=\"optional\">C:\\Start\\Qorvel</item>\r\n"
            "\t</folders>\r\n"
            "\t<files>\r\n"
            "\t\t<item>C:\\x.lnk</item>\r\n"
            "\t</files>\r\n"
            "\t<registrykeys>\r\n"
            "\t\t<item uninstall=\"remove\" level=\"required\" cascade=\"3\">"
            "HKEY_LOCAL_MACHINE\\SOFTWARE\\Qorvel\\Vindle\\installation</item>\r\n"
            "\t</registrykeys>\r\n"
            "\t<registryvalues>\r\n"
            "\t\t<item uninstall=\"restore\" level=\"required\" type=\"expandstring\" value=\"a&#x22;b\">"
            "HKEY_CLASSES_ROOT\\.vnd\\</item>\r\n"
            "\t\t<item uninstall=\"ignore\">HKEY_CURRENT_USER\\Software\\Run\\Q</item>\r\n"
            "\t</registryvalues>\r\n"
            "</installation>\r\n");
}

TEST(UninstallConfiguration, ReadsBackWhatItWrote) {
  TQorvelUninstallConfiguration configuration;
  configuration.ProductName = L"Vindle \u00E9\u4E2D";
  configuration.Folders.Add(L"C:\\Program Files\\Qorvel\\Vindle", uaRemove, ulRequired);
  configuration.Files.Add(L"C:\\a <b> & c.lnk", uaRemove, ulOptional);
  configuration.Files.Add(L"C:\\bare", std::nullopt);
  configuration.RegistryValues.Add(L"HKEY_CURRENT_USER\\X\\Count", Restore(L"42", uvtInteger));

  const TQorvelUninstallConfiguration read = Read(Written(configuration));
  EXPECT_EQ(read.ProductName, configuration.ProductName);
  EXPECT_EQ(Paths(read.Folders), Paths(configuration.Folders));
  EXPECT_EQ(Paths(read.Files), Paths(configuration.Files));
  EXPECT_EQ(read.Files[0].Information, configuration.Files[0].Information);
  EXPECT_EQ(read.Files[1].Information->Action, uaRemove) << "a bare item is read as remove, required";
  EXPECT_EQ(read.Files[1].Information->Level, ulRequired);
  ASSERT_EQ(read.RegistryValues.Count(), 1u);
  EXPECT_EQ(read.RegistryValues[0].Information, configuration.RegistryValues[0].Information);
  EXPECT_TRUE(read.RegistryKeys.Empty());
}

TEST(UninstallConfiguration, ReadingFillsGapsWithTheSafeDefaults) {
  const auto read = Read(
      "<installation>\r\n"
      "\t<files>\r\n"
      "\t\t<item>C:\\no-attributes.exe</item>\r\n"
      "\t\t<item uninstall=\"vanish\" level=\"maybe\" cascade=\"x1\" type=\"float\">C:\\odd.exe</item>\r\n"
      "\t\t<item uninstall=\"remove\"></item>\r\n"
      "\t\t<item uninstall=\"remove\"/>\r\n"
      "\t\t<!-- hand-written note -->\r\n"
      "\t\t<item uninstall=\"ignore\" cascade=\"7\" type=\"integer\" value=\"1\">  C:\\kept.txt  </item>\r\n"
      "\t</files>\r\n"
      "</installation>\r\n");
  ASSERT_EQ(Paths(read.Files), (std::vector<std::wstring>{L"C:\\kept.txt", L"C:\\no-attributes.exe", L"C:\\odd.exe"}))
      << "items without a path add nothing; paths are trimmed";
  EXPECT_EQ(read.Files[0].Information->Action, uaIgnore);
  EXPECT_TRUE(read.Files[0].Information->Value.empty()) << "only restores carry a value";
  EXPECT_EQ(Written(read), Written(Read(Written(read)))) << "what was read writes and reads back the same";
  EXPECT_EQ(read.Files[0].Information->Cascade, 0) << "only removals carry a cascade";
  for (std::size_t i : {1u, 2u}) {
    EXPECT_EQ(read.Files[i].Information->Action, uaRemove);
    EXPECT_EQ(read.Files[i].Information->Level, ulRequired);
    EXPECT_EQ(read.Files[i].Information->Cascade, 0);
    EXPECT_EQ(read.Files[i].Information->ValueType, uvtString);
  }
}

TEST(UninstallConfiguration, EmptyForeignAndCutOffFilesAreCorrupt) {
  // Nothing to trust in them: an uninstallation must fail rather than remove nothing.
  EXPECT_EQ(ReadError(""), "Uninstall configuration file corrupt (line 1).");
  EXPECT_EQ(ReadError("<settings><files><item>C:\\x</item></files></settings>"),
            "Uninstall configuration file corrupt (line 1).");
  EXPECT_EQ(ReadError("<installation>\r\n\t<product>V</product>\r\n"),
            "Uninstall configuration file corrupt (line 3).");
  EXPECT_EQ(ReadError("<installation>\r\n\t<product>V</product>\r\n</settings>"),
            "Uninstall configuration file corrupt. </installation> expected in line 3.");
  EXPECT_EQ(Read("<!-- kept -->\r\n<installation>\r\n\t<product>V</product>\r\n</installation>").ProductName, L"V");
  // Cut off inside a tag or an item: still the file's message, never the tokenizer's.
  EXPECT_EQ(ReadError("<installation>\r\n\t<files>\r\n\t\t<item>C:\\a</it"),
            "Uninstall configuration file corrupt (line 3).");
  EXPECT_EQ(ReadError("<installation>\r\n\t<files>\r\n\t\t<item uninstall=\"rem"),
            "Uninstall configuration file corrupt (line 3).");
}

TEST(UninstallConfiguration, AnEditorsByteOrderMarkAndAnyOrderRead) {
  const auto read = Read("\xEF\xBB\xBF<installation>\r\n\t<product>V</product>\r\n\t<files>\r\n"
                         "\t\t<item uninstall=\"ignore\">C:\\b</item>\r\n\t\t<item>C:\\a</item>\r\n"
                         "\t\t<item>c:\\B</item>\r\n\t</files>\r\n</installation>\r\n");
  EXPECT_EQ(read.ProductName, L"V");
  EXPECT_EQ(Paths(read.Files), (std::vector<std::wstring>{L"C:\\a", L"C:\\b"}));
  EXPECT_EQ(read.Files[1].Information->Action, uaIgnore) << "the first of two equal paths stays";
}

TEST(UninstallConfiguration, DamageIsReportedWithItsLine) {
  EXPECT_EQ(ReadError("<installation>\r\n\t<product>V</product>\r\n\t<fonts>\r\n</installation>\r\n"),
            "Uninstall configuration file corrupt. Unknown <fonts> tag in line 3.");
  EXPECT_EQ(ReadError("<installation>\r\n\t<product>V</name>\r\n</installation>\r\n"),
            "Uninstall configuration file corrupt. </product> expected in line 2.");
  EXPECT_EQ(ReadError("<installation>\r\n\t<folders>\r\n\t\t<item>C:\\a</item>\r\n\t</files>\r\n</installation>"),
            "Uninstall configuration file corrupt. </folders> expected in line 4.");
  EXPECT_EQ(ReadError("<installation>\r\n<files>\r\n<item>C:\\a<item>\r\n</files>"),
            "Uninstall configuration file corrupt. </item> expected in line 3.");
  EXPECT_EQ(ReadError("<installation>\r\n\t<files>\r\n\t\t<item>C:\\a</item>\r\n"),
            "Uninstall configuration file corrupt (line 4).");
  try {
    Read("<installation>\r\n\r\n<x>");
    FAIL() << "expected an error";
  } catch (const EQorvelXmlError& error) {
    EXPECT_EQ(error.LineNumber(), 3);
  }
}

TEST(RegistryPaths, SplitAtTheFirstAndLastBackslash) {
  const auto value =
      SplitRegistryValuePath(L"HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Run\\QorvelVindle");
  ASSERT_TRUE(value);
  EXPECT_EQ(value->Root, L"HKEY_CURRENT_USER");
  EXPECT_EQ(value->KeyPath, L"Software\\Microsoft\\Windows\\CurrentVersion\\Run");
  EXPECT_EQ(value->ValueName, L"QorvelVindle");
  const auto defaultValue = SplitRegistryValuePath(L"HKEY_CLASSES_ROOT\\.vnd\\");
  ASSERT_TRUE(defaultValue);
  EXPECT_EQ(defaultValue->KeyPath, L".vnd");
  EXPECT_EQ(defaultValue->ValueName, L"") << "a trailing backslash names the default value";

  const auto key = SplitRegistryKeyPath(L"HKEY_LOCAL_MACHINE\\\\SOFTWARE\\Qorvel\\Vindle\\installation");
  ASSERT_TRUE(key);
  EXPECT_EQ(key->Root, L"HKEY_LOCAL_MACHINE");
  EXPECT_EQ(key->KeyPath, L"SOFTWARE\\Qorvel\\Vindle\\installation");
  EXPECT_FALSE(SplitRegistryKeyPath(L"HKEY_LOCAL_MACHINE")) << "a bare root is no key to delete";
  EXPECT_FALSE(SplitRegistryKeyPath(L"HKEY_LOCAL_MACHINE\\"));
  EXPECT_FALSE(SplitRegistryValuePath(L"HKEY_LOCAL_MACHINE\\Name"));
  EXPECT_EQ(JoinRegistryPath(RegistryRootLocalMachine, L"\\SOFTWARE\\Qorvel"), L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Qorvel");
}

TEST(RegistryPaths, SystemKeysAreNeverDeletedWithTheirSubkeys) {
  for (const wchar_t* key : {L"SOFTWARE", L"Software\\Microsoft", L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion",
                             L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall", L"Software\\Classes",
                             L"System\\CurrentControlSet", L"\\"})
    EXPECT_TRUE(IsProtectedRegistryKey(RegistryRootLocalMachine, key)) << key;
  EXPECT_TRUE(IsProtectedRegistryKey(RegistryRootClassesRoot, L"CLSID"));
  EXPECT_TRUE(IsProtectedRegistryKey(RegistryRootCurrentUser, L"Control Panel"));
  for (const wchar_t* key :
       {L"\\SOFTWARE\\Qorvel\\Vindle\\installation",
        L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Qorvel Vindle", L"Software\\Qorvel"})
    EXPECT_FALSE(IsProtectedRegistryKey(RegistryRootLocalMachine, key)) << key;
  EXPECT_FALSE(IsProtectedRegistryKey(RegistryRootClassesRoot, L".vnd"));
}

TEST(UninstallEntry, NamesAndCommandLines) {
  EXPECT_EQ(UninstallKeyName(L"Qorvel Vindle"), L"Qorvel Vindle");
  EXPECT_EQ(UninstallKeyName(L"Qorvel\u00AE Vindle 2.0 (beta)!"), L"Qorvel Vindle 20 beta");
  EXPECT_EQ(UninstallRegistryKey(L"Qorvel Vindle"),
            L"\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Qorvel Vindle");

  EXPECT_EQ(UninstallCommandLine(L"C:\\Program Files\\Qorvel\\Vindle\\Vindle.exe",
                                 L"C:\\Program Files\\Qorvel\\Vindle\\Installation.xml"),
            L"\"C:\\Program Files\\Qorvel\\Vindle\\Vindle.exe\" -uninstall "
            L"\"C:\\Program Files\\Qorvel\\Vindle\\Installation.xml\"")
      << "quoted, so the switch is the first argument";
  EXPECT_EQ(UninstallCommandLine(L"C:\\Q\\Vindle.exe", L"C:\\Q\\Installation.xml"),
            L"C:\\Q\\Vindle.exe -uninstall C:\\Q\\Installation.xml");
  EXPECT_EQ(QuotePathForCommandLine(L"\"C:\\a b\""), L"\"C:\\a b\"") << "never quoted twice";
  // What "cmd /c" would split or expand: every such path is quoted, and its config found again.
  for (const wchar_t* folder : {L"C:\\Tools\\R&D", L"C:\\x^y", L"C:\\100%", L"C:\\Tools (x86)"}) {
    const std::wstring config = std::wstring(folder) + L"\\Installation.xml";
    const std::wstring command = UninstallCommandLine(std::wstring(folder) + L"\\Vindle.exe", config) + L" /silent";
    EXPECT_EQ(command.front(), L'"') << command;
    EXPECT_EQ(ConfigPathOfUninstallCommand(command), config) << command;
  }
  EXPECT_EQ(ConfigPathOfUninstallCommand(L"C:\\Q\\Vindle.exe -UNINSTALL C:\\Q\\Installation.xml"),
            L"C:\\Q\\Installation.xml");
  EXPECT_EQ(ConfigPathOfUninstallCommand(L"C:\\Q\\Vindle.exe -uninstall"), L"");
  EXPECT_EQ(UnquotePath(L"\"C:\\a b\\Installation.xml\""), L"C:\\a b\\Installation.xml");
  EXPECT_EQ(UnquotePath(L"\""), L"\"");

  EXPECT_EQ(RemoveParameters(L"C:\\a b\\Installation.xml"), L"-remove \"C:\\a b\\Installation.xml\"");
  EXPECT_EQ(DeleteAtLogonCommand(L"C:\\Windows\\Temp\\Qorvel {1A}"), L"cmd /c rd /s /q \"C:\\Windows\\Temp\\Qorvel {1A}\"");
  EXPECT_EQ(DefaultConfigPathBeside(L"C:\\Q\\Vindle.exe"), L"C:\\Q\\Installation.xml");
}
