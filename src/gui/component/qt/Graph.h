#pragma once
#include "gui/component/Graph.h"
#include "gui/component/qt/QtComponent.h"

#include <QPointF>
#include <QWidget>

namespace mvk::gui::component::qt {

class Graph : public QtComponent<QWidget, component::Graph> {
public:
    explicit Graph(const util::xml::Element& element);

    // Where a graph coordinate lands in the widget.
    QPointF toWidget(double x, double y) const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void paintHighlight() override;

private:
    void paintGrid(QPainter& painter) const;
    void paintAxes(QPainter& painter) const;
    void paintCurves(QPainter& painter) const;
};

} // namespace mvk::gui::component::qt
