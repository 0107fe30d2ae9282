#include "support/ScriptedInteraction.h"

#include <QEventLoop>
#include <QTimer>

#include <utility>

namespace qvn::test {

ScriptedInteraction::ScriptedInteraction() { mvk::platform::setInteractionResponder(this); }

ScriptedInteraction::~ScriptedInteraction() { mvk::platform::setInteractionResponder(nullptr); }

int ScriptedInteraction::count(const std::string& kind) const {
    int n = 0;
    for (const auto& question : asked)
        n += question.kind == kind ? 1 : 0;
    return n;
}

void ScriptedInteraction::holdOpen() {
    if (!duringQuestion)
        return;
    std::function<void()> action = std::exchange(duringQuestion, nullptr);
    QEventLoop loop;
    QTimer::singleShot(0, &loop, [&] {
        action();
        loop.quit();
    });
    loop.exec();
}

int ScriptedInteraction::messageBox(QWidget*, const std::string& text, const std::string& caption,
                                    unsigned flags) {
    holdOpen();
    asked.push_back({"messageBox", text, caption, flags, {}});
    if (buttons.empty())
        return defaultButton;
    const int answer = buttons.front();
    buttons.pop_front();
    return answer;
}

// A dialog records its question, then takes the next scripted text or, without one, is cancelled.
bool ScriptedInteraction::answerDialog(const std::string& kind, const std::string& caption,
                                       const std::string& extra, std::string& text) {
    holdOpen();
    asked.push_back({kind, caption, {}, 0, extra});
    if (texts.empty())
        return false;
    text = texts.front();
    texts.pop_front();
    return true;
}

bool ScriptedInteraction::saveFileName(QWidget*, const std::string& caption,
                                       const std::string& startFolder, const std::string& filter,
                                       std::string& chosen) {
    return answerDialog("saveFileName", caption, startFolder + "|" + filter, chosen);
}

bool ScriptedInteraction::openFileName(QWidget*, const std::string& caption,
                                       const std::string& startFolder, const std::string& filter,
                                       std::string& chosen) {
    return answerDialog("openFileName", caption, startFolder + "|" + filter, chosen);
}

bool ScriptedInteraction::textInput(QWidget*, const std::string& caption, const std::string& label,
                                    std::string& text) {
    return answerDialog("textInput", caption, label, text);
}

} // namespace qvn::test
