#pragma once
// The small modal window that binds one input: it tells the user what to press or move, shows
// the control it found and lets them use it, try again or cancel. The detection itself is the
// ControlDetector's; this window only shows its state and forwards the buttons.
#include "core/windows/WindowBase.h"

#include <cstdint>
#include <memory>

namespace mvk::unidevice {
class Property;
}

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
    ~BindingDialog() override;

    // Runs the window modally for `property` (which outlives the call); true when the user
    // bound a control. False at once when the layout cannot be read.
    bool run(unidevice::Property* property);
    // The detection of the running window, or null.
    ControlDetector* detector() const { return detection.get(); }

    void handleMessage(util::Message& message, bool broadcast) override;

private:
    void showState();
    void finish();

    std::unique_ptr<ControlDetector> detection;
    bool bound = false;
};

} // namespace mvk::qvn::core
