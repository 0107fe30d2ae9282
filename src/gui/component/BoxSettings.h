#pragma once
// How a container lays out its children: direction, padding, stored margin, frame style and
// alignment, with the attributes that set them.
#include "gui/componentinterface/List.h"
#include "util/xml/Element.h"

#include <array>
#include <cstdint>
#include <string>

namespace mvk::gui {

class BoxSettings {
public:
    using Alignment = componentinterface::Box::Alignment;
    using Style = componentinterface::FrameStyle;

    // Which of the container attributes a kind understands; "padding" always.
    struct Features {
        bool direction = false;
        bool margin = false;
        bool frameStyle = false;
        bool alignment = false;
    };

    explicit BoxSettings(Features features) : features(features) {}

    void read(const util::xml::Element& element);
    void write(util::xml::Element& element) const;

    // "valign" words (top, bottom, center) or "halign" words (left, right, center); anything
    // else is not set. Shared with the label, which aligns its text by the same words.
    static Alignment readAlignment(const std::string& value, bool vertical);
    static const char* alignmentName(Alignment alignment);

    // Sides as the Box interface numbers them (top, right, bottom, left).
    int32_t getPadding(int side) const;
    void setPadding(int side, int32_t value);

    // Left, top, right, bottom.
    std::array<int32_t, 4> padding{};
    std::array<int32_t, 4> margin{};
    Style style = Style::None;
    Alignment valign = Alignment::NotSet;
    Alignment halign = Alignment::NotSet;
    bool vertical = true;

private:
    void readSides(const util::xml::Element& element, const char* name,
                   std::array<int32_t, 4>& sides);

    Features features;
};

} // namespace mvk::gui
