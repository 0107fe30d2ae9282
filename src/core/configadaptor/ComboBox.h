#pragma once
// A combo box bound to a string of the tool: the text of the chosen entry.
#include "core/configadaptor/Node.h"

namespace mvk::qvn::core::configadaptor::element {

class ComboBox : public Node {
public:
    // `variable` belongs to the tool and must outlive the element; null binds nothing.
    ComboBox(int32_t id, std::string label, std::string tooltip, std::string* variable,
             std::vector<std::string> items, Callback* callback);

    // An item of type "text" holding the chosen entry's text.
    util::xml::Element writeProfile() const override;
    void readProfile(const util::xml::Element& element) override;
    // An index change or activation of the own combo box stores the chosen entry's text.
    bool applyWidgetChange(const WidgetChange& change) override;
    // A captioned row with the combo box and one entry per item; the bound text is chosen
    // once the page is built.
    util::xml::Element pageLayout() const override;

    std::string* getVariable() const { return variable; }
    const std::vector<std::string>& getItems() const { return items; }
    void setItems(std::vector<std::string> newItems) { items = std::move(newItems); }

protected:
    const char* controlKind() const override { return "combobox"; }
    // The entries as they are now, with the bound text chosen.
    void showValue(gui::Component& control) const override;

private:
    std::string* variable;
    std::vector<std::string> items;
};

} // namespace mvk::qvn::core::configadaptor::element
