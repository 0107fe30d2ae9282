#include "core/windows/AdvancedSettingsDialog.h"

#include "gui/Component.h"
#include "gui/componentinterface/Dialog.h"
#include "gui/componentinterface/Graph.h"
#include "gui/componentinterface/Spinner.h"
#include "unidevice/Control.h"
#include "unidevice/DeviceHandler.h"
#include "unidevice/Property.h"
#include "util/Message.h"

#include <algorithm>
#include <cmath>

namespace mvk::qvn::core {

namespace {

constexpr int32_t Clicked = 0x4142;
constexpr int32_t ValueChanged = 0x4201;

gui::componentinterface::Spinner* spinner(gui::Component* component) {
    return gui::interfaceOf<gui::componentinterface::Spinner>(component);
}

} // namespace

AdvancedSettingsDialog::AdvancedSettingsDialog() : WindowBase("InputAdvancedDlg") {}

AdvancedSettingsDialog::~AdvancedSettingsDialog() {
    service().removeTimer(this, MarkerTimerId);
}

bool AdvancedSettingsDialog::run(unidevice::Property* property, const std::string& owner) {
    if (property == nullptr || (getRoot() == nullptr && !loadLayout("qvn_inputs_advanced.xml")))
        return false;
    auto* dialog = gui::interfaceOf<gui::componentinterface::Dialog>(getRoot());
    if (dialog == nullptr)
        return false;
    for (int32_t id :
         {MultiplierSpinner, ExponentSpinner, DeadzoneSpinner, OffsetSpinner, CloseButton})
        listenTo(id);
    edited = property;
    getRoot()->setLabel("Advanced Settings for " + owner + "::" + property->name());
    showParameters();
    redraw();
    // The devices are at rest outside takes and detection; the marker needs them read, at the
    // rate detection polls them, for as long as the window is open.
    unidevice::DeviceHandler* devices = unidevice::DeviceHandler::instance();
    devices->activateAll();
    service().addTimer(this, MarkerTimerId, MarkerInterval);
    getRoot()->show();
    dialog->runModal();
    service().removeTimer(this, MarkerTimerId);
    devices->deactivateAll();
    edited = nullptr;
    return true;
}

void AdvancedSettingsDialog::showParameters() {
    const std::pair<int32_t, double> values[] = {{MultiplierSpinner, edited->multiplier()},
                                                 {ExponentSpinner, edited->exponent()},
                                                 {DeadzoneSpinner, edited->deadzone()},
                                                 {OffsetSpinner, edited->offset()}};
    for (const auto& [id, value] : values)
        if (auto* box = spinner(find(id)))
            box->setValue(value);
}

void AdvancedSettingsDialog::takeParameter(int32_t id) {
    const auto* box = spinner(find(id));
    if (box == nullptr || edited == nullptr)
        return;
    const double value = box->getValue();
    switch (id) {
    case MultiplierSpinner:
        edited->setMultiplier(value);
        break;
    case ExponentSpinner:
        edited->setExponent(value);
        break;
    case DeadzoneSpinner:
        edited->setDeadzone(value);
        break;
    case OffsetSpinner:
        edited->setOffset(value);
        break;
    default:
        return;
    }
    redraw();
}

// Curve 0 is the response over the control's whole range, curve 1 a vertical line where the
// control is now. The vertical range always holds -1 .. 1, so a change of the parameters shows
// as a change of the curve rather than of the scale.
void AdvancedSettingsDialog::redraw() {
    auto* graph = gui::interfaceOf<gui::componentinterface::Graph>(find(CurveGraph));
    if (graph == nullptr || edited == nullptr)
        return;
    graph->clearCurves();
    const int32_t curve = graph->addCurve(37, 99, 235);
    double low = -1.0;
    double high = 1.0;
    for (int32_t i = 0; i < CurvePoints; ++i) {
        const double x = -1.0 + 2.0 * i / (CurvePoints - 1);
        const double y = unidevice::Property::response(x, edited->multiplier(), edited->exponent(),
                                                       edited->deadzone(), edited->offset());
        if (!std::isfinite(y))
            continue;
        graph->addPoint(curve, x, y);
        low = std::min(low, y);
        high = std::max(high, y);
    }
    const double margin = (high - low) * 0.05;
    graph->setBoundaries(-1.0, 1.0, high + margin, low - margin);
    const unidevice::Control* control = edited->control();
    const double position = control != nullptr ? std::clamp(control->value(), -1.0, 1.0) : 0.0;
    const int32_t marker = graph->addCurve(225, 29, 72);
    graph->addPoint(marker, position, low - margin);
    graph->addPoint(marker, position, high + margin);
    find(CurveGraph)->repaint();
}

void AdvancedSettingsDialog::onTimer(int32_t timerId, uint32_t) {
    if (timerId != MarkerTimerId)
        return;
    unidevice::DeviceHandler::instance()->updateAll();
    redraw();
}

void AdvancedSettingsDialog::handleMessage(util::Message& message, bool) {
    const auto* component = dynamic_cast<const gui::Component*>(message.sender);
    if (component == nullptr || edited == nullptr)
        return;
    if (message.id == ValueChanged)
        takeParameter(component->getId());
    else if (message.id == Clicked && component->getId() == CloseButton)
        finish();
}

void AdvancedSettingsDialog::abandon() {
    service().removeTimer(this, MarkerTimerId);
    edited = nullptr;
    hideWindow();
}

void AdvancedSettingsDialog::finish() {
    // Hiding the window ends its modal run.
    hideWindow();
}

} // namespace mvk::qvn::core
