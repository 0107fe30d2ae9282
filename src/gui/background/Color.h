#pragma once
#include "gui/Background.h"

#include <cstdint>

namespace mvk::gui::background {

// A plain colour ("type" = "color").
class Color : public Background {
public:
    explicit Color(const util::xml::Element& element);
    util::xml::Element writeXml() const override;

    class Factory : public BackgroundFactoryBase {
    public:
        Factory() : BackgroundFactoryBase("color") {}
        Background* create(const util::xml::Element& element) override;
    };

protected:
    int32_t red = 0;
    int32_t green = 0;
    int32_t blue = 0;
    int32_t alpha = 0;
};

} // namespace mvk::gui::background
