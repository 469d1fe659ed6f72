#include "support/ScriptedPrompt.h"

#include <gtest/gtest.h>

void TScriptedPrompt::ShowError(const std::string& caption, const std::string& text) {
  Asked.push_back(caption + "|" + text);
}

bool TScriptedPrompt::Ask(const std::string& caption, const std::string& text) {
  Asked.push_back(caption + "|" + text);
  if (BeforeAnswer) BeforeAnswer();
  if (Answers.empty()) {
    ADD_FAILURE() << "unexpected question: " << Asked.back();
    return false;
  }
  const bool answer = Answers.front();
  Answers.pop_front();
  return answer;
}
