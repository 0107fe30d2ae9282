#pragma once
// The standard state every kind shares: ids, geometry and limits, flags, texts, popup,
// background, style sheet and path aliases, read from the standard layout attributes.
#include "gui/Component.h"

#include <utility>
#include <vector>

namespace mvk::gui {

class BoxSettings;

class StdComponent : public Component {
public:
    // Reads the standard attributes and special child elements of `element`.
    StdComponent(const std::string& kindName, const util::xml::Element& element);
    ~StdComponent() override;

    EventRange getEventRange() const override { return {}; }
    std::string getLabel() const override { return label; }
    void setLabel(const std::string& text) override { label = text; }
    std::string getTooltip() const override { return tooltip; }
    void setTooltip(const std::string& text) override { tooltip = text; }
    int32_t getTooltipId() const override { return tooltipId; }
    void setTooltipId(int32_t id) override;
    int32_t getId() const override { return id; }
    void setId(int32_t value) override { id = value; }
    Component* findById(int32_t id) override;
    void repaint() override {}
    QWidget* getWidget() override { return nullptr; }
    Size getSize() const override { return size; }
    void setSize(const Size& value) override;
    Size clampSize(const Size& value) const override;
    Point getPosition() const override { return position; }
    void setPosition(const Point& value) override;
    Size getMinimumSize() const override { return minimumSize; }
    Size getMaximumSize() const override { return maximumSize; }
    void setMinimumSize(const Size& value) override { minimumSize = value; }
    void setMaximumSize(const Size& value) override { maximumSize = value; }
    Size getDesiredSize() const override { return desiredSize; }
    void setDesiredSize(const Size& value) override { desiredSize = value; }
    Size getPreferredSize() const override { return getSize(); }
    Point getGlobalPosition() const override;
    Rect getClientArea() const override;
    bool isShown() const override { return shown; }
    void setVisible(bool visible, bool propagateUp) override;
    bool isVisible() const override;
    void setEnabled(bool enabled, bool propagateUp) override;
    bool isEnabled() const override;
    int32_t getTabstop() const override { return tabstop; }
    util::xml::Element writeXml() const override;
    void setHighlighted(bool value) override;
    void setBackground(Background* value) override;
    bool hasBackground() const override { return background != nullptr; }
    std::string resolvePath(const std::string& text) const override;
    void setPathAlias(const std::string& alias, const std::string& path) override;
    util::xml::Element getPopup() const override { return popup; }
    void setPopup(const util::xml::Element& value) override { popup = value; }
    bool hasPopup() const override { return !popup.isEmpty(); }
    void clearPopup() override { popup = util::xml::Element(); }

    // Beyond the shared slots: what the drawing layer needs from the standard state.
    bool isOwnVisible() const { return visibleFlag; }
    bool isOwnEnabled() const { return enabledFlag; }
    bool isHighlighted() const { return highlighted; }
    Background* getBackground() const { return background; }
    std::string getStyleSheet() const { return styleSheet; }
    // The own tooltip id, else the nearest ancestor's that is not -1, else -1.
    int32_t getEffectiveTooltipId() const;
    // The box of a container kind; null for kinds that take no child components.
    virtual const BoxSettings* boxSettings() const { return nullptr; }
    // Sends `code` to the subscribers with `param` (the id unless said otherwise).
    void sendEvent(int32_t code, int32_t param);
    void sendEvent(int32_t code) { sendEvent(code, getId()); }
    // Sets the label of the window's help-line component to this component's tooltip when the
    // mouse enters and empties it when the mouse leaves.
    void updateHelpLine(bool entering);

protected:
    // Creates a component from every child element that is not a special child, in document
    // order, and appends it; elements no factory accepts are skipped.
    void buildChildren(const util::xml::Element& element);
    // Standard attributes and special children into `element`; for writeXml overrides.
    void writeStandard(util::xml::Element& element) const;
    // Appends every child component's own element.
    void writeChildren(util::xml::Element& element) const;
    void setShown(bool value) { shown = value; }
    // Called after the visible or enabled flag of this component or an ancestor changed.
    virtual void flagsChanged() {}

private:
    void readStandard(const util::xml::Element& element);
    void readSizes(const util::xml::Element& element);
    void readFixed(const util::xml::Element& element);
    void readFlags(const util::xml::Element& element);
    void readSpecialChildren(const util::xml::Element& element);
    void writeSizes(util::xml::Element& element) const;

    int32_t id = -1;
    Point position;
    Size size;
    Size minimumSize;
    Size maximumSize{MaximumExtent, MaximumExtent};
    Size desiredSize;
    bool visibleFlag = true;
    bool enabledFlag = true;
    bool shown = false;
    bool highlighted = false;
    int32_t tabstop = -1;
    std::string label;
    std::string tooltip;
    int32_t tooltipId = -1;
    util::xml::Element popup;
    Background* background = nullptr;
    std::string styleSheet;
    std::vector<std::pair<std::string, std::string>> pathAliases;
};

} // namespace mvk::gui
