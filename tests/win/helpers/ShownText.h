#pragma once
// A control's caption as the user reads it: an access key's "&" marks the underlined letter
// and is not shown, "&&" shows one "&".
#include <string>

inline std::wstring ShownText(const std::wstring& caption) {
  std::wstring shown;
  for (std::size_t i = 0; i < caption.size(); ++i) {
    if (caption[i] == L'&' && i + 1 < caption.size()) ++i;
    shown += caption[i];
  }
  return shown;
}
