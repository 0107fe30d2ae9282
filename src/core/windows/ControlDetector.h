#pragma once
// Finds the control the user wants to bind to a property by watching what moves: first one
// control, and, when that is a single button for an input that needs two directions, a second
// button that together with the first makes one emulated trinary control. Polls the devices on
// the timer service and never blocks; the dialog only shows its labels and forwards the buttons.
#include "core/recording/TimerManager.h"
#include "unidevice/Control.h"
#include "unidevice/ControlTarget.h"
#include "util/MessageNode.h"

#include <functional>
#include <string>

namespace mvk::unidevice {
class Property;
}

namespace mvk::qvn::core {

class ControlDetector : public TimerManager,
                        public util::MessageNode,
                        public unidevice::ControlTarget {
public:
    // Timer ids are shared by every listener of the timer service: the resimulation window
    // runs 1 and a take 123, so detection keeps clear of both and may run beside either.
    static constexpr int32_t FirstTimerId = 201;
    static constexpr int32_t SecondTimerId = 202;
    // Polling on every idle pass would keep a core busy for as long as the dialog waits; a
    // person cannot tell 30 ms apart from immediate.
    static constexpr double PollInterval = 30.0;

    // What the detector posts itself when a stage has found its control.
    static constexpr int32_t FirstControlFound = 1;
    static constexpr int32_t SecondControlFound = 2;

    static constexpr const char* PressText = "Please press or move the control you want to bind";
    static constexpr const char* AnotherText = "Please press or move another control";
    static constexpr const char* ConfirmText = "Use this control?";
    static constexpr const char* NoDeviceText = "No device detected";
    static constexpr const char* NoControlText = "[NONE]";

    // `property` must outlive the detector.
    explicit ControlDetector(unidevice::Property* property);
    // Stops both timers and leaves every watched control.
    ~ControlDetector() override;
    ControlDetector(const ControlDetector&) = delete;
    ControlDetector& operator=(const ControlDetector&) = delete;

    // The detection dialog is showing: switches the devices off, then starts stage one when a
    // device is ready, or shows NoDeviceText and waits.
    void start();
    // Binds the property to the candidate and stores its binding; false (nothing changes)
    // without a candidate.
    bool accept();
    // Forgets both controls and starts stage one again.
    void retry();
    // Stops both timers; the property keeps its binding.
    void cancel();

    const std::string& label() const { return instruction; }
    // The candidate's binding text, or NoControlText.
    const std::string& candidateLabel() const { return candidateText; }
    unidevice::Control* candidate() const { return candidateControl; }
    // The first button while a second is awaited or after it was found.
    unidevice::Control* firstButton() const { return firstOfTwo; }
    unidevice::Control* secondControl() const { return secondOfTwo; }
    // The candidate's value did not fall with the movement that found it.
    bool isPositive() const { return positive; }
    bool isWaiting() const { return waiting != 0; }
    const unidevice::ControlList& firstExclusions() const { return firstExcluded; }
    const unidevice::ControlList& secondExclusions() const { return secondExcluded; }
    unidevice::Property* property() const { return target; }

    // Called after every change of the labels or controls; the dialog redraws from it.
    std::function<void()> changed;

    void onTimer(int32_t timerId, uint32_t tickCount) override;
    void handleMessage(util::Message& message, bool broadcast) override;
    // A watched control died with its device: it is forgotten, never used again.
    void controlDeleted(unidevice::Control* control) override;

private:
    void firstFound();
    void secondFound();
    // Starts `timerId` when a device reports ready; false (and nothing started) otherwise.
    bool startPolling(int32_t timerId);
    void stopTimers();
    void setCandidate(unidevice::Control* control);
    void setFirstButton(unidevice::Control* control);
    void setSecond(unidevice::Control* control);
    // Leaves `slot`'s control (unless another slot still holds it) and takes `control`.
    void watch(unidevice::Control*& slot, unidevice::Control* control);
    void clearControls();
    void notify();

    unidevice::Property* target;
    unidevice::Control* candidateControl = nullptr;
    unidevice::Control* firstOfTwo = nullptr;
    unidevice::Control* secondOfTwo = nullptr;
    bool positive = true;
    // The id of the running timer, 0 when none runs.
    int32_t waiting = 0;
    unidevice::ControlList firstExcluded;
    unidevice::ControlList secondExcluded;
    std::string instruction;
    std::string candidateText = NoControlText;
};

} // namespace mvk::qvn::core
