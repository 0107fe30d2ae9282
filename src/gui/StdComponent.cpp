#include "gui/StdComponent.h"

#include "gui/Attributes.h"
#include "gui/Background.h"

#include <string_view>

namespace mvk::gui {

namespace {

using util::xml::Element;

bool isSpecialChild(const std::string& name) {
    return name == "tooltip" || name == "popup" || name == "style" || name == "background" ||
           name == "menu";
}

void replaceAll(std::string& text, const std::string& alias, const std::string& path) {
    if (alias.empty())
        return;
    for (size_t at = text.find(alias); at != std::string::npos;
         at = text.find(alias, at + path.size()))
        text.replace(at, alias.size(), path);
}

const StdComponent* asStd(const Component* component) {
    return dynamic_cast<const StdComponent*>(component);
}

} // namespace

StdComponent::StdComponent(const std::string& kindName, const Element& element)
    : Component(kindName) {
    readStandard(element);
}

StdComponent::~StdComponent() {
    util::destroy(background);
}

void StdComponent::readStandard(const Element& element) {
    readSizes(element);
    readFixed(element);
    readFlags(element);
    readSpecialChildren(element);
}

void StdComponent::readSizes(const Element& element) {
    using namespace Attributes;
    readInt(element, "id", id);
    readInt(element, "left", position.left);
    readInt(element, "top", position.top);
    readInt(element, "width", desiredSize.width);
    readInt(element, "height", desiredSize.height);
    readInt(element, "desiredwidth", desiredSize.width);
    readInt(element, "desiredheight", desiredSize.height);
    position = {clampOffset(position.left), clampOffset(position.top)};
    desiredSize = {clampExtent(desiredSize.width), clampExtent(desiredSize.height)};
    readInt(element, "minwidth", minimumSize.width);
    readInt(element, "minheight", minimumSize.height);
    readInt(element, "maxwidth", maximumSize.width);
    readInt(element, "maxheight", maximumSize.height);
    minimumSize = {clampExtent(minimumSize.width), clampExtent(minimumSize.height)};
    maximumSize = {clampLimit(maximumSize.width), clampLimit(maximumSize.height)};
    // Only the minimum is applied here; a desired size above the maximum stays as written.
    desiredSize.width = std::max(desiredSize.width, minimumSize.width);
    desiredSize.height = std::max(desiredSize.height, minimumSize.height);
    size = desiredSize;
}

void StdComponent::readFixed(const Element& element) {
    const std::string fixed = element.attribute("fixed");
    if (fixed == "yes" || fixed == "horizontal") {
        minimumSize.width = maximumSize.width = size.width = desiredSize.width;
    }
    if (fixed == "yes" || fixed == "vertical") {
        minimumSize.height = maximumSize.height = size.height = desiredSize.height;
    }
}

void StdComponent::readFlags(const Element& element) {
    if (Attributes::isOneOf(element, "visible", {"no", "false"}))
        visibleFlag = false;
    if (Attributes::isOneOf(element, "enabled", {"no", "false"}))
        enabledFlag = false;
    Attributes::readText(element, "label", label);
    Attributes::readInt(element, "tabstop", tabstop);
    Attributes::readInt(element, "tooltipid", tooltipId);
}

void StdComponent::readSpecialChildren(const Element& element) {
    bool haveTooltip = false;
    bool haveStyle = false;
    for (int i = 0; i < element.childCount(); ++i) {
        const Element& child = element.child(i);
        if (child.type() != Element::KindTag)
            continue;
        const std::string& name = child.name();
        if (name == "tooltip" && !haveTooltip) {
            tooltip = child.text();
            haveTooltip = true;
        } else if (name == "popup") {
            popup = child;
        } else if (name == "style" && !haveStyle) {
            styleSheet = child.text();
            haveStyle = true;
        } else if (name == "background") {
            if (BackgroundFactory* backgrounds = BackgroundFactory::existing())
                if (Background* made = backgrounds->create(child))
                    setBackground(made);
        }
    }
}

void StdComponent::buildChildren(const Element& element) {
    const ComponentFactory* factories = ComponentFactory::existing();
    if (factories == nullptr)
        return;
    for (int i = 0; i < element.childCount(); ++i) {
        const Element& child = element.child(i);
        // Text runs carry their text as a name and must never be taken for an element.
        if (child.type() != Element::KindTag || isSpecialChild(child.name()))
            continue;
        if (Component* made = factories->create(child))
            addChild(made);
    }
}

void StdComponent::setTooltipId(int32_t value) {
    tooltipId = value;
    for (int i = 0; i < childCount(); ++i)
        child(i)->setTooltipId(child(i)->getTooltipId());
}

int32_t StdComponent::getEffectiveTooltipId() const {
    for (const Component* at = this; at != nullptr; at = at->parent())
        if (at->getTooltipId() != -1)
            return at->getTooltipId();
    return -1;
}

Component* StdComponent::findById(int32_t wanted) {
    for (int i = 0; i < childCount(); ++i)
        if (child(i)->getId() == wanted)
            return child(i);
    for (int i = 0; i < childCount(); ++i)
        if (Component* found = child(i)->findById(wanted))
            return found;
    return nullptr;
}

void StdComponent::setSize(const Size& value) {
    size = value;
    sendEvent(EventResized);
}

Size StdComponent::clampSize(const Size& value) const {
    return {
        std::clamp(value.width, minimumSize.width, std::max(minimumSize.width, maximumSize.width)),
        std::clamp(value.height, minimumSize.height,
                   std::max(minimumSize.height, maximumSize.height))};
}

void StdComponent::setPosition(const Point& value) {
    position = value;
    sendEvent(EventMoved);
}

Point StdComponent::getGlobalPosition() const {
    const Component* above = parent();
    if (above == nullptr || above->isTopLevel())
        return position;
    const Point origin = above->getGlobalPosition();
    const Rect client = above->getClientArea();
    return {position.left + origin.left + client.left, position.top + origin.top + client.top};
}

Rect StdComponent::getClientArea() const {
    if (parent() == nullptr)
        return {0, 0, UnboundedArea, UnboundedArea};
    return {0, 0, size.width, size.height};
}

void StdComponent::setVisible(bool value, bool propagateUp) {
    visibleFlag = value;
    if (value && propagateUp && parent() != nullptr)
        parent()->setVisible(true, true);
    flagsChanged();
    for (int i = 0; i < childCount(); ++i)
        if (const StdComponent* below = asStd(child(i)))
            child(i)->setVisible(below->isOwnVisible(), false);
}

// Asked for every component each time a window or page is shown: the parent answers for itself
// and its ancestors, which costs one call per level where a cast per level cost a type search.
bool StdComponent::isVisible() const {
    return visibleFlag && (parent() == nullptr || parent()->isVisible());
}

void StdComponent::setEnabled(bool value, bool propagateUp) {
    enabledFlag = value;
    if (value && propagateUp && parent() != nullptr)
        parent()->setEnabled(true, true);
    flagsChanged();
    for (int i = 0; i < childCount(); ++i)
        if (const StdComponent* below = asStd(child(i)))
            child(i)->setEnabled(below->isOwnEnabled(), false);
}

bool StdComponent::isEnabled() const {
    return enabledFlag && (parent() == nullptr || parent()->isEnabled());
}

void StdComponent::setHighlighted(bool value) {
    highlighted = value;
    repaint();
}

void StdComponent::setBackground(Background* value) {
    if (value == background)
        return;
    util::destroy(background);
    background = value;
    repaint();
}

std::string StdComponent::resolvePath(const std::string& text) const {
    std::string resolved = text;
    for (const auto& [alias, path] : pathAliases)
        replaceAll(resolved, alias, path);
    return parent() != nullptr ? parent()->resolvePath(resolved) : resolved;
}

void StdComponent::setPathAlias(const std::string& alias, const std::string& path) {
    for (auto& pair : pathAliases) {
        if (pair.first == alias) {
            pair.second = path;
            return;
        }
    }
    pathAliases.emplace_back(alias, path);
}

void StdComponent::sendEvent(int32_t code, int32_t param) {
    util::Message message(code, param, 0);
    broadcastFrom(message);
}

void StdComponent::updateHelpLine(bool entering) {
    const int32_t helpId = getEffectiveTooltipId();
    if (helpId < 0)
        return;
    if (Component* help = root()->findById(helpId))
        help->setLabel(entering ? tooltip : std::string());
}

Element StdComponent::writeXml() const {
    util::xml::Tag element(getKindName());
    writeStandard(element);
    return element;
}

void StdComponent::writeSizes(Element& element) const {
    const bool fixedWidth = minimumSize.width == maximumSize.width;
    const bool fixedHeight = minimumSize.height == maximumSize.height;
    if (desiredSize.width > 0)
        element.attribute("desiredwidth") = std::to_string(desiredSize.width);
    if (desiredSize.height > 0)
        element.attribute("desiredheight") = std::to_string(desiredSize.height);
    if (fixedWidth || fixedHeight)
        element.attribute("fixed") = fixedWidth && fixedHeight ? "yes"
                                     : fixedWidth              ? "horizontal"
                                                               : "vertical";
    if (minimumSize.width >= 1 && !fixedWidth)
        element.attribute("minwidth") = std::to_string(minimumSize.width);
    if (minimumSize.height >= 1 && !fixedHeight)
        element.attribute("minheight") = std::to_string(minimumSize.height);
    if (maximumSize.width < MaximumExtent && !fixedWidth)
        element.attribute("maxwidth") = std::to_string(maximumSize.width);
    if (maximumSize.height < MaximumExtent && !fixedHeight)
        element.attribute("maxheight") = std::to_string(maximumSize.height);
}

void StdComponent::writeStandard(Element& element) const {
    if (id >= 0)
        element.attribute("id") = std::to_string(id);
    element.attribute("left") = std::to_string(position.left);
    element.attribute("top") = std::to_string(position.top);
    if (!label.empty())
        element.attribute("label") = label;
    writeSizes(element);
    // The own flag, not the inherited state: a rebuilt tree must carry the same flags.
    if (!visibleFlag)
        element.attribute("visible") = "no";
    if (!enabledFlag)
        element.attribute("enabled") = "no";
    if (tabstop >= 0)
        element.attribute("tabstop") = std::to_string(tabstop);
    if (tooltipId != -1)
        element.attribute("tooltipid") = std::to_string(tooltipId);
    if (!tooltip.empty())
        element.addChild(util::xml::TagWithData("tooltip", tooltip));
    if (hasPopup())
        element.addChild(popup);
    if (!styleSheet.empty())
        element.addChild(util::xml::TagWithData("style", styleSheet));
    if (background != nullptr)
        element.addChild(background->writeXml());
}

void StdComponent::writeChildren(Element& element) const {
    for (int i = 0; i < childCount(); ++i)
        element.addChild(child(i)->writeXml());
}

} // namespace mvk::gui
