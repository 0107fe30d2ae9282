#pragma once
#include "gui/component/FlmButton.h"
#include "gui/component/qt/FloatingMenu.h"
#include "gui/component/qt/QtComponent.h"

#include <QPixmap>
#include <QToolButton>

#include <array>

namespace mvk::gui::component::qt {

// The first component child is the panel's content.
class FlmButton : public QtComponent<QToolButton, component::FlmButton> {
    Q_OBJECT
public:
    explicit FlmButton(const util::xml::Element& element);

    void hideDropDown() override { panel->hide(); }
    void onChildShown(Component* child) override;
    void onChildHidden(Component* child) override;
    FloatingMenu* dropDown() const { return panel; }

public slots:
    void isPressed();
    void isReleased();
    void isClicked(bool checked);

protected:
    bool loadImage(int slot, const std::string& resolvedPath) override;
    void prepareShow() override;
    void applyLabel() override;
    void paintEvent(QPaintEvent* event) override;

private:
    const QPixmap* currentImage() const;

    FloatingMenu* panel;
    std::array<QPixmap, ImageSlots> images;
};

} // namespace mvk::gui::component::qt
