#include "gui/component/qt/CheckBox.h"

#include "gui/LayoutGuard.h"

namespace mvk::gui::component {

Component* CheckBox::Factory::create(const util::xml::Element& element) {
    return LayoutGuard::build<qt::CheckBox>(element);
}

namespace qt {

namespace {

Qt::CheckState qtState(int32_t state) {
    switch (state) {
    case componentinterface::CheckBox::Checked:
        return Qt::Checked;
    case componentinterface::CheckBox::PartlyChecked:
        return Qt::PartiallyChecked;
    default:
        return Qt::Unchecked;
    }
}

int32_t ownState(int state) {
    switch (state) {
    case Qt::Checked:
        return componentinterface::CheckBox::Checked;
    case Qt::PartiallyChecked:
        return componentinterface::CheckBox::PartlyChecked;
    default:
        return componentinterface::CheckBox::Unchecked;
    }
}

} // namespace

CheckBox::CheckBox(const util::xml::Element& element) : QtComponent(element) {
    QCheckBox::setTristate(component::CheckBox::isTristate());
    setCheckState(qtState(getState()));
    applyLabel();
    connect(this, &QCheckBox::stateChanged, this, &CheckBox::onStateChange);
}

void CheckBox::applyLabel() {
    setText(QString::fromStdString(getLabel()));
}

void CheckBox::setState(int32_t state) {
    component::CheckBox::setState(state);
    // A partly checked state needs a three-state box.
    if (getState() == PartlyChecked && !QCheckBox::isTristate())
        QCheckBox::setTristate(true);
    const bool was = settingState;
    settingState = true;
    setCheckState(qtState(getState()));
    settingState = was;
}

void CheckBox::setTristate(bool tristate) {
    component::CheckBox::setTristate(tristate);
    QCheckBox::setTristate(tristate);
}

void CheckBox::onStateChange(int state) {
    component::CheckBox::setState(ownState(state));
    if (!settingState)
        sendEvent(EventStateChanged);
}

} // namespace qt
} // namespace mvk::gui::component
