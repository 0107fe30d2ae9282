#pragma once
#include "gui/Background.h"

#include <cstdint>
#include <string>
#include <vector>

namespace mvk::gui::background {

// A linear gradient ("type" = "gradient-linear") between two points, with colour stops.
class Gradient_Linear : public Background {
public:
    enum class Spread { Pad, Reflect, Repeat };
    struct Stop {
        double position = 0;
        int32_t red = 0;
        int32_t green = 0;
        int32_t blue = 0;
        int32_t alpha = 255;
    };

    explicit Gradient_Linear(const util::xml::Element& element);
    util::xml::Element writeXml() const override;

    double getStartX() const { return startX; }
    double getStartY() const { return startY; }
    double getEndX() const { return endX; }
    double getEndY() const { return endY; }
    Spread getSpread() const { return spread; }
    // True for widget pixels, false for coordinates relative to the widget's size.
    bool isAbsolute() const { return absolute; }
    const std::vector<Stop>& getStops() const { return stops; }

    class Factory : public BackgroundFactoryBase {
    public:
        Factory() : BackgroundFactoryBase("gradient-linear") {}
        Background* create(const util::xml::Element& element) override;
    };

private:
    double startX = 0;
    double startY = 0.5;
    double endX = 1.0;
    double endY = 0.5;
    Spread spread = Spread::Pad;
    bool absolute = false;
    std::vector<Stop> stops;
};

} // namespace mvk::gui::background
