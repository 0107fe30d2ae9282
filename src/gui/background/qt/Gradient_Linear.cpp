#include "gui/background/qt/Gradient_Linear.h"

#include "gui/Component.h"

#include <QLinearGradient>
#include <QPainter>
#include <QWidget>

namespace mvk::gui::background {

Background* Gradient_Linear::Factory::create(const util::xml::Element& element) {
    return new qt::Gradient_Linear(element);
}

namespace qt {

QLinearGradient Gradient_Linear::gradient() const {
    QLinearGradient linear(getStartX(), getStartY(), getEndX(), getEndY());
    switch (getSpread()) {
    case Spread::Reflect:
        linear.setSpread(QGradient::ReflectSpread);
        break;
    case Spread::Repeat:
        linear.setSpread(QGradient::RepeatSpread);
        break;
    case Spread::Pad:
        linear.setSpread(QGradient::PadSpread);
        break;
    }
    if (!isAbsolute())
        linear.setCoordinateMode(QGradient::ObjectBoundingMode);
    // Positions outside 0..1 are refused by the gradient with a warning; keep them in range.
    for (const Stop& stop : getStops())
        linear.setColorAt(std::clamp(stop.position, 0.0, 1.0),
                          QColor(std::clamp(stop.red, 0, 255), std::clamp(stop.green, 0, 255),
                                 std::clamp(stop.blue, 0, 255), std::clamp(stop.alpha, 0, 255)));
    return linear;
}

void Gradient_Linear::paint(Component* component) {
    QWidget* widget = component ? component->getWidget() : nullptr;
    if (widget == nullptr)
        return;
    QPainter painter(widget);
    painter.fillRect(widget->rect(), QBrush(gradient()));
}

} // namespace qt
} // namespace mvk::gui::background
