#include "gui/component/FlmButton.h"

#include "gui/Attributes.h"

#include <cstdlib>

namespace mvk::gui::component {

namespace {

constexpr std::array<const char*, componentinterface::FlmButton::ImageSlots> imageAttributes = {
    "img_default", "img_pressed", "img_hover"};

} // namespace

FlmButton::FlmButton(const util::xml::Element& element) : StdComponent("flmbutton", element) {
    for (size_t slot = 0; slot < imagePaths.size(); ++slot)
        Attributes::readText(element, imageAttributes[slot], imagePaths[slot]);
    Attributes::readFour(element, "focusmarkercolor", focusMarkerColor);
    // A plain decimal conversion: anything unreadable is 0.
    if (element.hasAttribute("delay"))
        delay = static_cast<int32_t>(std::strtol(element.attribute("delay").c_str(), nullptr, 10));
    buildChildren(element);
}

util::xml::Element FlmButton::writeXml() const {
    util::xml::Element element = StdComponent::writeXml();
    for (size_t slot = 0; slot < imagePaths.size(); ++slot)
        if (!imagePaths[slot].empty())
            element.attribute(imageAttributes[slot]) = imagePaths[slot];
    if (focusMarkerColor != Color{0, 0, 0, 255})
        Attributes::writeFour(element, "focusmarkercolor", focusMarkerColor);
    if (delay != 0)
        element.attribute("delay") = std::to_string(delay);
    writeChildren(element);
    return element;
}

void FlmButton::setImage(int slot, const std::string& path) {
    if (!validSlot(slot))
        return;
    imagePaths[static_cast<size_t>(slot)] = path;
    if (loadImage(slot, resolvePath(path)))
        imageLoaded[static_cast<size_t>(slot)] = true;
    repaint();
}

void FlmButton::clearImages() {
    imagePaths = {};
    imageLoaded = {};
    repaint();
}

bool FlmButton::hasImages() const {
    return imageLoaded[ImageDefault] && imageLoaded[ImagePressed];
}

void FlmButton::loadPendingImages() {
    for (int slot = 0; slot < ImageSlots; ++slot) {
        const auto index = static_cast<size_t>(slot);
        if (!imagePaths[index].empty() && !imageLoaded[index] &&
            loadImage(slot, resolvePath(imagePaths[index])))
            imageLoaded[index] = true;
    }
}

bool FlmButton::isImageLoaded(int slot) const {
    return validSlot(slot) && imageLoaded[static_cast<size_t>(slot)];
}

std::string FlmButton::getImagePath(int slot) const {
    return validSlot(slot) ? imagePaths[static_cast<size_t>(slot)] : std::string();
}

} // namespace mvk::gui::component
