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

bool ScriptedInteraction::nextText(std::string& text) {
    if (texts.empty())
        return false;
    text = texts.front();
    texts.pop_front();
    return true;
}

bool ScriptedInteraction::saveFileName(QWidget*, const std::string& caption,
                                       const std::string& startFolder, const std::string& filter,
                                       std::string& chosen) {
    holdOpen();
    asked.push_back({"saveFileName", caption, {}, 0, startFolder + "|" + filter});
    return nextText(chosen);
}

bool ScriptedInteraction::openFileName(QWidget*, const std::string& caption,
                                       const std::string& startFolder, const std::string& filter,
                                       std::string& chosen) {
    holdOpen();
    asked.push_back({"openFileName", caption, {}, 0, startFolder + "|" + filter});
    return nextText(chosen);
}

bool ScriptedInteraction::textInput(QWidget*, const std::string& caption, const std::string& label,
                                    std::string& text) {
    holdOpen();
    asked.push_back({"textInput", caption, {}, 0, label});
    return nextText(text);
}

} // namespace qvn::test
