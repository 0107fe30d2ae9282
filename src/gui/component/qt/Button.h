#pragma once
#include "gui/component/Button.h"
#include "gui/component/qt/QtComponent.h"

#include <QPixmap>
#include <QPushButton>

#include <array>

class QVBoxLayout;

namespace mvk::gui::component::qt {

class Button : public QtComponent<QPushButton, component::Button> {
    Q_OBJECT
public:
    explicit Button(const util::xml::Element& element);

    void setToggle(bool toggle) override;
    void setChecked(bool checked) override;
    bool isChecked() const override;
    void setFlat(bool flat) override;
    bool isFlat() const override { return component::Button::isFlat(); }
    void onChildShown(Component* child) override;
    void onChildHidden(Component* child) override;

    // The image drawn in the button's present state; null when it paints without images.
    const QPixmap* currentImage() const;

public slots:
    void isPressed();
    void isReleased();
    void isClicked(bool checked);

protected:
    bool loadImage(int slot, const std::string& resolvedPath) override;
    void imagesChanged() override;
    void prepareShow() override;
    void applyLabel() override;
    void paintEvent(QPaintEvent* event) override;
    void paintHighlight() override;

private:
    Component* currentContent() const { return child(getContentIndex()); }
    void paintFlat(QPainter& painter);
    void paintImage(QPainter& painter, const QPixmap& image);

    std::array<QPixmap, ImageSlots> images;
    QVBoxLayout* contentBox = nullptr;
};

} // namespace mvk::gui::component::qt
