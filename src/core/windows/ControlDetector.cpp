#include "core/windows/ControlDetector.h"

#include "core/windows/BindingText.h"
#include "unidevice/DeviceHandler.h"
#include "unidevice/EmulatedTrinaryDevice.h"
#include "unidevice/Property.h"
#include "util/Message.h"

namespace mvk::qvn::core {

using unidevice::Control;
using unidevice::DeviceHandler;
using unidevice::ControlKind::Binary;
using unidevice::ControlKind::Trinary;

ControlDetector::ControlDetector(unidevice::Property* property) : target(property) {}

ControlDetector::~ControlDetector() {
    stopTimers();
    clearControls();
}

void ControlDetector::start() {
    stopTimers();
    DeviceHandler::instance()->deactivateAll();
    instruction = startPolling(FirstTimerId) ? PressText : NoDeviceText;
    notify();
}

bool ControlDetector::startPolling(int32_t timerId) {
    if (!DeviceHandler::instance()->prepareDetectionAll())
        return false;
    waiting = timerId;
    service().addTimer(this, timerId, PollInterval);
    return true;
}

void ControlDetector::stopTimers() {
    service().removeTimer(this, FirstTimerId);
    service().removeTimer(this, SecondTimerId);
    waiting = 0;
}

void ControlDetector::onTimer(int32_t timerId, uint32_t) {
    if (timerId != waiting)
        return;
    const bool first = timerId == FirstTimerId;
    Control* found =
        DeviceHandler::instance()->detectControl(first ? &firstExcluded : &secondExcluded);
    if (found == nullptr)
        return;
    service().removeTimer(this, timerId);
    waiting = 0;
    if (first) {
        setCandidate(found);
        positive = found->current() - found->previous() >= 0.0;
    } else {
        setSecond(found);
    }
    util::Message message(first ? FirstControlFound : SecondControlFound);
    send(this, message);
}

void ControlDetector::handleMessage(util::Message& message, bool) {
    if (message.id == FirstControlFound)
        firstFound();
    else if (message.id == SecondControlFound)
        secondFound();
}

void ControlDetector::firstFound() {
    DeviceHandler* devices = DeviceHandler::instance();
    devices->resetAll();
    instruction = ConfirmText;
    devices->deactivateAll();
    Control* found = candidateControl;
    candidateText = found != nullptr ? BindingText::of(found) : NoControlText;
    // A single button cannot drive an input that wants another kind: a second button gives
    // the other direction. A keyboard key reports itself as a one-way axis, so it would pass as
    // one; an input that takes three-way controls but no buttons turns both ways, though, and a
    // lone key could turn it one way only, so there a key is treated as the button it is.
    const bool keyForTwoWays = found != nullptr && BindingText::isKey(found) &&
                               (target->accepted() & Trinary) != 0 &&
                               (target->accepted() & Binary) == 0;
    if (found != nullptr && (((found->kind() & target->accepted()) == 0 &&
                              (found->kind() & Binary) != 0) ||
                             keyForTwoWays)) {
        setFirstButton(found);
        secondExcluded.push_back(found);
        if (startPolling(SecondTimerId))
            instruction = AnotherText;
    }
    notify();
}

void ControlDetector::secondFound() {
    DeviceHandler* devices = DeviceHandler::instance();
    devices->deactivateAll();
    devices->resetAll();
    instruction = ConfirmText;
    auto* emulator = dynamic_cast<unidevice::EmulatedTrinaryDevice*>(
        devices->device(unidevice::EmulatedTrinaryDevice::DeviceName, 0));
    Control* made = nullptr;
    if (firstOfTwo != nullptr && secondOfTwo != nullptr && emulator != nullptr)
        made = emulator->createControl(firstOfTwo, secondOfTwo);
    setCandidate(made);
    candidateText = made != nullptr ? BindingText::of(made) : NoControlText;
    notify();
}

bool ControlDetector::accept() {
    stopTimers();
    if (candidateControl == nullptr)
        return false;
    target->bind(candidateControl);
    // The stored element follows the new control, so it is found again when its device
    // comes back after being unplugged.
    target->setBinding(candidateControl->toXML());
    return true;
}

void ControlDetector::retry() {
    stopTimers();
    clearControls();
    candidateText = NoControlText;
    start();
}

void ControlDetector::cancel() {
    stopTimers();
}

void ControlDetector::controlDeleted(Control* control) {
    // A stage waiting for a second button keeps waiting; only what died is forgotten.
    std::erase(firstExcluded, control);
    std::erase(secondExcluded, control);
    for (Control** slot : {&candidateControl, &firstOfTwo, &secondOfTwo})
        if (*slot == control)
            *slot = nullptr;
    if (candidateControl == nullptr && candidateText != NoControlText) {
        candidateText = NoControlText;
        notify();
    }
}

void ControlDetector::setCandidate(Control* control) {
    watch(candidateControl, control);
}

void ControlDetector::setFirstButton(Control* control) {
    watch(firstOfTwo, control);
}

void ControlDetector::setSecond(Control* control) {
    watch(secondOfTwo, control);
}

void ControlDetector::watch(Control*& slot, Control* control) {
    Control* old = slot;
    slot = control;
    if (control != nullptr && control != old)
        control->addTarget(this);
    if (old != nullptr && old != control)
        old->removeTarget(this);
}

void ControlDetector::clearControls() {
    setCandidate(nullptr);
    setFirstButton(nullptr);
    setSecond(nullptr);
    firstExcluded.clear();
    secondExcluded.clear();
}

void ControlDetector::notify() {
    if (changed)
        changed();
}

} // namespace mvk::qvn::core
