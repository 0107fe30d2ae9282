#pragma once
// A configuration element: one node of the tree through which a tool describes its preferences.
// The tree is the model behind the preference pages, the configuration profiles and the tool's
// own variables; the values live in the tool's variables, never in the elements.
#include "sdk/CInterface.h"
#include "util/Composite_Dynamic.h"
#include "util/DynamicObject.h"
#include "util/MessageNode.h"
#include "util/xml/Element.h"

#include <cstdint>
#include <string>
#include <vector>

namespace mvk::gui {
class Component;
}
namespace mvk::qvn {
class HostAdaptor;
}

namespace mvk::qvn::core::configadaptor {

// What a page reports when the user acted on one of its controls: the event code, the sending
// component's id, kind name and label, and the value read from that component.
struct WidgetChange {
    int32_t code = 0;
    int32_t senderId = -1;
    std::string senderKind;
    std::string senderLabel;
    double value = 0.0;  // a spinner's value
    int32_t rounded = 0; // a spinner's value rounded the way the spinner rounds it
    bool checked = false;
    std::string text; // a combo box's chosen entry or a text box's text
};

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
    // The element's part of a generated page; null while the element builds no page.
    virtual gui::Component* buildPage();

    // Called by the page side for an event of one of the element's controls. Stores the value,
    // refreshes the other pages, announces the change and runs the callback inside a host
    // operation. False when the event is not one of this element's (wrong code, id or kind).
    virtual bool applyWidgetChange(const WidgetChange& change);

    // Drops a bound page when it announces its destruction.
    void handleMessage(util::Message& message, bool broadcast) override;
    void destroyComposite() override { destroy(); }

    int32_t getId() const { return id; }
    const std::string& getLabel() const { return label; }
    const std::string& getTooltip() const { return tooltip; }
    Callback* getCallback() const { return callback; }

    // Adds a page this element built; `pageEvents` is the message node of that page, whose
    // destruction notice removes the page again (the element subscribes to it).
    void bindPage(gui::Component* page, util::MessageNode* pageEvents);
    void unbindPage(gui::Component* page);
    int boundPageCount() const { return static_cast<int>(boundPages.size()); }
    gui::Component* boundPage(int index) const;

    // The adaptor that brackets callbacks. By default the core's; a non-null adaptor set here
    // replaces it for every element (tests and tools without a core); null goes back.
    static void setAdaptor(HostAdaptor* adaptor);
    static HostAdaptor* adaptor();

protected:
    // The steps after a user change stored its value: other pages follow, subscribers learn that
    // the configuration changed, then the callback runs.
    void announceUserChange();
    // Runs the callback, if any, as one host operation named after the label.
    void runCallback();
    // True when the event came from this element's own control of the given kind.
    bool isFromOwnControl(const WidgetChange& change, const char* kind) const;
    // The first profile item among the children of `element` that names this element.
    const util::xml::Element* findProfileItem(const util::xml::Element& element) const;

private:
    struct BoundPage {
        gui::Component* page;
        util::MessageNode* events;
    };

    int32_t id;
    std::string label;
    std::string tooltip;
    Callback* callback;
    std::vector<BoundPage> boundPages;

    static inline HostAdaptor* adaptorOverride = nullptr;
};

} // namespace mvk::qvn::core::configadaptor
