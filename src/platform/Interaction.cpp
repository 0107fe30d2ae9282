#include "platform/Interaction.h"

#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>

#include <iostream>
#include <utility>

namespace mvk::platform {

namespace {

const std::pair<unsigned, QMessageBox::StandardButton> buttonTable[] = {
    {MessageBoxFlag::Ok, QMessageBox::Ok},           {MessageBoxFlag::Cancel, QMessageBox::Cancel},
    {MessageBoxFlag::Close, QMessageBox::Close},     {MessageBoxFlag::Help, QMessageBox::Help},
    {MessageBoxFlag::Yes, QMessageBox::Yes},         {MessageBoxFlag::No, QMessageBox::No},
    {MessageBoxFlag::Abort, QMessageBox::Abort},     {MessageBoxFlag::Retry, QMessageBox::Retry},
    {MessageBoxFlag::Ignore, QMessageBox::Ignore},   {MessageBoxFlag::YesToAll, QMessageBox::YesToAll},
    {MessageBoxFlag::NoToAll, QMessageBox::NoToAll}, {MessageBoxFlag::Apply, QMessageBox::Apply},
    {MessageBoxFlag::Discard, QMessageBox::Discard}, {MessageBoxFlag::Reset, QMessageBox::Reset},
    {MessageBoxFlag::Save, QMessageBox::Save},
};

QMessageBox::Icon iconFor(unsigned flags) {
    if (flags & MessageBoxFlag::IconCritical)
        return QMessageBox::Critical;
    if (flags & MessageBoxFlag::IconWarning)
        return QMessageBox::Warning;
    if (flags & MessageBoxFlag::IconInformation)
        return QMessageBox::Information;
    if (flags & MessageBoxFlag::IconQuestion)
        return QMessageBox::Question;
    return QMessageBox::NoIcon;
}

UnattendedReport unattendedReport = nullptr;

void report(const std::string& question, const std::string& text) {
    if (unattendedReport != nullptr)
        unattendedReport(question, text);
    else
        std::cerr << question << ": " << text << std::endl;
}

class QtResponder : public InteractionResponder {
public:
    int messageBox(QWidget* owner, const std::string& text, const std::string& caption,
                   unsigned flags) override {
        if (isHeadless()) {
            report("Message box answered without a display", text);
            return silentAnswer(flags);
        }
        QMessageBox box(owner);
        box.setText(QString::fromStdString(text));
        box.setWindowTitle(QString::fromStdString(caption));
        box.setIcon(iconFor(flags));
        QMessageBox::StandardButtons buttons;
        for (const auto& [bit, button] : buttonTable)
            if (flags & bit)
                buttons |= button;
        box.setStandardButtons(buttons);
        box.setWindowFlags(Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint |
                           Qt::WindowCloseButtonHint);
        box.setWindowIcon(QApplication::windowIcon());
        box.raise();
        const int pressed = box.exec();
        for (const auto& [bit, button] : buttonTable)
            if (pressed == button)
                return static_cast<int>(bit);
        return 0;
    }

    bool saveFileName(QWidget* owner, const std::string& caption, const std::string& startFolder,
                      const std::string& filter, std::string& chosen) override {
        if (isHeadless()) {
            report("Save dialog cancelled without a display", caption);
            return false;
        }
        const QString name = QFileDialog::getSaveFileName(
            owner, QString::fromStdString(caption), QString::fromStdString(startFolder),
            QString::fromStdString(filter));
        chosen = name.toStdString();
        return !name.isEmpty();
    }

    bool openFileName(QWidget* owner, const std::string& caption, const std::string& startFolder,
                      const std::string& filter, std::string& chosen) override {
        if (isHeadless()) {
            report("Open dialog cancelled without a display", caption);
            return false;
        }
        const QString name = QFileDialog::getOpenFileName(
            owner, QString::fromStdString(caption), QString::fromStdString(startFolder),
            QString::fromStdString(filter));
        chosen = name.toStdString();
        return !name.isEmpty();
    }

    bool textInput(QWidget* owner, const std::string& caption, const std::string& label,
                   std::string& text) override {
        if (isHeadless()) {
            report("Text question cancelled without a display", caption + ": " + label);
            return false;
        }
        bool ok = false;
        const QString answer =
            QInputDialog::getText(owner, QString::fromStdString(caption),
                                  QString::fromStdString(label), QLineEdit::Normal,
                                  QString::fromStdString(text), &ok);
        if (ok)
            text = answer.toStdString();
        return ok;
    }
};

QtResponder qtResponder;
InteractionResponder* current = nullptr;
bool silent = false;

} // namespace

InteractionResponder& interaction() { return current ? *current : qtResponder; }

void setInteractionResponder(InteractionResponder* responder) { current = responder; }

bool hasInstalledResponder() { return current != nullptr; }

bool isSilent() { return silent; }
void setSilent(bool value) { silent = value; }

int silentAnswer(unsigned flags) {
    using namespace MessageBoxFlag;
    for (const unsigned button : {Ok, Yes, Save, Abort, Apply})
        if (flags & button)
            return static_cast<int>(button);
    return static_cast<int>(No);
}

bool isHeadless() {
    if (!hasGuiApplication())
        return true;
    const QString platform = QGuiApplication::platformName();
    return platform == QLatin1String("offscreen") || platform == QLatin1String("minimal");
}

void setUnattendedReport(UnattendedReport report) {
    unattendedReport = report;
}

bool hasGuiApplication() { return qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr; }

void showEarlyError(const std::string& text) {
    std::cerr << text << std::endl;
    if (silent)
        return;
    if (current == nullptr && !hasGuiApplication())
        return;
    interaction().messageBox(nullptr, text, "", MessageBoxFlag::Ok);
}

} // namespace mvk::platform
