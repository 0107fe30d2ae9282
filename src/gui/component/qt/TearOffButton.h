#pragma once
#include <QPushButton>

namespace mvk::gui::component::qt {

class FloatingMenu;

// The strip at the top of a floating menu; a click tears the panel's content off.
class TearOffButton : public QPushButton {
    Q_OBJECT
public:
    static constexpr int StripHeight = 12;

    explicit TearOffButton(FloatingMenu* menu);

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace mvk::gui::component::qt
