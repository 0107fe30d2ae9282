#pragma once
// Tunes the response of one input: multiplier, exponent, dead zone and offset, with the response
// curve drawn live and the bound control's present position marked on it, so the effect of each
// change shows while the user moves the control.
#include "core/recording/TimerManager.h"
#include "core/windows/WindowBase.h"

#include <cstdint>
#include <string>

namespace mvk::unidevice {
class Property;
}

namespace mvk::qvn::core {

class AdvancedSettingsDialog : public WindowBase, public TimerManager {
public:
    static constexpr int32_t DialogId = 100;
    static constexpr int32_t MultiplierSpinner = 101;
    static constexpr int32_t ExponentSpinner = 102;
    static constexpr int32_t DeadzoneSpinner = 103;
    static constexpr int32_t OffsetSpinner = 104;
    static constexpr int32_t CurveGraph = 110;
    static constexpr int32_t CloseButton = 120;
    // The marker follows the control on this timer of the service, as often as detection polls.
    static constexpr int32_t MarkerTimerId = 3;
    static constexpr double MarkerInterval = 30.0;
    // Points of the drawn curve across the control's range -1 .. 1.
    static constexpr int32_t CurvePoints = 81;

    AdvancedSettingsDialog();
    ~AdvancedSettingsDialog() override;

    // Runs the window modally for `property`, titled after `owner` and the property.
    // False at once when the layout cannot be read.
    bool run(unidevice::Property* property, const std::string& owner);
    // Redraws the curve and the marker from the property.
    void redraw();
    // The property is going: stops following it and ends the modal run.
    void abandon();

    void handleMessage(util::Message& message, bool broadcast) override;
    void onTimer(int32_t timerId, uint32_t tickCount) override;

private:
    void showParameters();
    void takeParameter(int32_t id);
    void finish();

    unidevice::Property* edited = nullptr;
};

} // namespace mvk::qvn::core
