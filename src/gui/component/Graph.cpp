#include "gui/component/Graph.h"

#include "gui/Attributes.h"

#include <sstream>

namespace mvk::gui::component {

namespace {

using util::xml::Element;

Graph::Curve readCurve(const Element& element) {
    Graph::Curve curve;
    Attributes::readInt(element, "r", curve.color[0]);
    Attributes::readInt(element, "g", curve.color[1]);
    Attributes::readInt(element, "b", curve.color[2]);
    for (int i = 0; i < element.childCount(); ++i) {
        const Element& point = element.child(i);
        if (point.type() != Element::KindTag || point.name() != "point")
            continue;
        Graph::Point read;
        Attributes::readReal(point, "x", read.x);
        Attributes::readReal(point, "y", read.y);
        curve.points.push_back(read);
    }
    return curve;
}

Element writeCurve(const Graph::Curve& curve) {
    util::xml::Tag element("curve");
    element.attribute("r") = std::to_string(curve.color[0]);
    element.attribute("g") = std::to_string(curve.color[1]);
    element.attribute("b") = std::to_string(curve.color[2]);
    for (const Graph::Point& point : curve.points) {
        util::xml::Tag written("point");
        written.attribute("x") = Attributes::realText(point.x);
        written.attribute("y") = Attributes::realText(point.y);
        element.addChild(written);
    }
    return element;
}

} // namespace

Graph::Graph(const Element& element) : StdComponent("graph", element) {
    Attributes::readReal(element, "boundary_left", left);
    Attributes::readReal(element, "boundary_right", right);
    Attributes::readReal(element, "boundary_top", top);
    Attributes::readReal(element, "boundary_bottom", bottom);
    for (int i = 0; i < element.childCount(); ++i) {
        const Element& child = element.child(i);
        if (child.type() == Element::KindTag && child.name() == "curve")
            curves.push_back(readCurve(child));
    }
}

Element Graph::writeXml() const {
    Element element = StdComponent::writeXml();
    if (left != -1.0)
        element.attribute("boundary_left") = Attributes::realText(left);
    if (right != 1.0)
        element.attribute("boundary_right") = Attributes::realText(right);
    if (top != 1.0)
        element.attribute("boundary_top") = Attributes::realText(top);
    if (bottom != -1.0)
        element.attribute("boundary_bottom") = Attributes::realText(bottom);
    for (const Curve& curve : curves)
        element.addChild(writeCurve(curve));
    return element;
}

int32_t Graph::addCurve(int32_t red, int32_t green, int32_t blue) {
    curves.push_back({{red, green, blue}, {}});
    repaint();
    return getCurveCount() - 1;
}

void Graph::removeCurve(int32_t curve) {
    if (!hasCurve(curve))
        return;
    curves.erase(curves.begin() + curve);
    repaint();
}

void Graph::clearCurves() {
    curves.clear();
    repaint();
}

void Graph::addPoint(int32_t curve, double x, double y) {
    if (!hasCurve(curve))
        return;
    curves[static_cast<size_t>(curve)].points.push_back({x, y});
    repaint();
}

void Graph::clearPoints(int32_t curve) {
    if (!hasCurve(curve))
        return;
    curves[static_cast<size_t>(curve)].points.clear();
    repaint();
}

int32_t Graph::getPointCount(int32_t curve) const {
    return hasCurve(curve) ? static_cast<int32_t>(curves[static_cast<size_t>(curve)].points.size())
                           : 0;
}

Graph::Point Graph::getPoint(int32_t curve, int32_t index) const {
    if (index < 0 || index >= getPointCount(curve))
        return {};
    return curves[static_cast<size_t>(curve)].points[static_cast<size_t>(index)];
}

void Graph::setBoundaries(double newLeft, double newRight, double newTop, double newBottom) {
    left = newLeft;
    right = newRight;
    top = newTop;
    bottom = newBottom;
    repaint();
}

} // namespace mvk::gui::component
