#pragma once
// Numeric edit fields: a right-aligned Windows edit that takes only the characters of a
// number, corrects its text when it is left, and can show a fixed caption such as "px"
// inside the field, with the margins set so that typed text never runs under it.

#include <windows.h>

#include <functional>
#include <optional>
#include <string>

#include "controls/NumberTextRules.h"
#include "gui/SubclassedControls.h"

enum TQorvelNumCaptionAlignment { pcaLeft, pcaRight };

class TQorvelNumEdit : public TSubclassedControl {
 public:
  using TNotifyEvent = std::function<void(TQorvelNumEdit& sender)>;
  using TSpecialKeyEvent = std::function<void(TQorvelNumEdit& sender, WORD key, bool& defaultHandler)>;
  using TKeyEvent = std::function<void(TQorvelNumEdit& sender, WORD key)>;

  TQorvelNumEdit(HWND parent, int left, int top, int width, int height);

  bool Beep() const { return FBeep; }
  void SetBeep(bool value) { FBeep = value; }
  const std::wstring& Caption() const { return FCaption; }
  void SetCaption(std::wstring value);
  TQorvelNumCaptionAlignment CaptionAlignment() const { return FCaptionAlignment; }
  void SetCaptionAlignment(TQorvelNumCaptionAlignment value);
  TQorvelNumEditOptions Options() const { return TextRules().Options; }
  void SetOptions(TQorvelNumEditOptions value);
  char SpecialChar() const { return TextRules().SpecialChar; }
  void SetSpecialChar(char value);
  bool AutoSelect() const { return FAutoSelect; }
  void SetAutoSelect(bool value) { FAutoSelect = value; }
  void SetFont(HFONT font);
  HFONT Font() const { return FFont; }
  void SetEnabled(bool enabled) { ::EnableWindow(Handle(), enabled); }
  void SelectAll() { ::SendMessageW(Handle(), EM_SETSEL, 0, -1); }

  TNotifyEvent OnChange;
  TNotifyEvent OnExit;
  // Reads what the user pastes before the field takes it: the text to put in, or nullopt to
  // refuse the paste (with a beep; the field keeps its text). Unset: the clipboard's text
  // goes in as it is.
  std::function<std::optional<TQorvelPaste>(const std::string& pasted)> OnPasteText;
  TSpecialKeyEvent OnSpecialKey;
  TKeyEvent OnKeyDown;

  // Normalise the text: parse, clamp and write it back.
  virtual void UpdateText() = 0;
  virtual bool IsValid() const = 0;
  virtual bool IsValidChar(char32_t& key) const = 0;
  virtual bool IsDefault() const = 0;
  virtual void UpdateMaxLength() = 0;
  virtual bool IsEmpty() const { return TextUtf8().empty(); }
  virtual bool IsSpecial() const { return TextRules().IsSpecial(TextUtf8()); }
  virtual void ClearText();
  virtual void SetSpecialText();

 protected:
  virtual const TQorvelNumTextRules& TextRules() const = 0;
  virtual TQorvelNumTextRules& TextRules() = 0;
  virtual void RememberValue() = 0;

  std::string TextUtf8() const;
  bool WholeTextSelected() const;
  // Text set by the control itself: no OnChange.
  void SetTextSilently(const std::string& utf8);
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void PasteThroughFilter();
  void ApplyMargins();
  void PaintCaption();
  void RepaintIfCaptioned();
  void CorrectText();
  LRESULT DialogCode(LRESULT code, const MSG* queued);

  bool FBeep = false;
  bool FAutoSelect = true;
  bool FSettingText = false;
  std::wstring FCaption;
  TQorvelNumCaptionAlignment FCaptionAlignment = pcaLeft;
  RECT FCaptionRect{};
  SIZE FClientSize{};
  HFONT FFont = nullptr;
};

// The behaviour both kinds of field share, over their own text rules.
template <typename TRules, typename TValue>
class TQorvelTypedNumEdit : public TQorvelNumEdit {
 public:
  using TQorvelNumEdit::TQorvelNumEdit;

  TValue Value() const { return FRules.Parse(TextUtf8()).Value; }
  void SetValue(TValue value) { SetTextSilently(FRules.Format(FRules.Clamp(value))); }
  TValue MinValue() const { return FRules.MinValue; }
  TValue MaxValue() const { return FRules.MaxValue; }
  void SetMinValue(TValue value) {
    if (value == FRules.MinValue) return;
    FRules.MinValue = value;
    if (FRules.MaxValue < value) FRules.MaxValue = value;
    UpdateMaxLength();
    UpdateText();
  }
  void SetMaxValue(TValue value) {
    if (value == FRules.MaxValue) return;
    FRules.MaxValue = value;
    if (FRules.MinValue > value) FRules.MinValue = value;
    UpdateMaxLength();
    UpdateText();
  }
  // The value differs from the one the field had when it last received the focus.
  bool Modified() const { return Value() != FEnterValue; }
  const TRules& Rules() const { return FRules; }

  void UpdateText() override {
    if (const auto text = NormalizedText(FRules, TextUtf8())) SetTextSilently(*text);
  }
  bool IsValid() const override { return FRules.IsValid(TextUtf8()); }
  bool IsValidChar(char32_t& key) const override { return FRules.AcceptsChar(key, IsEmpty() || WholeTextSelected()); }
  bool IsDefault() const override { return FRules.IsDefault(TextUtf8()); }

 protected:
  const TQorvelNumTextRules& TextRules() const override { return FRules; }
  TQorvelNumTextRules& TextRules() override { return FRules; }
  void RememberValue() override { FEnterValue = Value(); }

  TRules FRules;
  TValue FEnterValue{};
};

class TQorvelIntEdit : public TQorvelTypedNumEdit<TQorvelIntRules, int> {
 public:
  TQorvelIntEdit(HWND parent, int left, int top, int width, int height);
  int Base() const { return FRules.Base; }
  void SetBase(int value);
  void UpdateMaxLength() override;
};

class TQorvelFloatEdit : public TQorvelTypedNumEdit<TQorvelFloatRules, double> {
 public:
  TQorvelFloatEdit(HWND parent, int left, int top, int width, int height);
  int Digits() const { return FRules.Digits; }
  void SetDigits(int value);
  void UpdateMaxLength() override;
};
