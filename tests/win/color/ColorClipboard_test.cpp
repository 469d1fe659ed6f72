// Colours through the real clipboard: the three formats a copy leaves, and which of them a
// paste reads when other programs left something else.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>

#include "color/win32/QorvelColorClipboard.h"
#include "gui/Handles.h"

namespace {

constexpr TColor kButtonFace = 0x8000000Fu;  // a system colour

class TClipboardSession {
 public:
  TClipboardSession() : FOpen(::OpenClipboard(nullptr) != FALSE) {}
  ~TClipboardSession() {
    if (FOpen) ::CloseClipboard();
  }
  bool Open() const { return FOpen; }

 private:
  bool FOpen;
};

// Replaces the clipboard with the given formats, as another program would leave them.
void PutRaw(std::initializer_list<std::pair<UINT, std::string>> formats) {
  TClipboardSession session;
  ASSERT_TRUE(session.Open());
  ASSERT_TRUE(::EmptyClipboard());
  for (const auto& [format, bytes] : formats) {
    HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, bytes.size());
    ASSERT_NE(memory, nullptr);
    std::memcpy(::GlobalLock(memory), bytes.data(), bytes.size());
    ::GlobalUnlock(memory);
    ASSERT_NE(::SetClipboardData(format, memory), nullptr);
  }
}

std::string Text(const char* text) { return std::string(text, std::strlen(text) + 1); }
std::string Value(TColor value) { return std::string(reinterpret_cast<const char*>(&value), sizeof value); }

// The bytes of one format now on the clipboard, or nothing.
std::string Read(UINT format) {
  TClipboardSession session;
  if (!session.Open()) return {};
  HGLOBAL memory = ::GetClipboardData(format);
  if (!memory) return {};
  const char* data = static_cast<const char*>(::GlobalLock(memory));
  std::string bytes(data, ::GlobalSize(memory));
  ::GlobalUnlock(memory);
  return bytes;
}

TColor ReadValue(UINT format) {
  const std::string bytes = Read(format);
  TColor value = 0;
  if (bytes.size() >= sizeof value) std::memcpy(&value, bytes.data(), sizeof value);
  return value;
}

}  // namespace

TEST(ColorClipboard, FormatsAreRegisteredByName) {
  TQorvelColorClipboard& clipboard = ColorClipboard();
  EXPECT_EQ(clipboard.SystemColorFormat(), ::RegisterClipboardFormatW(L"System Color"));
  EXPECT_EQ(clipboard.RgbaColorFormat(), ::RegisterClipboardFormatW(L"RGBA Color"));
  EXPECT_NE(clipboard.SystemColorFormat(), clipboard.RgbaColorFormat());
}

TEST(ColorClipboard, SystemColourTravelsAsItselfWithItsResolvedValueBeside) {
  TQorvelColorClipboard& clipboard = ColorClipboard();
  ASSERT_TRUE(clipboard.CopyColor(kButtonFace));
  const TColor resolved = ::GetSysColor(COLOR_BTNFACE);
  EXPECT_EQ(ReadValue(clipboard.SystemColorFormat()), kButtonFace);
  EXPECT_EQ(ReadValue(clipboard.RgbaColorFormat()), resolved | 0xFF000000u);
  char hex[8];
  std::snprintf(hex, sizeof hex, "%02X%02X%02X", GetRValue(resolved), GetGValue(resolved), GetBValue(resolved));
  EXPECT_EQ(Read(CF_TEXT).substr(0, 7), Text(hex));

  TColor pasted = 0;
  ASSERT_TRUE(clipboard.PasteColor(pasted));
  EXPECT_EQ(pasted, kButtonFace);
  EXPECT_TRUE(clipboard.CanPasteColor());
}

TEST(ColorClipboard, PureRedIsTheTextFF0000WithATerminatingZero) {
  ASSERT_TRUE(ColorClipboard().CopyColor(0x0000FF));
  const std::string text = Read(CF_TEXT);
  ASSERT_GE(text.size(), 7u);
  EXPECT_EQ(text.substr(0, 7), Text("FF0000"));
}

TEST(ColorClipboard, SixHexDigitsPasteInEitherCase) {
  TQorvelColorClipboard& clipboard = ColorClipboard();
  PutRaw({{CF_TEXT, Text("00ff00")}});
  TColor pasted = 0;
  ASSERT_TRUE(clipboard.PasteColor(pasted));
  EXPECT_EQ(pasted, 0x00FF00u);
  EXPECT_TRUE(clipboard.CanPasteColor());
  PutRaw({{CF_TEXT, Text("1a2B3c")}});
  ASSERT_TRUE(clipboard.PasteColor(pasted));
  EXPECT_EQ(pasted, 0x3C2B1Au);
}

TEST(ColorClipboard, OtherTextsAreNotColoursAndLeaveTheTargetAlone) {
  TQorvelColorClipboard& clipboard = ColorClipboard();
  for (const char* text : {"#00FF00", "00FF0", "00FG00", "00FF00\r\n", "hello world"}) {
    PutRaw({{CF_TEXT, Text(text)}});
    TColor pasted = 0x123456;
    EXPECT_FALSE(clipboard.PasteColor(pasted)) << text;
    EXPECT_EQ(pasted, 0x123456u) << text;
    EXPECT_FALSE(clipboard.CanPasteColor()) << text;
  }
  PutRaw({});
  TColor pasted = 0;
  EXPECT_FALSE(clipboard.PasteColor(pasted));
  EXPECT_FALSE(clipboard.CanPasteColor());
}

TEST(ColorClipboard, RgbaAlonePastesWithoutItsAlpha) {
  TQorvelColorClipboard& clipboard = ColorClipboard();
  for (TColor alpha : {0x00u, 0x42u, 0x80u, 0xFFu}) {
    PutRaw({{clipboard.RgbaColorFormat(), Value((alpha << 24) | 0x00336699u)}});
    TColor pasted = 0;
    ASSERT_TRUE(clipboard.PasteColor(pasted));
    EXPECT_EQ(pasted, 0x00336699u) << alpha;
    EXPECT_TRUE(clipboard.CanPasteColor());
  }
}

TEST(ColorClipboard, UnreadableFormatsGiveWayToTheNext) {
  TQorvelColorClipboard& clipboard = ColorClipboard();
  // A "System Color" too short to hold a colour, and a good text behind it.
  PutRaw({{clipboard.SystemColorFormat(), std::string("\x01\x02", 2)}, {CF_TEXT, Text("0000FF")}});
  TColor pasted = 0;
  ASSERT_TRUE(clipboard.PasteColor(pasted));
  EXPECT_EQ(pasted, 0xFF0000u);
  // "System Color" wins over the others when it is readable.
  PutRaw({{clipboard.SystemColorFormat(), Value(kButtonFace)},
          {clipboard.RgbaColorFormat(), Value(0xFF000000u)},
          {CF_TEXT, Text("FFFFFF")}});
  ASSERT_TRUE(clipboard.PasteColor(pasted));
  EXPECT_EQ(pasted, kButtonFace);
}
