#include "support/scripted_interaction.h"

namespace athup::testing {

void ScriptedInteraction::showMessage(MessageKind kind, const std::string& text,
                                      const std::string& caption) {
  shown.push_back({"message", static_cast<int>(kind), text, caption});
}

void ScriptedInteraction::showQuestion(MessageKind kind, const std::string& text,
                                       const std::string& caption) {
  shown.push_back({"question", static_cast<int>(kind), text, caption});
}

Answer ScriptedInteraction::ask(MessageKind kind, const std::string& text,
                                const std::string& caption, Buttons buttons) {
  if (answers.empty()) return DecliningInteraction::ask(kind, text, caption, buttons);
  showQuestion(kind, text, caption);
  const Answer answer = answers.front();
  answers.pop_front();
  return answer;
}

std::optional<std::string> ScriptedInteraction::nextChoice() {
  if (choices.empty()) return std::nullopt;
  auto choice = choices.front();
  choices.pop_front();
  return choice;
}

std::optional<std::string> ScriptedInteraction::chooseFolder(const std::string& caption,
                                                             const std::string&) {
  shown.push_back({"folder", 0, {}, caption});
  return nextChoice();
}

std::optional<std::string> ScriptedInteraction::chooseFile(const std::string& caption,
                                                           const std::string&, const std::string&) {
  shown.push_back({"file", 0, {}, caption});
  return nextChoice();
}

std::optional<std::string> ScriptedInteraction::askSecret(const std::string& caption,
                                                          const std::string& prompt) {
  shown.push_back({"secret", 0, prompt, caption});
  return nextChoice();
}

int ScriptedInteraction::chooseItem(const std::string& caption, const std::string& title,
                                    const std::vector<std::string>& list) {
  std::string text = title;
  for (const auto& item : list) text += "|" + item;
  shown.push_back({"choice", 0, text, caption});
  if (items.empty()) return 0;
  const int index = items.front();
  items.pop_front();
  return index;
}

void ScriptedInteraction::showStatus(StatusKind kind, const std::string& text) {
  shown.push_back({"status", static_cast<int>(kind), text, {}});
}

std::vector<std::string> ScriptedInteraction::messages() const {
  std::vector<std::string> texts;
  for (const auto& item : shown) {
    if (item.what == "message") texts.push_back(item.text);
  }
  return texts;
}

}  // namespace athup::testing
