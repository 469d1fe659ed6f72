#include "install/UninstallConfiguration.h"

#include <algorithm>
#include <charconv>
#include <iterator>
#include <string_view>
#include <memory>
#include <type_traits>

#include "settings/ByteStreams.h"
#include "settings/QorvelXml.h"

// ---- Lists ---------------------------------------------------------------------------------

namespace {

wchar_t FoldCase(wchar_t c) {
  if (c >= L'A' && c <= L'Z') return static_cast<wchar_t>(c + 32);
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return static_cast<wchar_t>(c + 32);
  return c;
}

}  // namespace

int ComparePathsIgnoringCase(const std::wstring& a, const std::wstring& b) {
  const std::size_t common = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < common; ++i) {
    const wchar_t x = FoldCase(a[i]);
    const wchar_t y = FoldCase(b[i]);
    if (x != y) return x < y ? -1 : 1;
  }
  return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

bool TQorvelUninstallList::Add(const std::wstring& path, std::optional<TQorvelUninstallInformation> information) {
  const auto place = std::lower_bound(
      FEntries.begin(), FEntries.end(), path,
      [](const TEntry& entry, const std::wstring& p) { return ComparePathsIgnoringCase(entry.Path, p) < 0; });
  if (place != FEntries.end() && ComparePathsIgnoringCase(place->Path, path) == 0) return false;
  FEntries.insert(place, TEntry{path, std::move(information)});
  return true;
}

void TQorvelUninstallList::AddAll(std::vector<TEntry> entries) {
  // One sort instead of an insertion each: a long file in reverse order stays fast.
  const auto before = [](const TEntry& a, const TEntry& b) { return ComparePathsIgnoringCase(a.Path, b.Path) < 0; };
  std::stable_sort(entries.begin(), entries.end(), before);
  std::vector<TEntry> merged;
  merged.reserve(FEntries.size() + entries.size());
  // Entries already listed come first among equals, so the first of each path stays.
  std::merge(std::make_move_iterator(FEntries.begin()), std::make_move_iterator(FEntries.end()),
             std::make_move_iterator(entries.begin()), std::make_move_iterator(entries.end()),
             std::back_inserter(merged), before);
  const auto same = [](const TEntry& a, const TEntry& b) { return ComparePathsIgnoringCase(a.Path, b.Path) == 0; };
  merged.erase(std::unique(merged.begin(), merged.end(), same), merged.end());
  FEntries = std::move(merged);
}

bool TQorvelUninstallList::Contains(const std::wstring& path) const {
  return std::any_of(FEntries.begin(), FEntries.end(),
                     [&](const TEntry& entry) { return ComparePathsIgnoringCase(entry.Path, path) == 0; });
}

// ---- Text conversion ---------------------------------------------------------------------

namespace {

// std::wstring is UTF-16 on Windows and UTF-32 on the host; the XML layer speaks UTF-16.
std::u16string ToUtf16(const std::wstring& text) {
  std::u16string result;
  result.reserve(text.size());
  for (const wchar_t c : text) {
    const auto code = static_cast<std::uint32_t>(static_cast<std::make_unsigned_t<wchar_t>>(c));
    if (code > 0xFFFF) {
      const std::uint32_t v = code - 0x10000;
      result += static_cast<char16_t>(0xD800 + (v >> 10));
      result += static_cast<char16_t>(0xDC00 + (v & 0x3FF));
    } else {
      result += static_cast<char16_t>(code);
    }
  }
  return result;
}

std::wstring FromUtf16(const std::u16string& text) {
  std::wstring result;
  result.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    if constexpr (sizeof(wchar_t) == 4) {
      if (c >= 0xD800 && c < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] < 0xE000) {
        result += static_cast<wchar_t>(0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00));
        ++i;
        continue;
      }
    }
    result += static_cast<wchar_t>(c);
  }
  return result;
}

std::string Escaped(const std::wstring& text) { return EscapeXml(ToUtf16(text)); }

// ---- Writing -----------------------------------------------------------------------------

const char* const ActionWords[] = {"ignore", "remove", "restore"};
const char* const LevelWords[] = {"optional", "required"};
const char* const ValueTypeWords[] = {"string", "expandstring", "integer"};

template <std::size_t N>
const char* WordOf(const char* const (&words)[N], unsigned index) {
  return index < N ? words[index] : words[0];
}

std::string Attribute(const char* name, const std::string& value) {
  return std::string(" ") + name + "=\"" + value + "\"";
}

std::string ItemLine(const TQorvelUninstallList::TEntry& entry) {
  std::string line = "\t\t<item";
  if (const auto& info = entry.Information) {
    line += Attribute("uninstall", WordOf(ActionWords, info->Action));
    if (info->Action != uaIgnore) line += Attribute("level", WordOf(LevelWords, info->Level));
    if (info->Action == uaRemove && info->Cascade > 0) line += Attribute("cascade", std::to_string(info->Cascade));
    if (info->Action == uaRestore) {
      line += Attribute("type", WordOf(ValueTypeWords, info->ValueType));
      line += Attribute("value", Escaped(info->Value));
    }
  }
  return line + ">" + Escaped(entry.Path) + "</item>";
}

void WriteSection(TQorvelStream& stream, const char* name, const TQorvelUninstallList& list) {
  if (list.Empty()) return;
  stream.WriteLine(std::string("\t<") + name + ">");
  for (const auto& entry : list) stream.WriteLine(ItemLine(entry));
  stream.WriteLine(std::string("\t</") + name + ">");
}

}  // namespace

void WriteUninstallConfiguration(TQorvelStream& stream, const TQorvelUninstallConfiguration& configuration) {
  stream.WriteLine("<installation>");
  stream.WriteLine("\t<product>" + Escaped(configuration.ProductName) + "</product>");
  WriteSection(stream, "folders", configuration.Folders);
  WriteSection(stream, "files", configuration.Files);
  WriteSection(stream, "registrykeys", configuration.RegistryKeys);
  WriteSection(stream, "registryvalues", configuration.RegistryValues);
  stream.WriteLine("</installation>");
}

// ---- Reading -----------------------------------------------------------------------------

namespace {

const char CorruptPrefix[] = "Uninstall configuration file corrupt";

class TConfigurationReader {
 public:
  explicit TConfigurationReader(TQorvelStream& stream) : FXml(stream) {}

  void Read(TQorvelUninstallConfiguration& configuration) {
    // An empty, foreign or cut-off file lists nothing to trust: removing "everything it
    // lists" would then remove nothing and still look like success.
    Need();
    // Editors may begin the file with a UTF-8 byte order mark (read byte by byte here).
    if (const auto* content = dynamic_cast<const TQorvelXmlContent*>(FToken.get());
        content && content->Text().rfind(u"\u00EF\u00BB\u00BF", 0) == 0 &&
        content->Text().find_first_not_of(u" \t\r\n", 3) == std::u16string::npos)
      Need();
    if (!IsStartTag("installation")) Fail(std::string(CorruptPrefix) + " (line " + Line() + ").");
    if (StartTag()->EmptyElement()) return;
    for (Need(); !EndTag(); Need()) {
      const TQorvelXmlStartTag* tag = StartTag();
      if (!tag) continue;  // stray text between sections carries nothing
      const std::u16string& name = tag->Name();
      if (name == u"product")
        configuration.ProductName = ReadText("product");
      else if (name == u"folders")
        ReadSection("folders", configuration.Folders);
      else if (name == u"files")
        ReadSection("files", configuration.Files);
      else if (name == u"registrykeys")
        ReadSection("registrykeys", configuration.RegistryKeys);
      else if (name == u"registryvalues")
        ReadSection("registryvalues", configuration.RegistryValues);
      else
        Fail(std::string(CorruptPrefix) + ". Unknown <" + QorvelNarrow(name) + "> tag in line " + Line() + ".");
    }
    if (!IsEndTag("installation")) Expected("installation");
  }

 private:
  static std::string QorvelNarrow(const std::u16string& text) {
    std::string result;
    for (const char16_t c : text) result += c < 0x80 ? static_cast<char>(c) : '?';
    return result;
  }

  std::string Line() const { return std::to_string(FXml.LineNumber()); }
  [[noreturn]] void Fail(const std::string& message) const { throw EQorvelXmlError(message, FXml.LineNumber()); }
  [[noreturn]] void Expected(const char* endTag) const {
    Fail(std::string(CorruptPrefix) + ". </" + endTag + "> expected in line " + Line() + ".");
  }

  // The next tag or text; a missing one is an error here.
  void Need() {
    if (!NextSkippingComments()) Fail(std::string(CorruptPrefix) + " (line " + Line() + ").");
  }
  bool NextSkippingComments() {
    while (FXml.Next(FToken))
      if (!dynamic_cast<TQorvelXmlComment*>(FToken.get())) return true;
    return false;
  }

  const TQorvelXmlStartTag* StartTag() const { return dynamic_cast<const TQorvelXmlStartTag*>(FToken.get()); }
  const TQorvelXmlEndTag* EndTag() const { return dynamic_cast<const TQorvelXmlEndTag*>(FToken.get()); }
  bool IsStartTag(const char* name) const {
    const auto* tag = StartTag();
    return tag && tag->Name() == ToUtf16(std::wstring(name, name + std::char_traits<char>::length(name)));
  }
  bool IsEndTag(const char* name) const {
    const auto* tag = EndTag();
    return tag && tag->Name() == ToUtf16(std::wstring(name, name + std::char_traits<char>::length(name)));
  }

  // The text of the current start tag's element up to its end tag, trimmed.
  std::wstring ReadText(const char* name) {
    if (StartTag()->EmptyElement()) return {};
    Need();
    std::wstring text;
    if (const auto* content = dynamic_cast<const TQorvelXmlContent*>(FToken.get())) {
      text = Trimmed(FromUtf16(content->Text()));
      Need();
    }
    if (!IsEndTag(name)) Expected(name);
    return text;
  }

  static std::wstring Trimmed(const std::wstring& text) {
    const auto isSpace = [](wchar_t c) { return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n'; };
    std::size_t first = 0, last = text.size();
    while (first < last && isSpace(text[first])) ++first;
    while (last > first && isSpace(text[last - 1])) --last;
    return text.substr(first, last - first);
  }

  void ReadSection(const char* name, TQorvelUninstallList& list) {
    if (StartTag()->EmptyElement()) return;
    std::vector<TQorvelUninstallList::TEntry> entries;
    for (;;) {
      Need();
      if (IsStartTag("item")) {
        ReadItem(entries);
        continue;
      }
      if (!IsEndTag(name)) Expected(name);
      list.AddAll(std::move(entries));
      return;
    }
  }

  void ReadItem(std::vector<TQorvelUninstallList::TEntry>& entries) {
    const TQorvelXmlAttributeList attributes = StartTag()->Attributes();
    std::wstring path = ReadText("item");
    // The system cuts a path at a NUL and would act on another object than the one listed.
    if (path.empty() || path.find(L'\0') != std::wstring::npos) return;
    entries.push_back({std::move(path), Information(attributes)});
  }

  static TQorvelUninstallInformation Information(const TQorvelXmlAttributeList& attributes) {
    TQorvelUninstallInformation info;
    const std::u16string action = attributes.Value(u"uninstall");
    info.Action = action == u"ignore" ? uaIgnore : action == u"restore" ? uaRestore : uaRemove;
    info.Level = attributes.Value(u"level") == u"optional" ? ulOptional : ulRequired;
    info.Cascade = Number(attributes.Value(u"cascade"));
    const std::u16string type = attributes.Value(u"type");
    info.ValueType = type == u"expandstring" ? uvtExpandString : type == u"integer" ? uvtInteger : uvtString;
    info.Value = FromUtf16(attributes.Value(u"value"));
    // Keep only what the file can carry for this action, so that writing what was read and
    // reading it again gives the same entry.
    if (info.Action != uaRemove || info.Cascade < 0) info.Cascade = 0;
    if (info.Action == uaIgnore) info.Level = ulRequired;
    if (info.Action != uaRestore) {
      info.Value.clear();
      info.ValueType = uvtString;
    }
    return info;
  }

  static std::int32_t Number(const std::u16string& text) {
    std::string narrow;
    for (const char16_t c : text) {
      if (c > 0x7F) return 0;
      narrow += static_cast<char>(c);
    }
    std::int32_t value = 0;
    const auto [end, error] = std::from_chars(narrow.data(), narrow.data() + narrow.size(), value);
    return error == std::errc() && end == narrow.data() + narrow.size() ? value : 0;
  }

  TQorvelXmlReader FXml;
  std::unique_ptr<TQorvelXmlElement> FToken;
};

}  // namespace

void ReadUninstallConfiguration(TQorvelStream& stream, TQorvelUninstallConfiguration& configuration) {
  try {
    TConfigurationReader(stream).Read(configuration);
  } catch (const EQorvelXmlError& error) {
    // The tokenizer's own words ("XML content is not finished properly.") mean nothing to
    // whoever reads the uninstaller's message.
    const std::string_view message = error.what();
    if (message.rfind(CorruptPrefix, 0) == 0) throw;
    const std::string line = std::to_string(error.LineNumber());
    if (message == "XML content is not finished properly.")
      throw EQorvelXmlError(std::string(CorruptPrefix) + " (line " + line + ").", error.LineNumber());
    throw EQorvelXmlError(std::string(CorruptPrefix) + ". " + std::string(message.substr(0, message.size() - 1)) +
                              " in line " + line + ".",
                          error.LineNumber());
  }
}

// ---- Registry paths ------------------------------------------------------------------------

std::optional<TQorvelRegistryPath> SplitRegistryKeyPath(const std::wstring& path) {
  const std::size_t separator = path.find(L'\\');
  if (separator == std::wstring::npos) return std::nullopt;
  TQorvelRegistryPath result;
  result.Root = path.substr(0, separator);
  std::size_t start = separator;
  while (start < path.size() && path[start] == L'\\') ++start;
  std::size_t end = path.size();
  while (end > start && path[end - 1] == L'\\') --end;
  result.KeyPath = path.substr(start, end - start);
  if (result.Root.empty() || result.KeyPath.empty()) return std::nullopt;
  return result;
}

std::optional<TQorvelRegistryPath> SplitRegistryValuePath(const std::wstring& path) {
  const std::size_t last = path.rfind(L'\\');
  if (last == std::wstring::npos) return std::nullopt;
  auto key = SplitRegistryKeyPath(path.substr(0, last));
  if (!key) return std::nullopt;
  key->ValueName = path.substr(last + 1);
  return key;
}

namespace {

std::vector<std::wstring> KeyComponents(const std::wstring& keyPath) {
  std::vector<std::wstring> components;
  std::wstring current;
  for (const wchar_t c : keyPath) {
    if (c != L'\\') {
      current += c;
    } else if (!current.empty()) {
      components.push_back(current);
      current.clear();
    }
  }
  if (!current.empty()) components.push_back(current);
  return components;
}

// Whether `key` is `system` or one of its parents.
bool Contains(const std::vector<std::wstring>& key, const std::vector<std::wstring>& system) {
  if (key.size() > system.size()) return false;
  for (std::size_t i = 0; i < key.size(); ++i)
    if (ComparePathsIgnoringCase(key[i], system[i]) != 0) return false;
  return true;
}

}  // namespace

bool IsProtectedRegistryKey(const std::wstring& root, const std::wstring& keyPath) {
  static const wchar_t* const SystemKeys[] = {
      L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall",
      L"Software\\Microsoft\\Windows\\CurrentVersion\\Run",
      L"Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce",
      L"Software\\Microsoft\\Windows NT\\CurrentVersion",
      L"Software\\Classes\\CLSID",
      L"Software\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion",
      L"Software\\Policies\\Microsoft",
      L"System\\CurrentControlSet\\Control",
      L"Control Panel\\Desktop",
  };
  static const wchar_t* const ClassKeys[] = {L"CLSID",  L"Interface", L"TypeLib", L"*",    L"Directory",
                                             L"Folder", L"exefile",   L".exe",    L"AppID"};
  const std::vector<std::wstring> key = KeyComponents(keyPath);
  if (key.empty()) return true;
  const bool classes = ComparePathsIgnoringCase(root, RegistryRootClassesRoot) == 0;
  if (!classes && key.size() < 2) return true;
  for (const wchar_t* system : classes ? ClassKeys : SystemKeys)
    if (Contains(key, KeyComponents(system))) return true;
  return false;
}

std::wstring JoinRegistryPath(const std::wstring& root, const std::wstring& keyPath) {
  std::size_t start = 0;
  while (start < keyPath.size() && keyPath[start] == L'\\') ++start;
  return root + L'\\' + keyPath.substr(start);
}

// ---- Uninstall entry ---------------------------------------------------------------------

std::wstring UninstallKeyName(const std::wstring& longProductName) {
  std::wstring result;
  for (const wchar_t c : longProductName)
    if ((c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z') || (c >= L'0' && c <= L'9') || c == L' ') result += c;
  return result;
}

std::wstring UninstallRegistryKey(const std::wstring& uninstallKeyName) {
  return L"\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\" + uninstallKeyName;
}

std::wstring QuotePathForCommandLine(const std::wstring& path) {
  // A space splits the command; "&^%()" mean something to the command interpreter, which
  // deployment tools often run the command through ("cmd /c").
  if (path.find_first_of(L" &^%()") == std::wstring::npos ||
      (path.size() >= 2 && path.front() == L'"' && path.back() == L'"'))
    return path;
  return L'"' + path + L'"';
}

std::wstring UnquotePath(const std::wstring& path) {
  if (path.size() >= 2 && path.front() == L'"' && path.back() == L'"') return path.substr(1, path.size() - 2);
  return path;
}

std::wstring UninstallCommandLine(const std::wstring& exePath, const std::wstring& configPath) {
  return QuotePathForCommandLine(exePath) + L" -uninstall " + QuotePathForCommandLine(configPath);
}

std::wstring ConfigPathOfUninstallCommand(const std::wstring& command) {
  // The words of the command, split at spaces outside double quotes, quotes dropped.
  std::vector<std::wstring> words(1);
  bool quoted = false;
  for (const wchar_t c : command) {
    if (c == L'"')
      quoted = !quoted;
    else if (c == L' ' && !quoted)
      words.emplace_back();
    else
      words.back() += c;
  }
  for (std::size_t i = 1; i + 1 < words.size(); ++i)
    if (ComparePathsIgnoringCase(words[i], L"-uninstall") == 0) return words[i + 1];
  return {};
}

std::wstring RemoveParameters(const std::wstring& configPath) { return L"-remove " + QuotePathForCommandLine(configPath); }

std::wstring DeleteAtLogonCommand(const std::wstring& temporaryFolder) {
  return L"cmd /c rd /s /q " + QuotePathForCommandLine(temporaryFolder);
}

std::wstring DefaultConfigPathBeside(const std::wstring& exePath) {
  const std::size_t separator = exePath.find_last_of(L"\\/");
  const std::wstring folder = separator == std::wstring::npos ? std::wstring() : exePath.substr(0, separator + 1);
  return folder + UninstallConfigFileName;
}
