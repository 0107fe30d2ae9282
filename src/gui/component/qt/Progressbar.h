#pragma once
#include "gui/component/Progressbar.h"
#include "gui/component/qt/QtComponent.h"

#include <QProgressBar>

namespace mvk::gui::component::qt {

class Progressbar : public QtComponent<component::Progressbar, QProgressBar> {
public:
    explicit Progressbar(const util::xml::Element& element);
    void setProgress(double progress) override;
};

} // namespace mvk::gui::component::qt
