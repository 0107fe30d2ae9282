#pragma once
// A configuration element: one node of the tree through which a tool describes its preferences.
// The tree is the model behind the preference pages, the configuration profiles and the tool's
// own variables; the values live in the tool's variables, never in the elements.
#include "core/configadaptor/WidgetChange.h"
#include "sdk/CInterface.h"
#include "util/Composite_Dynamic.h"
#include "util/DynamicObject.h"
#include "util/MessageNode.h"
#include "util/xml/Element.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace mvk::gui {
class Component;
}
namespace mvk::qvn {
class HostAdaptor;
}

namespace mvk::qvn::core::configadaptor {

template <class T> class ValueUndo;

class Node : public util::DynamicObject,
             public util::Composite_Dynamic<Node>,
             public util::MessageNode {
public:
    using Callback = CInterface::Callback;

    // Broadcast to the subscribers after the user stored a new value (param 0).
    static constexpr int32_t ChangedEvent = 0x6000;
    // Component events the elements react to.
    static constexpr int32_t ButtonClicked = 0x4142;
    static constexpr int32_t TextEdited = 0x4180;
    static constexpr int32_t IndexChanged = 0x41C0;
    static constexpr int32_t ItemActivated = 0x41C2;
    static constexpr int32_t ValueCommitted = 0x4200;
    static constexpr int32_t ValueChanged = 0x4201;
    static constexpr int32_t StateChanged = 0x4240;
    // The events above: the only ones an element acts on.
    static bool isUserValueEvent(int32_t code);

    // `callback` belongs to the caller and may be null.
    Node(int32_t id, std::string label, std::string tooltip, Callback* callback);
    ~Node() override;

    // Pushes the bound values into every bound page; a container visits its children in order.
    virtual void refreshPages();
    // This element's part of a profile; an empty element when it stores nothing.
    virtual util::xml::Element writeProfile() const;
    // Takes this element's value from a profile element that holds its siblings; no change
    // event and no callback follow.
    virtual void readProfile(const util::xml::Element& element);
    // Builds the element's part of a preference page with the component factories, appends the
    // children's parts, binds the new component and returns it; null when the element shows
    // nothing or no factory builds its layout. The caller owns the component.
    virtual gui::Component* buildPage();

    // Called for an event of one of the element's controls. Stores the value, refreshes the
    // other pages, announces the change and runs the callback inside a host operation. False
    // when the event is not one of this element's (wrong code, id or kind).
    virtual bool applyWidgetChange(const WidgetChange& change);

    // The layout document of the element's part of a page; empty for elements without one.
    virtual util::xml::Element pageLayout() const;

    // Turns the events of the element's controls into changes and drops a bound page when it
    // or its control announces its destruction.
    void handleMessage(util::Message& message, bool broadcast) override;
    void destroyComposite() override { destroy(); }

    int32_t getId() const { return id; }
    const std::string& getLabel() const { return label; }
    const std::string& getTooltip() const { return tooltip; }
    Callback* getCallback() const { return callback; }

    // Adds a component this element built to its pages and listens to its controls. A page
    // that is destroyed unbinds itself.
    void bindPage(gui::Component* page);
    // Stops showing the value in that page and listening to it.
    void unbindPage(gui::Component* page);
    int boundPageCount() const { return static_cast<int>(boundPages.size()); }
    gui::Component* boundPage(int index) const;

    // Expires when the element goes; undo records of its values watch it.
    std::weak_ptr<const void> lifetimeToken() const { return lifetime; }
    // After undo or redo put a value back: the pages show it and subscribers learn of it; the
    // callback does not run (it could open a host operation inside the host's undo).
    void showRestoredValue();

    // The adaptor that brackets callbacks. By default the core's; a non-null adaptor set here
    // replaces it for every element (tests and tools without a core); null goes back.
    static void setAdaptor(HostAdaptor* adaptor);
    static HostAdaptor* adaptor();

protected:
    // Stores a value the user gave: the variable takes it, the change is announced, and the
    // host gets an undo record of it, inside the operation the callback runs in (or one of the
    // same name when there is no callback). A value equal to the present one makes no record.
    template <class T> void storeUserValue(T* variable, T value);
    // Runs the callback, if any, as one host operation named after the label; `record`, when
    // given, goes into that operation (which is then opened also without a callback).
    void runCallback(CUndo* record = nullptr);
    // True when the event came from this element's own control of the given kind.
    bool isFromOwnControl(const WidgetChange& change, const char* kind) const;
    // The first profile item among the children of `element` that names this element.
    const util::xml::Element* findProfileItem(const util::xml::Element& element) const;

    // The component of a freshly built page under which the children's parts go; null for
    // elements without children.
    virtual gui::Component* childArea(gui::Component& page) const;
    // The kind name of the component that shows the element's value or takes its clicks; null
    // when there is none.
    virtual const char* controlKind() const { return nullptr; }
    // Puts the bound value into the element's control, sending no events.
    virtual void showValue(gui::Component& control) const {}
    // The element's control inside one of its pages (the page itself for a bare control), or
    // null.
    gui::Component* controlIn(gui::Component& page) const;
    // The components whose events the element takes from a page it binds; its control by
    // default.
    virtual std::vector<gui::Component*> eventSources(gui::Component& page) const;
    // Pushes the bound value into the control of every bound page.
    void showInBoundPages() const;

private:
    struct BoundPage {
        gui::Component* page;
        std::vector<util::MessageNode*> sources; // the page and the components it sends from
    };

    void dropPage(std::vector<BoundPage>::iterator bound, const util::MessageNode* dying);
    bool isListenedTo(const util::MessageNode* source) const;

    int32_t id;
    std::string label;
    std::string tooltip;
    Callback* callback;
    std::vector<BoundPage> boundPages;
    std::shared_ptr<const int> lifetime = std::make_shared<const int>(0);

    static inline HostAdaptor* adaptorOverride = nullptr;
};

} // namespace mvk::qvn::core::configadaptor
