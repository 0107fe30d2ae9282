#pragma once
// The pieces every generated preference page is made of: a row with a caption and a control,
// the size attributes the controls share, and numbers written the way layouts write them.
#include "util/xml/Element.h"

#include <cstdint>
#include <string>

namespace mvk::qvn::core::configadaptor {

class PageLayout {
public:
    // A control of `kind` with "fixed" = "no", the 20-pixel minimum height and width and `id`;
    // its "tooltip" child is added by tooltipped().
    static util::xml::Element control(const std::string& kind, int32_t id);
    // Appends the "tooltip" child.
    static util::xml::Element& tooltipped(util::xml::Element& element, const std::string& tooltip);
    // A horizontal "list" holding the caption label and then `control`.
    static util::xml::Element row(const std::string& caption, const std::string& tooltip,
                                  util::xml::Element control);
    // The default stream formatting (six significant digits).
    static std::string number(double value);
    static std::string number(int32_t value);
};

} // namespace mvk::qvn::core::configadaptor
