#include "gui/component/Button.h"

#include "gui/Attributes.h"

namespace mvk::gui::component {

namespace {

using util::xml::Element;

constexpr std::array<const char*, componentinterface::Button::ImageSlots> imageAttributes = {
    "img_default",        "img_pressed",      "img_hover",   "img_toggle_default",
    "img_toggle_pressed", "img_toggle_hover", "img_disabled"};

void writeColor(Element& element, const char* name, const Button::Color& color) {
    if (color != Button::Color{})
        Attributes::writeFour(element, name, color);
}

} // namespace

Button::Button(const Element& element) : StdComponent("button", element) {
    for (size_t slot = 0; slot < imagePaths.size(); ++slot)
        Attributes::readText(element, imageAttributes[slot], imagePaths[slot]);
    toggle = element.attribute("toggle") == "yes";
    flat = element.attribute("flat") == "yes";
    Attributes::readFour(element, "flatcolor_default", flatDefault);
    Attributes::readFour(element, "flatcolor_pressed", flatPressed);
    Attributes::readFour(element, "flatcolor_hover", flatHover);
    buildChildren(element);
}

Element Button::writeXml() const {
    Element element = StdComponent::writeXml();
    for (size_t slot = 0; slot < imagePaths.size(); ++slot)
        if (!imagePaths[slot].empty())
            element.attribute(imageAttributes[slot]) = imagePaths[slot];
    if (toggle)
        element.attribute("toggle") = "yes";
    if (flat)
        element.attribute("flat") = "yes";
    writeColor(element, "flatcolor_default", flatDefault);
    writeColor(element, "flatcolor_pressed", flatPressed);
    writeColor(element, "flatcolor_hover", flatHover);
    writeChildren(element);
    return element;
}

void Button::setImage(int slot, const std::string& path) {
    if (!validSlot(slot))
        return;
    imagePaths[static_cast<size_t>(slot)] = path;
    if (loadImage(slot, resolvePath(path)))
        imageLoaded[static_cast<size_t>(slot)] = true;
    imagesChanged();
    repaint();
}

void Button::clearImages() {
    imagePaths = {};
    imageLoaded = {};
    imagesChanged();
    repaint();
}

bool Button::hasImages() const {
    const bool plain = imageLoaded[ImageDefault] && imageLoaded[ImagePressed];
    if (!toggle)
        return plain;
    return plain && imageLoaded[ImageToggleDefault] && imageLoaded[ImageTogglePressed];
}

void Button::loadPendingImages() {
    for (int slot = 0; slot < ImageSlots; ++slot) {
        const auto index = static_cast<size_t>(slot);
        if (!imagePaths[index].empty() && !imageLoaded[index] &&
            loadImage(slot, resolvePath(imagePaths[index])))
            imageLoaded[index] = true;
    }
    imagesChanged();
}

std::string Button::getImagePath(int slot) const {
    return validSlot(slot) ? imagePaths[static_cast<size_t>(slot)] : std::string();
}

bool Button::isImageLoaded(int slot) const {
    return validSlot(slot) && imageLoaded[static_cast<size_t>(slot)];
}

void Button::setFlatColorDefault(int32_t r, int32_t g, int32_t b, int32_t a) {
    flatDefault = {r, g, b, a};
    repaint();
}

void Button::setFlatColorPressed(int32_t r, int32_t g, int32_t b, int32_t a) {
    flatPressed = {r, g, b, a};
    repaint();
}

void Button::setFlatColorHover(int32_t r, int32_t g, int32_t b, int32_t a) {
    flatHover = {r, g, b, a};
    repaint();
}

void Button::advanceContent() {
    contentIndex = childCount() > 0 ? (contentIndex + 1) % childCount() : 0;
}

} // namespace mvk::gui::component
