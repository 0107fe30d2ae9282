#include "platform/Interaction.h"

#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPixmap>

#include <algorithm>
#include <iostream>
#include <memory>
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
std::string iconFolder;

// The program's windows are flat, light and rounded; the dialogs Qt builds for us follow, and
// their buttons carry words only.
constexpr const char* StyleSheet =
    "QMessageBox, QInputDialog, QFileDialog { background: #ffffff; }"
    "QMessageBox QLabel, QInputDialog QLabel { color: #1e293b; }"
    "QPushButton { min-width: 72px; min-height: 22px; padding: 3px 12px; color: #1e293b;"
    " background: #f8fafc; border: 1px solid #cbd5e1; border-radius: 5px; }"
    "QPushButton:hover { background: #eff6ff; border-color: #93c5fd; }"
    "QPushButton:pressed { background: #dbeafe; }"
    "QPushButton:default { color: #ffffff; background: #2563eb; border-color: #1d4ed8; }"
    "QPushButton:default:hover { background: #1d4ed8; }"
    "QPushButton:disabled { color: #94a3b8; background: #f1f5f9; border-color: #e2e8f0; }"
    "QLineEdit, QComboBox { padding: 3px 6px; background: #ffffff; border: 1px solid #cbd5e1;"
    " border-radius: 4px; selection-background-color: #2563eb; }"
    "QLineEdit:focus, QComboBox:focus { border-color: #2563eb; }"
    "QTreeView, QListView { background: #ffffff; border: 1px solid #e2e8f0; border-radius: 4px; }"
    "* { dialogbuttonbox-buttons-have-icons: 0; }";

const char* iconName(unsigned flags) {
    using namespace MessageBoxFlag;
    if (flags & IconCritical)
        return "msg_critical";
    if (flags & IconWarning)
        return "msg_warning";
    if (flags & IconInformation)
        return "msg_information";
    if (flags & IconQuestion)
        return "msg_question";
    return nullptr;
}

// Our icon for the box's flags at the owner's scale, or a null pixmap.
QPixmap iconPixmap(unsigned flags, const QWidget* owner) {
    const char* name = iconName(flags);
    if (name == nullptr || iconFolder.empty())
        return {};
    const qreal scale = owner != nullptr ? owner->devicePixelRatioF() : qApp->devicePixelRatio();
    const QString base = QString::fromStdString(iconFolder) + "/" + name;
    QPixmap pixmap;
    if (scale > 1.0 && pixmap.load(base + "@2x.png"))
        pixmap.setDevicePixelRatio(2.0);
    else
        pixmap.load(base + ".png");
    return pixmap;
}

// Dialogs belong to the window they are asked from; without one, to the window in front, so the
// window manager keeps them above it rather than above every program.
QWidget* ownerOr(QWidget* owner) {
    return owner != nullptr ? owner->window() : QApplication::activeWindow();
}

void report(const std::string& question, const std::string& text) {
    if (unattendedReport != nullptr)
        unattendedReport(question, text);
    else
        std::cerr << question << ": " << text << std::endl;
}

// Qt's own file dialog rather than the desktop's, so it looks like the rest of the program.
QString askForFile(QWidget* owner, const std::string& caption, const std::string& startFolder,
                   const std::string& filter, QFileDialog::AcceptMode mode) {
    QFileDialog dialog(ownerOr(owner), QString::fromStdString(caption),
                       QString::fromStdString(startFolder), QString::fromStdString(filter));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setStyleSheet(StyleSheet);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptSave ? QFileDialog::AnyFile
                                                       : QFileDialog::ExistingFile);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().front();
}

std::unique_ptr<QMessageBox> makeMessageBox(QWidget* owner, const std::string& text,
                                            const std::string& caption, unsigned flags) {
    auto box = std::make_unique<QMessageBox>(ownerOr(owner));
    box->setStyleSheet(StyleSheet);
    box->setText(QString::fromStdString(text));
    box->setWindowTitle(QString::fromStdString(caption));
    if (const QPixmap icon = iconPixmap(flags, owner); !icon.isNull())
        box->setIconPixmap(icon);
    else
        box->setIcon(iconFor(flags));
    QMessageBox::StandardButtons buttons;
    for (const auto& [bit, button] : buttonTable)
        if (flags & bit)
            buttons |= button;
    box->setStandardButtons(buttons);
    box->setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                        Qt::WindowCloseButtonHint);
    box->setWindowIcon(QApplication::windowIcon());
    return box;
}

class QtResponder : public InteractionResponder {
public:
    int messageBox(QWidget* owner, const std::string& text, const std::string& caption,
                   unsigned flags) override {
        if (isHeadless()) {
            report("Message box answered without a display", text);
            return silentAnswer(flags);
        }
        const std::unique_ptr<QMessageBox> box = makeMessageBox(owner, text, caption, flags);
        const int pressed = box->exec();
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
        const QString name =
            askForFile(owner, caption, startFolder, filter, QFileDialog::AcceptSave);
        chosen = name.toStdString();
        return !name.isEmpty();
    }

    bool openFileName(QWidget* owner, const std::string& caption, const std::string& startFolder,
                      const std::string& filter, std::string& chosen) override {
        if (isHeadless()) {
            report("Open dialog cancelled without a display", caption);
            return false;
        }
        const QString name =
            askForFile(owner, caption, startFolder, filter, QFileDialog::AcceptOpen);
        chosen = name.toStdString();
        return !name.isEmpty();
    }

    bool textInput(QWidget* owner, const std::string& caption, const std::string& label,
                   std::string& text) override {
        if (isHeadless()) {
            report("Text question cancelled without a display", caption + ": " + label);
            return false;
        }
        QInputDialog dialog(ownerOr(owner));
        dialog.setStyleSheet(StyleSheet);
        dialog.setWindowTitle(QString::fromStdString(caption));
        dialog.setLabelText(QString::fromStdString(label));
        dialog.setTextValue(QString::fromStdString(text));
        // Wide enough for the whole caption in the title bar and a name of some length.
        dialog.setMinimumWidth(std::max(
            340, dialog.fontMetrics().horizontalAdvance(QString::fromStdString(caption)) + 160));
        if (dialog.exec() != QDialog::Accepted)
            return false;
        text = dialog.textValue().toStdString();
        return true;
    }
};

QtResponder qtResponder;
InteractionResponder* current = nullptr;
bool silent = false;

} // namespace

void setDialogIconFolder(const std::string& folder) {
    iconFolder = folder;
}

std::unique_ptr<QMessageBox> messageBoxWidget(QWidget* owner, const std::string& text,
                                              const std::string& caption, unsigned flags) {
    return makeMessageBox(owner, text, caption, flags);
}

const char* dialogStyleSheet() {
    return StyleSheet;
}

InteractionResponder& interaction() {
    return current ? *current : qtResponder;
}

void setInteractionResponder(InteractionResponder* responder) {
    current = responder;
}

bool hasInstalledResponder() {
    return current != nullptr;
}

bool isSilent() {
    return silent;
}
void setSilent(bool value) {
    silent = value;
}

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
