#pragma once
// A line of text on a page; it holds no value and stores nothing in profiles.
#include "core/configadaptor/Node.h"

namespace mvk::qvn::core::configadaptor::element {

class Label : public Node {
public:
    Label(int32_t id, std::string label, int32_t minimumHeight, Callback* callback);

    int32_t getMinimumHeight() const { return minimumHeight; }
    // A "label" holding the text, at least the minimum height tall.
    util::xml::Element pageLayout() const override;

private:
    int32_t minimumHeight;
};

} // namespace mvk::qvn::core::configadaptor::element
