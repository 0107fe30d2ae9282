#pragma once
// The small modal window that binds one input: it tells the user what to press or move, shows
// the control it found and lets them use it, try again or cancel. The detection belongs to the
// property list that runs it; this window only shows its state and forwards the buttons.
#include "core/windows/WindowBase.h"

#include <cstdint>

namespace mvk::qvn::core {

class ControlDetector;

class BindingDialog : public WindowBase {
public:
    static constexpr int32_t DialogId = 100;
    static constexpr int32_t InstructionLabel = 101;
    static constexpr int32_t CandidateLabel = 102;
    static constexpr int32_t UseButton = 103;
    static constexpr int32_t RetryButton = 104;
    static constexpr int32_t CancelButton = 105;

    BindingDialog();

    // Runs the window modally for `detection` (which outlives the call and has not started);
    // true when the user bound its property. False at once when the layout cannot be read.
    bool run(ControlDetector& detection);
    // The detection of the running window, or null.
    ControlDetector* detector() const { return detection; }

    void handleMessage(util::Message& message, bool broadcast) override;

private:
    void showState();
    void placeKeyboardFocus();
    void finish();

    ControlDetector* detection = nullptr;
    bool bound = false;
};

} // namespace mvk::qvn::core
