#pragma once
// A node of a window's component tree. The tree owns its children, reports what happens to each
// node through its message node, and declares every operation a window may call on any kind.
#include "gui/Geometry.h"
#include "util/Composite_Dynamic.h"
#include "util/DynamicObject.h"
#include "util/FactoryManager.h"
#include "util/MessageNode.h"
#include "util/Singleton.h"
#include "util/xml/Element.h"

#include <cstdint>
#include <string>

class QWidget;

namespace mvk::gui {

class Background;
class Component;
using ComponentFactory = util::AbstractFactory<Component>;

namespace componentinterface {
class Interface;
}

class Component : public util::DynamicObject,
                  public util::Composite_Dynamic<Component>,
                  public util::MessageNode,
                  public util::Singleton<ComponentFactory> {
public:
    // Events every kind sends; the parameter is the sender's id unless said otherwise.
    static constexpr int32_t EventShowing = 0x4000;
    static constexpr int32_t EventShown = 0x4001;
    static constexpr int32_t EventHiding = 0x4002;
    static constexpr int32_t EventHidden = 0x4003;
    static constexpr int32_t EventResized = 0x4004;
    static constexpr int32_t EventMoved = 0x4005;
    static constexpr int32_t EventDestroying = 0x4006;
    // The parameter is the chosen popup item's id.
    static constexpr int32_t EventPopupChosen = 0x4007;
    static constexpr int32_t EventFocusIn = 0x4008;
    static constexpr int32_t EventFocusOut = 0x4009;
    static constexpr int32_t EventMouseEnter = 0x400A;
    static constexpr int32_t EventMouseLeave = 0x400B;
    // Every component event lies in [EventFirst, EventEnd).
    static constexpr int32_t EventFirst = 0x4000;
    static constexpr int32_t EventEnd = 0x4380;

    // The limits a size may take; the maximum is also the "no limit" default.
    static constexpr int32_t MaximumExtent = 0x4FFFFFFF;
    // The client area of a component without a parent.
    static constexpr int32_t UnboundedArea = 0x3FFFFFFF;

    explicit Component(std::string kindName = "component");

    // Slot order matters: windows and tool modules built separately call through it.
    void destroy() override;
    ~Component() override;
    virtual std::string getKindName() const;
    virtual EventRange getEventRange() const = 0;
    virtual std::string getLabel() const = 0;
    virtual void setLabel(const std::string& label) = 0;
    virtual std::string getTooltip() const = 0;
    virtual void setTooltip(const std::string& tooltip) = 0;
    virtual int32_t getTooltipId() const = 0;
    virtual void setTooltipId(int32_t id) = 0;
    virtual int32_t getId() const = 0;
    virtual void setId(int32_t id) = 0;
    // Depth-first by levels: direct children first, then each child's subtree; never itself.
    virtual Component* findById(int32_t id) = 0;
    virtual void repaint() = 0;
    virtual QWidget* getWidget() = 0;
    virtual Size getSize() const = 0;
    virtual void setSize(const Size& size) = 0;
    virtual Size clampSize(const Size& size) const = 0;
    virtual Point getPosition() const = 0;
    virtual void setPosition(const Point& position) = 0;
    virtual Size getMinimumSize() const = 0;
    virtual Size getMaximumSize() const = 0;
    virtual void setMinimumSize(const Size& size) = 0;
    virtual void setMaximumSize(const Size& size) = 0;
    virtual Size getDesiredSize() const = 0;
    virtual void setDesiredSize(const Size& size) = 0;
    virtual bool isTopLevel() const = 0;
    virtual Size getPreferredSize() const = 0;
    virtual Point getGlobalPosition() const = 0;
    virtual Rect getClientArea() const = 0;
    virtual void show() = 0;
    virtual void hide() = 0;
    virtual bool isShown() const = 0;
    virtual void setVisible(bool visible, bool propagateUp) = 0;
    virtual bool isVisible() const = 0;
    virtual void setEnabled(bool enabled, bool propagateUp) = 0;
    virtual bool isEnabled() const = 0;
    virtual int32_t getTabstop() const = 0;
    virtual void reserved() {}
    virtual util::xml::Element writeXml() const = 0;
    virtual void setHighlighted(bool highlighted) = 0;
    // Takes ownership; the previous background is destroyed. Null removes it.
    virtual void setBackground(Background* background) = 0;
    virtual bool hasBackground() const = 0;
    virtual std::string resolvePath(const std::string& text) const = 0;
    virtual void setPathAlias(const std::string& alias, const std::string& path) = 0;
    virtual util::xml::Element getPopup() const = 0;
    virtual void setPopup(const util::xml::Element& popup) = 0;
    virtual bool hasPopup() const = 0;
    virtual void clearPopup() = 0;
    virtual void onChildShown(Component* child) {}
    virtual void onChildHidden(Component* child) {}
    // The kind's own operations (null for kinds without any).
    virtual componentinterface::Interface* getInterface() { return nullptr; }

    void destroyComposite() override { destroy(); }

    // The root of the tree this component belongs to.
    Component* root();

private:
    std::string kindName;
};

// The kind interface of `component`, or null when it is of another kind.
template <class Kind> Kind* interfaceOf(Component* component) {
    return component ? dynamic_cast<Kind*>(component->getInterface()) : nullptr;
}

} // namespace mvk::gui
