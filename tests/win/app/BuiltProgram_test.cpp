// What Windows reads from Vindle.exe before running a line of it: the icon sizes the shell
// asks for at every scaling, and the header flags its own linkers set.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "support/HelperPrograms.h"

namespace {

#pragma pack(push, 2)
struct TIconGroupEntry {
  BYTE Width, Height, Colors, Reserved;
  WORD Planes, BitCount;
  DWORD Bytes;
  WORD Id;
};
#pragma pack(pop)

}  // namespace

TEST(BuiltProgram, IconHasEverySizeTheShellAsksForAndAPngAt256) {
  const HMODULE program = ::LoadLibraryExW(BuiltProgramFile(L"Vindle.exe").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_TRUE(program);
  const auto resource = [&](const wchar_t* name, const wchar_t* type) {
    const HRSRC found = ::FindResourceW(program, name, type);
    const auto* bytes = found ? static_cast<const BYTE*>(::LockResource(::LoadResource(program, found))) : nullptr;
    return bytes ? std::vector<BYTE>(bytes, bytes + ::SizeofResource(program, found)) : std::vector<BYTE>();
  };
  const std::vector<BYTE> group = resource(L"MAINICON", RT_GROUP_ICON);
  ASSERT_GE(group.size(), 6u);
  WORD count = 0;
  std::memcpy(&count, group.data() + 4, sizeof(count));
  ASSERT_EQ(group.size(), 6 + count * sizeof(TIconGroupEntry));
  std::vector<int> sizes;
  for (WORD i = 0; i < count; ++i) {
    TIconGroupEntry entry{};
    std::memcpy(&entry, group.data() + 6 + i * sizeof(entry), sizeof(entry));
    const int size = entry.Width == 0 ? 256 : entry.Width;
    sizes.push_back(size);
    EXPECT_EQ(entry.BitCount, 32) << size;
    const std::vector<BYTE> image = resource(MAKEINTRESOURCEW(entry.Id), RT_ICON);
    const bool png = image.size() > 8 && std::memcmp(image.data(), "\x89PNG\r\n\x1a\n", 8) == 0;
    EXPECT_EQ(png, size == 256) << "only the largest image is compressed, at " << size;
  }
  EXPECT_EQ(sizes, (std::vector<int>{16, 20, 24, 32, 40, 48, 64, 256}));
  ::FreeLibrary(program);
}

TEST(BuiltProgram, HeaderAsWindowsLinkersWriteIt) {
  std::ifstream file(std::filesystem::path(BuiltProgramFile(L"Vindle.exe")), std::ios::binary);
  const std::vector<char> bytes((std::istreambuf_iterator<char>(file)), {});
  ASSERT_GT(bytes.size(), 1024u);
  LONG offset = 0;
  std::memcpy(&offset, bytes.data() + offsetof(IMAGE_DOS_HEADER, e_lfanew), sizeof(offset));
  IMAGE_NT_HEADERS32 headers{};
  std::memcpy(&headers, bytes.data() + offset, sizeof(headers));
  EXPECT_EQ(headers.OptionalHeader.MajorSubsystemVersion, 6);
  EXPECT_EQ(headers.OptionalHeader.MinorSubsystemVersion, 0);
  const WORD flags = headers.OptionalHeader.DllCharacteristics;
  for (const WORD flag : {IMAGE_DLLCHARACTERISTICS_TERMINAL_SERVER_AWARE, IMAGE_DLLCHARACTERISTICS_DYNAMIC_BASE,
                          IMAGE_DLLCHARACTERISTICS_NX_COMPAT})
    EXPECT_TRUE(flags & flag) << std::hex << flag;
}
