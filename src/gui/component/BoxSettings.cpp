#include "gui/component/BoxSettings.h"

#include "gui/Attributes.h"

#include <string>

namespace mvk::gui {

namespace {

using util::xml::Element;
using Alignment = BoxSettings::Alignment;
using Style = BoxSettings::Style;

// Interface side (top, right, bottom, left) to the stored order (left, top, right, bottom).
int storedIndex(int side) {
    switch (side) {
    case componentinterface::Box::Top:
        return 1;
    case componentinterface::Box::Right:
        return 2;
    case componentinterface::Box::Bottom:
        return 3;
    case componentinterface::Box::Left:
        return 0;
    default:
        return -1;
    }
}

Style readStyle(const std::string& value, Style fallback) {
    if (value == "normal")
        return Style::Normal;
    if (value == "none")
        return Style::None;
    if (value == "thin")
        return Style::Thin;
    if (value == "sunken")
        return Style::Sunken;
    return fallback;
}

const char* styleName(Style style) {
    switch (style) {
    case Style::Normal:
        return "normal";
    case Style::Thin:
        return "thin";
    case Style::Sunken:
        return "sunken";
    case Style::Raised:
        return "raised";
    case Style::None:
        break;
    }
    return "none";
}

bool anySet(const std::array<int32_t, 4>& sides) {
    return sides[0] != 0 || sides[1] != 0 || sides[2] != 0 || sides[3] != 0;
}

} // namespace

BoxSettings::Alignment BoxSettings::readAlignment(const std::string& value, bool vertical) {
    if (value == "center")
        return Alignment::Center;
    if (vertical)
        return value == "top"      ? Alignment::Top
               : value == "bottom" ? Alignment::Bottom
                                   : Alignment::NotSet;
    return value == "left"    ? Alignment::Left
           : value == "right" ? Alignment::Right
                              : Alignment::NotSet;
}

const char* BoxSettings::alignmentName(Alignment alignment) {
    switch (alignment) {
    case Alignment::Top:
        return "top";
    case Alignment::Bottom:
        return "bottom";
    case Alignment::Left:
        return "left";
    case Alignment::Right:
        return "right";
    case Alignment::Center:
        return "center";
    case Alignment::NotSet:
        break;
    }
    return "";
}

void BoxSettings::readSides(const Element& element, const char* name,
                            std::array<int32_t, 4>& sides) {
    const std::string base = name;
    Attributes::readFour(element, base, sides);
    Attributes::readInt(element, base + "-left", sides[0]);
    Attributes::readInt(element, base + "-top", sides[1]);
    Attributes::readInt(element, base + "-right", sides[2]);
    Attributes::readInt(element, base + "-bottom", sides[3]);
    for (int32_t& side : sides)
        side = Attributes::clampExtent(side);
}

void BoxSettings::read(const Element& element) {
    readSides(element, "padding", padding);
    if (features.margin)
        readSides(element, "margin", margin);
    if (features.direction)
        vertical = element.attribute("type") != "horizontal";
    if (features.frameStyle)
        style = readStyle(element.attribute("style"), style);
    if (features.alignment) {
        valign = readAlignment(element.attribute("valign"), true);
        halign = readAlignment(element.attribute("halign"), false);
    }
}

void BoxSettings::write(Element& element) const {
    if (anySet(padding))
        Attributes::writeFour(element, "padding", padding);
    if (features.margin && anySet(margin))
        Attributes::writeFour(element, "margin", margin);
    if (features.direction && !vertical)
        element.attribute("type") = "horizontal";
    if (features.frameStyle && style != Style::None)
        element.attribute("style") = styleName(style);
    if (features.alignment && valign != Alignment::NotSet)
        element.attribute("valign") = alignmentName(valign);
    if (features.alignment && halign != Alignment::NotSet)
        element.attribute("halign") = alignmentName(halign);
}

int32_t BoxSettings::getPadding(int side) const {
    const int index = storedIndex(side);
    return index < 0 ? 0 : padding[static_cast<size_t>(index)];
}

void BoxSettings::setPadding(int side, int32_t value) {
    const int index = storedIndex(side);
    if (index >= 0)
        padding[static_cast<size_t>(index)] = Attributes::clampExtent(value);
}

} // namespace mvk::gui
