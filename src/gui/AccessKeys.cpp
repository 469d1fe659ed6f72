#include "gui/AccessKeys.h"

TAccessKeyCaption SplitAccessKey(const std::wstring& caption) {
  TAccessKeyCaption split;
  for (std::size_t i = 0; i < caption.size(); ++i) {
    if (caption[i] == L'&' && i + 1 < caption.size()) {
      ++i;
      if (caption[i] != L'&' && split.Key < 0) split.Key = static_cast<int>(split.Shown.size());
    }
    split.Shown += caption[i];
  }
  return split;
}
