#pragma once
// Stands in for the message boxes: records every question as caption + "|" + text and answers
// Yes/No and Retry/Cancel from a script. A question beyond the script fails the test.
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "settings/SettingsFileRules.h"

class TScriptedPrompt : public IQorvelSettingsPrompt {
 public:
  std::vector<std::string> Asked;
  std::deque<bool> Answers;
  std::function<void()> BeforeAnswer;  // runs before each answer, e.g. to undo the cause

  bool AskYesNo(const std::string& caption, const std::string& text) override { return Ask(caption, text); }
  bool AskRetryCancel(const std::string& caption, const std::string& text) override { return Ask(caption, text); }
  void ShowError(const std::string& caption, const std::string& text) override;

 private:
  bool Ask(const std::string& caption, const std::string& text);
};
