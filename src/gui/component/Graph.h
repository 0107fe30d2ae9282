#pragma once
#include "gui/StdComponent.h"
#include "gui/componentinterface/Graph.h"

#include <array>
#include <vector>

namespace mvk::gui::component {

class Graph : public StdComponent, public componentinterface::Graph {
public:
    struct Curve {
        std::array<int32_t, 3> color{};
        std::vector<Point> points;
    };

    explicit Graph(const util::xml::Element& element);

    EventRange getEventRange() const override { return {0x4000, 0x4000}; }
    componentinterface::Interface* getInterface() override { return this; }
    util::xml::Element writeXml() const override;

    int32_t addCurve(int32_t red, int32_t green, int32_t blue) override;
    void removeCurve(int32_t curve) override;
    void clearCurves() override;
    int32_t getCurveCount() const override { return static_cast<int32_t>(curves.size()); }
    void addPoint(int32_t curve, double x, double y) override;
    void clearPoints(int32_t curve) override;
    int32_t getPointCount(int32_t curve) const override;
    Point getPoint(int32_t curve, int32_t index) const override;
    void setBoundaries(double left, double right, double top, double bottom) override;
    double getBoundaryLeft() const override { return left; }
    double getBoundaryRight() const override { return right; }
    double getBoundaryTop() const override { return top; }
    double getBoundaryBottom() const override { return bottom; }

    const std::vector<Curve>& getCurves() const { return curves; }

    class Factory : public ComponentFactory::Factory {
    public:
        Factory() : ComponentFactory::Factory("graph") {}
        Component* create(const util::xml::Element& element) override;
    };

private:
    bool hasCurve(int32_t curve) const { return curve >= 0 && curve < getCurveCount(); }

    double left = -1.0;
    double right = 1.0;
    double top = 1.0;
    double bottom = -1.0;
    std::vector<Curve> curves;
};

} // namespace mvk::gui::component
