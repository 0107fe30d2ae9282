#pragma once
#include "gui/componentinterface/Interface.h"

#include <cstdint>

namespace mvk::gui::componentinterface {

// A plot of curves over a fixed coordinate window.
class Graph : public Interface {
public:
    struct Point {
        double x = 0;
        double y = 0;
    };

    // Adds an empty curve drawn in that colour and returns its index.
    virtual int32_t addCurve(int32_t red, int32_t green, int32_t blue) = 0;
    virtual void removeCurve(int32_t curve) = 0;
    virtual void clearCurves() = 0;
    virtual int32_t getCurveCount() const = 0;
    // Appends a point to a curve; an unknown curve takes nothing.
    virtual void addPoint(int32_t curve, double x, double y) = 0;
    virtual void clearPoints(int32_t curve) = 0;
    virtual int32_t getPointCount(int32_t curve) const = 0;
    // The point, or (0, 0) when there is none.
    virtual Point getPoint(int32_t curve, int32_t index) const = 0;
    virtual void setBoundaries(double left, double right, double top, double bottom) = 0;
    virtual double getBoundaryLeft() const = 0;
    virtual double getBoundaryRight() const = 0;
    virtual double getBoundaryTop() const = 0;
    virtual double getBoundaryBottom() const = 0;
};

} // namespace mvk::gui::componentinterface
