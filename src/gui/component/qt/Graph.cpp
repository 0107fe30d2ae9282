#include "gui/component/qt/Graph.h"

#include "gui/LayoutGuard.h"

#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace mvk::gui::component {

Component* Graph::Factory::create(const util::xml::Element& element) {
    return LayoutGuard::build<qt::Graph>(element);
}

namespace qt {

namespace {

// More grid lines than this cannot be told apart on any screen; such a range draws no grid.
constexpr double MostGridLines = 4096;

// 0 .. extent for value running from `from` to `to`; a pair of equal ends maps onto 0.
double mapLinear(double value, double from, double to, int extent) {
    if (from == to)
        return 0;
    return (value - from) / (to - from) * extent;
}

// Calls `draw` for every whole number from the smaller end minus 1 to the larger plus 1.
template <class Draw> void forWholeNumbers(double a, double b, Draw draw) {
    const double first = std::ceil(std::min(a, b) - 1);
    const double last = std::floor(std::max(a, b) + 1);
    if (!std::isfinite(first) || !std::isfinite(last) || last - first > MostGridLines)
        return;
    for (double at = first; at <= last; ++at)
        draw(at);
}

} // namespace

Graph::Graph(const util::xml::Element& element) : QtComponent(element) {}

QPointF Graph::toWidget(double x, double y) const {
    return {mapLinear(x, getBoundaryLeft(), getBoundaryRight(), width()),
            mapLinear(y, getBoundaryTop(), getBoundaryBottom(), height())};
}

void Graph::paintGrid(QPainter& painter) const {
    painter.setPen(QPen(QColor(200, 200, 200), 0.5));
    forWholeNumbers(getBoundaryLeft(), getBoundaryRight(), [&](double x) {
        const double at = toWidget(x, 0).x();
        painter.drawLine(QPointF(at, 0), QPointF(at, height()));
    });
    forWholeNumbers(getBoundaryBottom(), getBoundaryTop(), [&](double y) {
        const double at = toWidget(0, y).y();
        painter.drawLine(QPointF(0, at), QPointF(width(), at));
    });
}

void Graph::paintAxes(QPainter& painter) const {
    painter.setPen(QPen(QColor(50, 50, 50)));
    const QPointF origin = toWidget(0, 0);
    painter.drawLine(QPointF(origin.x(), 0), QPointF(origin.x(), height()));
    painter.drawLine(QPointF(0, origin.y()), QPointF(width(), origin.y()));
}

void Graph::paintCurves(QPainter& painter) const {
    for (const Curve& curve : getCurves()) {
        if (curve.points.empty())
            continue;
        QPainterPath path(toWidget(curve.points.front().x, curve.points.front().y));
        for (size_t i = 1; i < curve.points.size(); ++i)
            path.lineTo(toWidget(curve.points[i].x, curve.points[i].y));
        painter.setPen(
            QPen(QColor(std::clamp(curve.color[0], 0, 255), std::clamp(curve.color[1], 0, 255),
                        std::clamp(curve.color[2], 0, 255))));
        painter.drawPath(path);
    }
}

void Graph::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(rect(), Qt::white);
    paintGrid(painter);
    paintAxes(painter);
    paintCurves(painter);
    painter.end();
    paintHighlight();
}

void Graph::paintHighlight() {
    if (!isHighlighted())
        return;
    QPainter painter(this);
    painter.setOpacity(0.3);
    painter.fillRect(rect(), QColor(100, 100, 255));
}

} // namespace qt
} // namespace mvk::gui::component
