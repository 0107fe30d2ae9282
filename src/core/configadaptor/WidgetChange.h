#pragma once
// What a page reports when the user acted on one of its controls.
#include <cstdint>
#include <string>

namespace mvk::gui {
class Component;
}

namespace mvk::qvn::core::configadaptor {

// The event code, the sending component's id, kind name and label, and the value read from that
// component when the event arrived.
struct WidgetChange {
    int32_t code = 0;
    int32_t senderId = -1;
    std::string senderKind;
    std::string senderLabel;
    double value = 0.0;  // a spinner's value
    int32_t rounded = 0; // a spinner's value rounded the way the spinner rounds it
    bool checked = false;
    std::string text; // a combo box's chosen entry or a text box's text

    // Reads the sender's identity and, for the value kinds, its present value.
    static WidgetChange of(int32_t code, gui::Component& sender);
};

} // namespace mvk::qvn::core::configadaptor
