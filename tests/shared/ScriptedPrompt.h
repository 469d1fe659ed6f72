#pragma once
// Stands in for the message boxes in the settings-file and installer tests, host and Win32
// alike: records every question with its kind ("YesNo", "RetryCancel", "OK") and answers from
// a script. A question beyond the script fails the test.
#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "settings/SettingsFileRules.h"

class TScriptedPrompt : public IQorvelSettingsPrompt {
 public:
  struct TQuestion {
    std::string Kind;
    std::string Caption;
    std::string Text;
    friend bool operator==(const TQuestion&, const TQuestion&) = default;
    friend std::ostream& operator<<(std::ostream& out, const TQuestion& q) {
      return out << q.Kind << " [" << q.Caption << "] " << q.Text;
    }
  };

  std::vector<TQuestion> Asked;
  std::deque<bool> Answers;
  std::function<void()> BeforeAnswer;  // runs before each answer, e.g. to undo the cause

  bool AskYesNo(const std::string& caption, const std::string& text) override { return Ask("YesNo", caption, text); }
  bool AskRetryCancel(const std::string& caption, const std::string& text) override {
    return Ask("RetryCancel", caption, text);
  }
  void ShowError(const std::string& caption, const std::string& text) override {
    Asked.push_back({"OK", caption, text});
  }

  // The questions as "caption|text", whatever their kind.
  std::vector<std::string> AskedTexts() const {
    std::vector<std::string> texts;
    for (const TQuestion& question : Asked) texts.push_back(question.Caption + "|" + question.Text);
    return texts;
  }

 private:
  bool Ask(const char* kind, const std::string& caption, const std::string& text) {
    Asked.push_back({kind, caption, text});
    if (BeforeAnswer) BeforeAnswer();
    if (Answers.empty()) {
      ADD_FAILURE() << "unexpected question: " << Asked.back();
      return false;
    }
    const bool answer = Answers.front();
    Answers.pop_front();
    return answer;
  }
};
