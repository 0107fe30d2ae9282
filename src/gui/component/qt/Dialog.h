#pragma once
#include "gui/component/Dialog.h"
#include "gui/component/qt/QtComponent.h"

#include <QDialog>

namespace mvk::gui::component::qt {

class Dialog : public QtComponent<component::Dialog, QDialog> {
public:
    explicit Dialog(const util::xml::Element& element);

    int32_t runModal() override;
    void setTopmost(bool topmost) override;
    void done(int result) override;

protected:
    void prepareShow() override;
    void applyLabel() override;
    bool event(QEvent* event) override;
    void applyVisibility(bool visible) override;

private:
    void applyWindowFlags();
    void applyIcon();
    void applyTabOrder();
};

} // namespace mvk::gui::component::qt
