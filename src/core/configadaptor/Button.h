#pragma once
// A push button: no value, only its callback when clicked.
#include "core/configadaptor/Node.h"

namespace mvk::qvn::core::configadaptor::element {

class Button : public Node {
public:
    Button(int32_t id, std::string label, std::string tooltip, Callback* callback);

    // A click of the own button runs the callback; no change is announced.
    bool applyWidgetChange(const WidgetChange& change) override;
    // A bare button.
    util::xml::Element pageLayout() const override;

protected:
    const char* controlKind() const override { return "button"; }
};

} // namespace mvk::qvn::core::configadaptor::element
