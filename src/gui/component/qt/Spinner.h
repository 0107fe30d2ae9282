#pragma once
#include "gui/component/Spinner.h"
#include "gui/component/qt/QtComponent.h"

#include <QDoubleSpinBox>

namespace mvk::gui::component::qt {

class Spinner : public QtComponent<QDoubleSpinBox, component::Spinner> {
    Q_OBJECT
public:
    explicit Spinner(const util::xml::Element& element);

    double getValue() const override { return QDoubleSpinBox::value(); }
    void setValue(double value) override;
    void setMinimum(double minimum) override;
    void setMaximum(double maximum) override;
    void setStep(double step) override;
    void setDecimals(int32_t decimals) override;

public slots:
    void onEditFinish();
    void onValueChanged(double value);

    // The value as shown: the spin box keeps every decimal it is given, but trailing zeros past
    // what the step needs are left out ("45" rather than "45.0000" for a step of 1).
    QString textFromValue(double value) const override;
    // Decimals the step needs, at most the spin box's own.
    int stepDecimals() const;

protected:
    // Return commits the value and goes no further.
    void keyPressEvent(QKeyEvent* event) override;

private:
    // Runs a change made by the code itself without value events.
    template <class Change> void quietly(Change change) {
        const bool was = settingValue;
        settingValue = true;
        change();
        settingValue = was;
    }

    bool settingValue = false;
};

} // namespace mvk::gui::component::qt
