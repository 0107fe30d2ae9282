#pragma once
// A one-line text field bound to a string of the tool.
#include "core/configadaptor/Node.h"

namespace mvk::qvn::core::configadaptor::element {

class TextBox : public Node {
public:
    // `variable` belongs to the tool and must outlive the element; null binds nothing.
    TextBox(int32_t id, std::string label, std::string tooltip, std::string* variable,
            Callback* callback);

    // An item of type "text" holding the text.
    util::xml::Element writeProfile() const override;
    void readProfile(const util::xml::Element& element) override;
    // A finished edit of the own text box stores the text.
    bool applyWidgetChange(const WidgetChange& change) override;
    // A captioned row with the control, which starts from the bound value.
    util::xml::Element pageLayout() const override;

    std::string* getVariable() const { return variable; }

protected:
    const char* controlKind() const override { return "textbox"; }
    void showValue(gui::Component& control) const override;

private:
    std::string* variable;
};

} // namespace mvk::qvn::core::configadaptor::element
