#include "gui/component/qt/Spinner.h"

#include "gui/LayoutGuard.h"

#include <QKeyEvent>

#include <algorithm>
#include <cmath>

namespace mvk::gui::component {

Component* Spinner::Factory::create(const util::xml::Element& element) {
    return LayoutGuard::build<qt::Spinner>(element);
}

namespace qt {

namespace {

// Qt keeps at most this many decimals; more would only be rounded away.
int widgetDecimals(int32_t decimals) {
    return std::clamp<int32_t>(decimals, 0, 17);
}

} // namespace

Spinner::Spinner(const util::xml::Element& element) : QtComponent(element) {
    quietly([&] {
        // The step first: it decides the shown text (textFromValue), and every change of that
        // text lays the line out again. Then the decimals: the spin box rounds its range and
        // value to them.
        QDoubleSpinBox::setSingleStep(getStep());
        QDoubleSpinBox::setDecimals(widgetDecimals(getDecimals()));
        QDoubleSpinBox::setRange(getMinimum(), getMaximum());
        QDoubleSpinBox::setValue(getDefaultValue());
    });
    connect(this, &QDoubleSpinBox::editingFinished, this, &Spinner::onEditFinish);
    connect(this, &QDoubleSpinBox::valueChanged, this, &Spinner::onValueChanged);
}

void Spinner::setValue(double value) {
    quietly([&] { QDoubleSpinBox::setValue(value); });
    component::Spinner::setValue(QDoubleSpinBox::value());
}

void Spinner::setMinimum(double minimum) {
    component::Spinner::setMinimum(minimum);
    quietly([&] { QDoubleSpinBox::setMinimum(minimum); });
}

void Spinner::setMaximum(double maximum) {
    component::Spinner::setMaximum(maximum);
    quietly([&] { QDoubleSpinBox::setMaximum(maximum); });
}

void Spinner::setStep(double step) {
    component::Spinner::setStep(step);
    QDoubleSpinBox::setSingleStep(step);
}

void Spinner::setDecimals(int32_t decimals) {
    component::Spinner::setDecimals(decimals);
    quietly([&] { QDoubleSpinBox::setDecimals(widgetDecimals(decimals)); });
}

int Spinner::stepDecimals() const {
    const int most = QDoubleSpinBox::decimals();
    const double step = std::abs(QDoubleSpinBox::singleStep());
    for (int places = 0; places < most; ++places) {
        const double scaled = step * std::pow(10.0, places);
        if (std::abs(scaled - std::round(scaled)) < 1e-9 * std::max(1.0, scaled))
            return places;
    }
    return most;
}

QString Spinner::textFromValue(double value) const {
    QString text = locale().toString(value, 'f', QDoubleSpinBox::decimals());
    if (!isGroupSeparatorShown())
        text.remove(locale().groupSeparator());
    const QString point = locale().decimalPoint();
    const qsizetype dot = text.indexOf(point);
    if (dot < 0)
        return text;
    const qsizetype keep = dot + (stepDecimals() > 0 ? point.size() + stepDecimals() : 0);
    qsizetype end = text.size();
    while (end > keep && end > dot + point.size() && text.at(end - 1) == QLatin1Char('0'))
        --end;
    if (end == dot + point.size())
        end = dot;
    return text.left(std::max(end, keep));
}

void Spinner::onEditFinish() {
    if (!settingValue)
        sendEvent(EventValueCommitted);
}

void Spinner::onValueChanged(double value) {
    component::Spinner::setValue(value);
    if (!settingValue)
        sendEvent(EventValueChanged);
}

void Spinner::keyPressEvent(QKeyEvent* event) {
    if (event->key() != Qt::Key_Return && event->key() != Qt::Key_Enter) {
        QDoubleSpinBox::keyPressEvent(event);
        return;
    }
    interpretText();
    sendEvent(EventValueCommitted);
    event->accept();
}

} // namespace qt
} // namespace mvk::gui::component
