#pragma once
// Every modal question the program asks the user goes through here: message boxes, file
// dialogs and text input. The default responder shows Qt dialogs; tests install a scripted
// responder that records each question and answers it. Without a display nobody could close a
// dialog, so there the default responder answers at once as silent mode does (boxes get their
// silent answer, file dialogs and text questions are cancelled) and reports the question.
#include <memory>
#include <string>

class QMessageBox;
class QWidget;

namespace mvk::platform {

// Button and icon flags of a message box, and the codes that come back (the same values).
namespace MessageBoxFlag {
constexpr unsigned Ok = 0x1, Cancel = 0x2, Close = 0x4, Help = 0x8, Yes = 0x10, No = 0x20,
                   Abort = 0x40, Retry = 0x80, Ignore = 0x100, YesToAll = 0x200,
                   NoToAll = 0x400, Apply = 0x800, Discard = 0x1000, Reset = 0x2000,
                   Save = 0x4000;
constexpr unsigned IconQuestion = 0x20000, IconInformation = 0x40000, IconWarning = 0x80000,
                   IconCritical = 0x100000;
} // namespace MessageBoxFlag

class InteractionResponder {
public:
    virtual ~InteractionResponder() = default;
    // Shows a modal box; returns the code of the button pressed (0 for none of the table).
    virtual int messageBox(QWidget* owner, const std::string& text, const std::string& caption,
                           unsigned flags) = 0;
    // Asks for a file to write; false when the user cancelled.
    virtual bool saveFileName(QWidget* owner, const std::string& caption,
                              const std::string& startFolder, const std::string& filter,
                              std::string& chosen) = 0;
    // Asks for a file to read; false when the user cancelled.
    virtual bool openFileName(QWidget* owner, const std::string& caption,
                              const std::string& startFolder, const std::string& filter,
                              std::string& chosen) = 0;
    // Asks for a line of text (pre-filled with `text`); false when cancelled.
    virtual bool textInput(QWidget* owner, const std::string& caption, const std::string& label,
                           std::string& text) = 0;
};

// The look the default responder gives its dialogs, so that they match the program's own
// windows: one style sheet, and the message box icons taken from `iconFolder`
// (msg_information.png, msg_question.png, msg_warning.png, msg_critical.png, with @2x twins).
// An empty folder keeps the toolkit's icons.
void setDialogIconFolder(const std::string& iconFolder);
const char* dialogStyleSheet();
// The box the default responder shows for these arguments, not yet shown (for pictures of it).
std::unique_ptr<QMessageBox> messageBoxWidget(QWidget* owner, const std::string& text,
                                              const std::string& caption, unsigned flags);

// The responder in use; never null.
InteractionResponder& interaction();
// Installs a responder (not owned); null restores the Qt dialogs.
void setInteractionResponder(InteractionResponder* responder);
// True when a responder of its own was installed (a script answers, not a person).
bool hasInstalledResponder();

// The process-wide silent flag: while set, message boxes answer without being shown.
bool isSilent();
void setSilent(bool silent);
// The answer a box with the buttons of `flags` gets without being shown: the first of Ok, Yes,
// Save, Abort and Apply among them; No when none of them is offered.
int silentAnswer(unsigned flags);

// True when no person can answer a dialog: no GUI application object exists, or it runs on a
// platform without a display (offscreen, minimal).
bool isHeadless();
// Receives each question the default responder answered because the session is headless: what
// was asked and its text. Standard error until one is set; null goes back to it.
using UnattendedReport = void (*)(const std::string& question, const std::string& text);
void setUnattendedReport(UnattendedReport report);

// True when a Qt GUI application object exists, so dialogs can be shown.
bool hasGuiApplication();

// An error raised before the core is usable: written to standard error, and shown in a box with
// an Ok button when a GUI application exists and the session is not silent.
void showEarlyError(const std::string& text);

} // namespace mvk::platform
