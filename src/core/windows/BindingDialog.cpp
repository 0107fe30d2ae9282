#include "core/windows/BindingDialog.h"

#include "core/windows/ControlDetector.h"
#include "gui/Component.h"
#include "gui/componentinterface/Dialog.h"
#include "unidevice/DeviceHandler.h"
#include "unidevice/Property.h"
#include "util/Message.h"

#include <QPushButton>

namespace mvk::qvn::core {

namespace {

constexpr int32_t Clicked = 0x4142;
constexpr int32_t ModalRun = 0x4102;

} // namespace

BindingDialog::BindingDialog() : WindowBase("InputDetectDlg") {}

bool BindingDialog::run(ControlDetector& running) {
    if (running.property() == nullptr ||
        (getRoot() == nullptr && !loadLayout("qvn_inputs_detect.xml")))
        return false;
    auto* dialog = gui::interfaceOf<gui::componentinterface::Dialog>(getRoot());
    if (dialog == nullptr)
        return false;
    for (int32_t id : {UseButton, RetryButton, CancelButton})
        listenTo(id);
    getRoot()->setLabel("Bind " + running.property()->name());
    bound = false;
    detection = &running;
    detection->changed = [this] { showState(); };
    unidevice::DeviceHandler::instance()->deactivateAll();
    showState();
    getRoot()->show();
    dialog->runModal();
    // Closed by its title bar as well as by the buttons: nothing may keep polling.
    running.cancel();
    running.changed = nullptr;
    detection = nullptr;
    return bound;
}

void BindingDialog::showState() {
    if (detection == nullptr)
        return;
    if (gui::Component* label = find(InstructionLabel))
        label->setLabel(detection->label());
    if (gui::Component* label = find(CandidateLabel))
        label->setLabel(detection->candidateLabel());
    if (gui::Component* use = find(UseButton))
        use->setEnabled(detection->candidate() != nullptr, false);
    placeKeyboardFocus();
}

// While the window waits, a key is a control to bind, so no button may take Return or Space:
// with the focus on "Try again", Return threw the control just pressed away and could never be
// bound itself. Once a control is found, Return (or Space) takes it. The mouse works throughout.
void BindingDialog::placeKeyboardFocus() {
    const bool confirming = detection->candidate() != nullptr &&
                            detection->label() == ControlDetector::ConfirmText;
    QPushButton* use = nullptr;
    for (int32_t id : {UseButton, RetryButton, CancelButton}) {
        gui::Component* component = find(id);
        auto* button = component ? qobject_cast<QPushButton*>(component->getWidget()) : nullptr;
        if (button == nullptr)
            continue;
        button->setAutoDefault(false);
        button->setDefault(confirming && id == UseButton);
        button->setFocusPolicy(confirming ? Qt::StrongFocus : Qt::NoFocus);
        if (id == UseButton)
            use = button;
    }
    if (confirming && use != nullptr)
        use->setFocus();
    else if (QWidget* window = getRoot()->getWidget())
        window->setFocus();
}

void BindingDialog::handleMessage(util::Message& message, bool) {
    if (detection == nullptr)
        return;
    const auto* component = dynamic_cast<const gui::Component*>(message.sender);
    if (component == nullptr)
        return;
    // Detection starts once the window is up, so the first press is not lost to its opening.
    if (message.id == ModalRun) {
        detection->start();
        return;
    }
    if (message.id != Clicked)
        return;
    switch (component->getId()) {
    case UseButton:
        bound = detection->accept();
        finish();
        break;
    case RetryButton:
        detection->retry();
        break;
    case CancelButton:
        detection->cancel();
        finish();
        break;
    default:
        break;
    }
}

void BindingDialog::finish() {
    // Hiding the window ends its modal run.
    hideWindow();
}

} // namespace mvk::qvn::core
