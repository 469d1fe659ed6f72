#pragma once
// Captions with access keys: "&Opacity" is shown as "Opacity" with the "O" underlined, and
// Alt+O reaches its control; "&&" shows one "&".

#include <string>

struct TAccessKeyCaption {
  std::wstring Shown;  // the caption as the user reads it
  int Key = -1;        // index in Shown of the underlined letter; -1 for none
};

TAccessKeyCaption SplitAccessKey(const std::wstring& caption);
