#pragma once
// A check box bound to a bool of the tool.
#include "core/configadaptor/Node.h"

namespace mvk::qvn::core::configadaptor::element {

class CheckBox : public Node {
public:
    // `variable` belongs to the tool and must outlive the element; null binds nothing.
    CheckBox(int32_t id, std::string label, std::string tooltip, bool* variable,
             Callback* callback);

    // An item holding "1" or "0".
    util::xml::Element writeProfile() const override;
    void readProfile(const util::xml::Element& element) override;
    // A state change of the own check box stores the state.
    bool applyWidgetChange(const WidgetChange& change) override;
    // A captioned row with the control, which starts from the bound value.
    util::xml::Element pageLayout() const override;

    bool* getVariable() const { return variable; }

protected:
    const char* controlKind() const override { return "checkbox"; }
    void showValue(gui::Component& control) const override;

private:
    bool* variable;
};

} // namespace mvk::qvn::core::configadaptor::element
