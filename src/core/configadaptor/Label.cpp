#include "core/configadaptor/Label.h"

namespace mvk::qvn::core::configadaptor::element {

Label::Label(int32_t id, std::string label, int32_t minimumHeight, Callback* callback)
    : Node(id, std::move(label), "", callback), minimumHeight(minimumHeight) {}

} // namespace mvk::qvn::core::configadaptor::element
