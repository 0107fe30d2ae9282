#include "gui/component/qt/Button.h"

#include "gui/LayoutGuard.h"
#include "gui/component/qt/PixmapLoader.h"

#include <QStyleOptionFocusRect>
#include <QStylePainter>
#include <QVBoxLayout>

namespace mvk::gui::component {

Component* Button::Factory::create(const util::xml::Element& element) {
    return LayoutGuard::build<qt::Button>(element);
}

namespace qt {

namespace {

QColor colorOf(const component::Button::Color& color) {
    return {std::clamp(color[0], 0, 255), std::clamp(color[1], 0, 255),
            std::clamp(color[2], 0, 255), std::clamp(color[3], 0, 255)};
}

} // namespace

Button::Button(const util::xml::Element& element) : QtComponent(element) {
    QPushButton::setCheckable(isToggle());
    contentBox = new QVBoxLayout(this);
    contentBox->setContentsMargins(0, 0, 0, 0);
    contentBox->setSpacing(0);
    applyLabel();
    connect(this, &QPushButton::pressed, this, &Button::isPressed);
    connect(this, &QPushButton::released, this, &Button::isReleased);
    connect(this, &QPushButton::clicked, this, &Button::isClicked);
}

void Button::applyLabel() {
    setText(QString::fromStdString(getLabel()));
}

void Button::setToggle(bool toggle) {
    component::Button::setToggle(toggle);
    QPushButton::setCheckable(toggle);
    update();
}

void Button::setChecked(bool checked) {
    component::Button::setChecked(checked);
    QPushButton::setChecked(checked);
}

bool Button::isChecked() const {
    return QPushButton::isChecked();
}

void Button::setFlat(bool flat) {
    component::Button::setFlat(flat);
    update();
}

bool Button::loadImage(int slot, const std::string& resolvedPath) {
    const QPixmap loaded = PixmapLoader::load(resolvedPath);
    if (loaded.isNull())
        return false;
    images[static_cast<size_t>(slot)] = loaded;
    return true;
}

// An image button is exactly as large as its image. Fixed when the images arrive rather than
// while painting, so painting never changes the layout.
void Button::imagesChanged() {
    const QPixmap& image = images[ImageDefault];
    if (hasImages() && !image.isNull())
        setFixedSize(image.deviceIndependentSize().toSize());
    else
        applyLimits();
}

void Button::prepareShow() {
    // Aliases are registered after the window is built, so the images are loaded now.
    loadPendingImages();
    if (Component* content = currentContent())
        content->show();
}

void Button::onChildShown(Component* child) {
    if (child == currentContent() && child->getWidget() != nullptr)
        contentBox->addWidget(child->getWidget());
}

void Button::onChildHidden(Component* child) {
    if (child->getWidget() != nullptr)
        contentBox->removeWidget(child->getWidget());
}

void Button::isPressed() {
    sendEvent(EventPressed);
}

void Button::isReleased() {
    sendEvent(EventReleased);
}

void Button::isClicked(bool checked) {
    component::Button::setChecked(checked);
    if (childCount() > 0) {
        currentContent()->hide();
        advanceContent();
        currentContent()->show();
    }
    sendEvent(EventClicked);
}

const QPixmap* Button::currentImage() const {
    if (!hasImages())
        return nullptr;
    if (!QPushButton::isEnabled() && isImageLoaded(ImageDisabled))
        return &images[ImageDisabled];
    const bool toggled = isToggle() && isChecked();
    const int base = toggled ? ImageToggleDefault : ImageDefault;
    int slot = base;
    if (isDown())
        slot = base + 1;
    else if (underMouse() && isImageLoaded(base + 2))
        slot = base + 2;
    return &images[static_cast<size_t>(slot)];
}

void Button::paintFlat(QPainter& painter) {
    Color color = getFlatColorDefault();
    if (isDown() && underMouse())
        color = getFlatColorPressed();
    else if (underMouse())
        color = getFlatColorHover();
    painter.fillRect(rect(), colorOf(color));
}

void Button::paintImage(QPainter& painter, const QPixmap& image) {
    painter.drawPixmap(0, 0, image);
    if (!hasFocus())
        return;
    QStyleOptionFocusRect option;
    option.initFrom(this);
    style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
}

void Button::paintEvent(QPaintEvent* event) {
    paintBackground();
    const QPixmap* image = currentImage();
    if (!isFlat() && image == nullptr) {
        QPushButton::paintEvent(event);
    } else {
        QPainter painter(this);
        if (isFlat())
            paintFlat(painter);
        if (image != nullptr)
            paintImage(painter, *image);
    }
    paintHighlight();
}

void Button::paintHighlight() {
    if (!isHighlighted())
        return;
    QPainter painter(this);
    painter.setOpacity(0.3);
    painter.fillRect(rect(), QColor(100, 100, 255));
}

} // namespace qt
} // namespace mvk::gui::component
