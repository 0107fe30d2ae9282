#include "core/configadaptor/WidgetChange.h"

#include "gui/Component.h"
#include "gui/componentinterface/CheckBox.h"
#include "gui/componentinterface/ComboBox.h"
#include "gui/componentinterface/Spinner.h"
#include "gui/componentinterface/TextBox.h"

namespace mvk::qvn::core::configadaptor {

WidgetChange WidgetChange::of(int32_t code, gui::Component& sender) {
    namespace kind = gui::componentinterface;
    WidgetChange change;
    change.code = code;
    change.senderId = sender.getId();
    change.senderKind = sender.getKindName();
    change.senderLabel = sender.getLabel();
    if (const auto* spinner = gui::interfaceOf<kind::Spinner>(&sender)) {
        change.value = spinner->getValue();
        change.rounded = spinner->getValueRounded();
    } else if (const auto* checkBox = gui::interfaceOf<kind::CheckBox>(&sender)) {
        change.checked = checkBox->isChecked();
    } else if (const auto* comboBox = gui::interfaceOf<kind::ComboBox>(&sender)) {
        change.text = comboBox->getCurrentText();
    } else if (const auto* textBox = gui::interfaceOf<kind::TextBox>(&sender)) {
        change.text = textBox->getText();
    }
    return change;
}

} // namespace mvk::qvn::core::configadaptor
