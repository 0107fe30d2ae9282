#pragma once
// A responder for modal questions that records each question and answers from a script.
#include "platform/Interaction.h"

#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace qvn::test {

class ScriptedInteraction : public mvk::platform::InteractionResponder {
public:
    struct Question {
        std::string kind; // "messageBox", "saveFileName", "openFileName", "textInput"
        std::string text; // box text, or dialog caption
        std::string caption;
        unsigned flags = 0;
        std::string extra; // start folder / filter / label
    };

    // Installs itself for its lifetime.
    ScriptedInteraction();
    ~ScriptedInteraction() override;

    // Answers given in order; when the script runs dry boxes answer `defaultButton` and
    // dialogs are cancelled.
    void pushButton(int code) { buttons.push_back(code); }
    void pushText(const std::string& text) { texts.push_back(text); }
    int defaultButton = 1;
    // Runs once, from a timer inside an event loop of the next question, as if it happened
    // while a real box or dialog was up (a real one runs such a loop until it is answered).
    void whileNextQuestionIsUp(std::function<void()> action) { duringQuestion = std::move(action); }

    const std::vector<Question>& questions() const { return asked; }
    int count(const std::string& kind) const;

    int messageBox(QWidget* owner, const std::string& text, const std::string& caption,
                   unsigned flags) override;
    bool saveFileName(QWidget* owner, const std::string& caption, const std::string& startFolder,
                      const std::string& filter, std::string& chosen) override;
    bool openFileName(QWidget* owner, const std::string& caption, const std::string& startFolder,
                      const std::string& filter, std::string& chosen) override;
    bool textInput(QWidget* owner, const std::string& caption, const std::string& label,
                   std::string& text) override;

private:
    bool answerDialog(const std::string& kind, const std::string& caption, const std::string& extra,
                      std::string& text);
    void holdOpen();

    std::deque<int> buttons;
    std::deque<std::string> texts;
    std::vector<Question> asked;
    std::function<void()> duringQuestion;
};

} // namespace qvn::test
