#pragma once
#include "gui/component/Label.h"
#include "gui/component/qt/QtComponent.h"

#include <QLabel>

namespace mvk::gui::component::qt {

class Label : public QtComponent<QLabel, component::Label> {
public:
    explicit Label(const util::xml::Element& element);

    void setImage(const std::string& path) override;

protected:
    void applyLabel() override;
    void prepareShow() override;

private:
    void loadImage();
};

} // namespace mvk::gui::component::qt
