#pragma once
#include "gui/component/Group.h"
#include "gui/component/qt/QtComponent.h"

#include <QGroupBox>

namespace mvk::gui::component::qt {

class Group : public QtComponent<QGroupBox, component::Group> {
public:
    explicit Group(const util::xml::Element& element);

protected:
    void applyLabel() override;
    void boxChanged() override { applyBoxSettings(); }
};

} // namespace mvk::gui::component::qt
