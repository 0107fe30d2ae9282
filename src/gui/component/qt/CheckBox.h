#pragma once
#include "gui/component/CheckBox.h"
#include "gui/component/qt/QtComponent.h"

#include <QCheckBox>

namespace mvk::gui::component::qt {

class CheckBox : public QtComponent<QCheckBox, component::CheckBox> {
    Q_OBJECT
public:
    explicit CheckBox(const util::xml::Element& element);

    void setState(int32_t state) override;
    bool isChecked() const override { return component::CheckBox::isChecked(); }
    void setChecked(bool checked) override { setState(checked ? Checked : Unchecked); }
    bool isTristate() const override { return component::CheckBox::isTristate(); }
    void setTristate(bool tristate) override;

public slots:
    void onStateChange(int state);

protected:
    void applyLabel() override;

private:
    // A state set by the code itself sends no event; only the user's clicks do.
    bool settingState = false;
};

} // namespace mvk::gui::component::qt
