#include "gui/component/qt/FlmButton.h"

#include "gui/LayoutGuard.h"
#include "gui/component/qt/PixmapLoader.h"

#include <QPainter>

namespace mvk::gui::component {

Component* FlmButton::Factory::create(const util::xml::Element& element) {
    return LayoutGuard::build<qt::FlmButton>(element);
}

namespace qt {

FlmButton::FlmButton(const util::xml::Element& element)
    : QtComponent(element), panel(new FloatingMenu(this)) {
    setMenu(panel);
    setPopupMode(QToolButton::MenuButtonPopup);
    applyLabel();
    connect(this, &QToolButton::pressed, this, &FlmButton::isPressed);
    connect(this, &QToolButton::released, this, &FlmButton::isReleased);
    connect(this, &QToolButton::clicked, this, &FlmButton::isClicked);
}

void FlmButton::applyLabel() {
    const QString text = QString::fromStdString(getLabel());
    setText(text);
    panel->setTitle(text);
}

void FlmButton::prepareShow() {
    // Aliases are registered after the window is built, so the images are loaded now.
    loadPendingImages();
    if (childCount() > 0)
        child(0)->show();
}

void FlmButton::onChildShown(Component* child) {
    if (child == this->child(0))
        panel->setContent(child->getWidget());
}

void FlmButton::onChildHidden(Component* child) {
    if (child == this->child(0))
        panel->setContent(nullptr);
}

bool FlmButton::loadImage(int slot, const std::string& resolvedPath) {
    const QPixmap loaded = PixmapLoader::load(resolvedPath);
    if (loaded.isNull())
        return false;
    images[static_cast<size_t>(slot)] = loaded;
    return true;
}

void FlmButton::isPressed() {
    sendEvent(EventPressed);
}

void FlmButton::isReleased() {
    sendEvent(EventReleased);
}

// A click has no event of its own; the owner listens to press and release.
void FlmButton::isClicked(bool) {}

const QPixmap* FlmButton::currentImage() const {
    if (!hasImages())
        return nullptr;
    if (isDown())
        return &images[ImagePressed];
    if (underMouse() && isImageLoaded(ImageHover))
        return &images[ImageHover];
    return &images[ImageDefault];
}

// With images the button is its picture; keyboard focus is then marked by a frame in the
// focus-marker colour.
void FlmButton::paintEvent(QPaintEvent* event) {
    paintBackground();
    const QPixmap* image = currentImage();
    if (image == nullptr) {
        QToolButton::paintEvent(event);
    } else {
        QPainter painter(this);
        painter.drawPixmap(0, 0, *image);
        if (hasFocus()) {
            const Color marker = getFocusMarkerColor();
            painter.setPen(QColor(std::clamp(marker[0], 0, 255), std::clamp(marker[1], 0, 255),
                                  std::clamp(marker[2], 0, 255), std::clamp(marker[3], 0, 255)));
            painter.drawRect(rect().adjusted(0, 0, -1, -1));
        }
    }
    paintHighlight();
}

} // namespace qt
} // namespace mvk::gui::component
