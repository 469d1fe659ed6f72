#include "controls/win32/QorvelNumEdits.h"

#include <algorithm>
#include <utility>

#include "controls/win32/QorvelControlsCommon.h"
#include "gui/Application.h"
#include "gui/Clipboard.h"
#include "gui/Dpi.h"
#include "gui/Handles.h"

namespace {
RECT ClientRectOf(HWND window) {
  RECT r{};
  ::GetClientRect(window, &r);
  return r;
}
}  // namespace

TQorvelNumEdit::TQorvelNumEdit(HWND parent, int left, int top, int width, int height) {
  CreateControl(L"EDIT", WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_RIGHT | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, parent, left,
                top, width, height);
  SetFont(DefaultControlFont());
}

void TQorvelNumEdit::SetFont(HFONT font) {
  FFont = font;
  ::SendMessageW(Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
  // The formatting rectangle without margins is where the caption goes.
  ::SendMessageW(Handle(), EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, 0);
  ::SendMessageW(Handle(), EM_GETRECT, 0, reinterpret_cast<LPARAM>(&FCaptionRect));
  const RECT client = ClientRectOf(Handle());
  FClientSize = {client.right, client.bottom};
  ApplyMargins();
}

std::string TQorvelNumEdit::TextUtf8() const { return Narrow(Text()); }

void TQorvelNumEdit::SetTextSilently(const std::string& utf8) {
  const bool wasSetting = std::exchange(FSettingText, true);
  ::SetWindowTextW(Handle(), Widen(utf8).c_str());
  FSettingText = wasSetting;
}

void TQorvelNumEdit::ClearText() {
  if (TextRules().Has(pneEmptyAllowed)) SetTextSilently("");
}

void TQorvelNumEdit::SetSpecialText() {
  if (TextRules().Has(pneSpecialAllowed)) SetTextSilently(std::string(1, TextRules().SpecialChar));
}

void TQorvelNumEdit::SetCaption(std::wstring value) {
  FCaption = std::move(value);
  ApplyMargins();
  ::InvalidateRect(Handle(), nullptr, TRUE);
}

void TQorvelNumEdit::SetCaptionAlignment(TQorvelNumCaptionAlignment value) {
  FCaptionAlignment = value;
  ApplyMargins();
  ::InvalidateRect(Handle(), nullptr, TRUE);
}

void TQorvelNumEdit::SetOptions(TQorvelNumEditOptions value) {
  TQorvelNumEditOptions& options = TextRules().Options;
  if (value == options) return;
  if ((options & pneSpecialAllowed) && !(value & pneSpecialAllowed) && IsSpecial()) SetTextSilently("");
  if (!(options & pneEmptyAllowed) && (value & pneEmptyAllowed) && IsDefault()) SetTextSilently("");
  options = value;
  UpdateMaxLength();
  UpdateText();
}

void TQorvelNumEdit::SetSpecialChar(char value) {
  if (IsSpecial()) SetTextSilently(std::string(1, value));
  TextRules().SpecialChar = value;
}

void TQorvelNumEdit::ApplyMargins() {
  // Two pixels at 100 %, grown with the font so that a larger unit keeps its distance.
  const int width = FCaption.empty() ? 0 : TextExtent(FFont, FCaption).cx + ScaleForDpi(2, WindowDpi(Handle()));
  const int left = FCaptionAlignment == pcaLeft ? width : 0;
  const int right = FCaptionAlignment == pcaRight ? width : 0;
  ::SendMessageW(Handle(), EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(left, right));
}

bool TQorvelNumEdit::WholeTextSelected() const {
  DWORD start = 0, end = 0;
  ::SendMessageW(Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  return start == 0 && end >= static_cast<DWORD>(::GetWindowTextLengthW(Handle()));
}

void TQorvelNumEdit::PaintCaption() {
  if (FCaption.empty()) return;
  const TWindowDC window(Handle());
  HDC dc = window.Get();
  const bool enabled = ::IsWindowEnabled(Handle());
  const bool readOnly = (::GetWindowLongW(Handle(), GWL_STYLE) & ES_READONLY) != 0;
  const TSelectScope font(dc, FFont);
  ::SetTextColor(dc, ::GetSysColor(enabled ? COLOR_WINDOWTEXT : COLOR_GRAYTEXT));
  ::SetBkColor(dc, ::GetSysColor(enabled && !readOnly ? COLOR_WINDOW : COLOR_BTNFACE));
  ::SetBkMode(dc, OPAQUE);
  const SIZE extent = TextExtent(dc, FCaption);
  const int x = FCaptionAlignment == pcaLeft ? FCaptionRect.left : FCaptionRect.right - extent.cx;
  ::TextOutW(dc, x, FCaptionRect.top, FCaption.c_str(), static_cast<int>(FCaption.size()));
}

void TQorvelNumEdit::PasteThroughFilter() {
  if (!::IsClipboardFormatAvailable(CF_UNICODETEXT)) return;
  const std::optional<std::wstring> pasted = ClipboardText(Handle(), PastedNumberTextLimit);
  const std::optional<TQorvelPaste> paste = pasted ? OnPasteText(Narrow(*pasted)) : std::nullopt;
  if (!paste) {
    ::MessageBeep(MB_OK);
    return;
  }
  if (paste->WholeText) SelectAll();
  const std::wstring text = Widen(paste->Text);
  ::SendMessageW(Handle(), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text.c_str()));
}

void TQorvelNumEdit::RepaintIfCaptioned() {
  if (!FCaption.empty()) ::InvalidateRect(Handle(), nullptr, FALSE);
}

void TQorvelNumEdit::CorrectText() {
  // A wrong text is corrected; the correction is a change the owner must hear of.
  const bool valid = IsValid();
  UpdateText();
  if (!valid && OnChange) OnChange(*this);
}

LRESULT TQorvelNumEdit::DialogCode(LRESULT code, const MSG* queued) {
  // The owner may take Tab, Enter, Esc and the arrows before the dialog manager does.
  if (!OnSpecialKey || !queued || queued->message != WM_KEYDOWN) return code;
  const WORD key = static_cast<WORD>(queued->wParam);
  if (key == VK_TAB || key == VK_RETURN || key == VK_ESCAPE || (key >= VK_LEFT && key <= VK_DOWN)) {
    bool defaultHandler = true;
    OnSpecialKey(*this, key, defaultHandler);
    if (!defaultHandler) code |= DLGC_WANTALLKEYS;
  }
  return code;
}

LRESULT TQorvelNumEdit::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CHAR: {
      char32_t key = static_cast<char32_t>(wParam);  // the check may translate the key
      if (!IsValidChar(key)) {
        if (FBeep) ::MessageBeep(MB_OK);
        return 0;
      }
      return DefaultHandler(message, static_cast<WPARAM>(key), lParam);
    }
    case WM_PASTE:
    case WM_CUT: {
      LRESULT result = 0;
      if (message == WM_PASTE && OnPasteText)
        PasteThroughFilter();
      else
        result = DefaultHandler(message, wParam, lParam);
      // As when the field is left: a corrected text is a change the owner must hear of,
      // or the field would show a value its owner never saw.
      CorrectText();
      const int length = ::GetWindowTextLengthW(Handle());
      ::SendMessageW(Handle(), EM_SETSEL, static_cast<WPARAM>(length), length);
      return result;
    }
    case WM_SETFOCUS: {
      const LRESULT result = DefaultHandler(message, wParam, lParam);
      RememberValue();
      const bool mouseDown = (::GetKeyState(VK_LBUTTON) | ::GetKeyState(VK_RBUTTON)) & 0x8000;
      if (FAutoSelect && !mouseDown) SelectAll();
      RepaintIfCaptioned();
      return result;
    }
    case WM_KILLFOCUS: {
      const LRESULT result = DefaultHandler(message, wParam, lParam);
      CorrectText();
      RepaintIfCaptioned();
      if (OnExit) OnExit(*this);
      return result;
    }
    case WM_GETDLGCODE: return DialogCode(DefaultHandler(message, wParam, lParam), reinterpret_cast<const MSG*>(lParam));
    case WM_KEYDOWN:
      if (OnKeyDown) OnKeyDown(*this, static_cast<WORD>(wParam));
      return DefaultHandler(message, wParam, lParam);
    case WM_SIZE: {
      const int width = LOWORD(lParam), height = HIWORD(lParam);
      FCaptionRect.right += width - FClientSize.cx;
      FCaptionRect.bottom += height - FClientSize.cy;
      FClientSize = {width, height};
      return DefaultHandler(message, wParam, lParam);
    }
    case WM_PAINT: {
      const LRESULT result = DefaultHandler(message, wParam, lParam);
      PaintCaption();
      return result;
    }
    case WM_ENABLE: ::InvalidateRect(Handle(), nullptr, TRUE); return DefaultHandler(message, wParam, lParam);
    case CN_COMMAND:
      if (HIWORD(wParam) == EN_CHANGE) {
        RepaintIfCaptioned();
        if (!FSettingText && IsValid() && OnChange) OnChange(*this);
      }
      return 0;
    default: return DefaultHandler(message, wParam, lParam);
  }
}

// ---- integer and floating-point fields ----

TQorvelIntEdit::TQorvelIntEdit(HWND parent, int left, int top, int width, int height)
    : TQorvelTypedNumEdit(parent, left, top, width, height) {
  UpdateMaxLength();
  SetValue(FRules.MinValue);
}

void TQorvelIntEdit::SetBase(int value) {
  value = std::clamp(value, 2, 16);
  if (value == FRules.Base) return;
  const int current = Value();
  FRules.Base = value;
  UpdateMaxLength();
  SetValue(current);
}

void TQorvelIntEdit::UpdateMaxLength() {
  ::SendMessageW(Handle(), EM_LIMITTEXT, static_cast<WPARAM>(FRules.MaxLength()), 0);
}

TQorvelFloatEdit::TQorvelFloatEdit(HWND parent, int left, int top, int width, int height)
    : TQorvelTypedNumEdit(parent, left, top, width, height) {
  FRules.DecimalSeparator = UserNumberFormat().DecimalSeparator;
  UpdateMaxLength();
  SetValue(FRules.MinValue);
}

void TQorvelFloatEdit::SetDigits(int value) {
  value = std::clamp(value, 0, 10);
  if (value == FRules.Digits) return;
  const double current = Value();
  FRules.Digits = value;
  SetValue(current);
}

void TQorvelFloatEdit::UpdateMaxLength() { ::SendMessageW(Handle(), EM_LIMITTEXT, TQorvelFloatRules::MaxLength, 0); }
