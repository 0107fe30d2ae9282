#include "core/configadaptor/Spinner.h"

#include "core/configadaptor/ProfileFormat.h"

namespace mvk::qvn::core::configadaptor::element {

Spinner::Spinner(int32_t id, std::string label, std::string tooltip, double* variable,
                 double minimum, double maximum, double step, int32_t triggerLength,
                 Callback* callback)
    : Node(id, std::move(label), std::move(tooltip), callback), variable(variable),
      minimum(minimum), maximum(maximum), step(step), triggerLength(triggerLength) {}

util::xml::Element Spinner::writeProfile() const {
    if (variable == nullptr)
        return {};
    return ProfileFormat::makeItem(getId(), getLabel(), "blob",
                                   ProfileFormat::encodeBlob(*variable));
}

void Spinner::readProfile(const util::xml::Element& element) {
    const util::xml::Element* item = findProfileItem(element);
    if (item == nullptr || variable == nullptr)
        return;
    ProfileFormat::readDouble(*item, *variable);
    refreshPages();
}

bool Spinner::applyWidgetChange(const WidgetChange& change) {
    if (change.code != ValueCommitted || !isFromOwnControl(change, "spinner") ||
        variable == nullptr)
        return false;
    *variable = change.value;
    announceUserChange();
    return true;
}

} // namespace mvk::qvn::core::configadaptor::element
