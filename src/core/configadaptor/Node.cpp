#include "core/configadaptor/Node.h"

#include "sdk/CUndo.h"

#include "core/CoreImplementation.h"
#include "core/configadaptor/ProfileFormat.h"
#include "gui/Component.h"
#include "sdk/HostAdaptor.h"

#include <algorithm>

namespace mvk::qvn::core::configadaptor {

Node::Node(int32_t id, std::string label, std::string tooltip, Callback* callback)
    : util::MessageNode("configadaptor"), id(id), label(std::move(label)),
      tooltip(std::move(tooltip)), callback(callback) {}

Node::~Node() = default;

void Node::refreshPages() {
    showInBoundPages();
    for (int i = 0; i < childCount(); ++i)
        child(i)->refreshPages();
}

util::xml::Element Node::writeProfile() const {
    return {};
}

void Node::readProfile(const util::xml::Element&) {}

util::xml::Element Node::pageLayout() const {
    return {};
}

gui::Component* Node::buildPage() {
    const util::xml::Element layout = pageLayout();
    gui::ComponentFactory* factories = gui::ComponentFactory::existing();
    if (layout.isEmpty() || factories == nullptr)
        return nullptr;
    gui::Component* page = factories->create(layout);
    if (page == nullptr)
        return nullptr;
    gui::Component* area = childArea(*page);
    for (int i = 0; i < childCount() && area != nullptr; ++i)
        if (gui::Component* part = child(i)->buildPage())
            area->addChild(part);
    bindPage(page);
    // The layout carries the value rounded to six digits; the control gets it exactly.
    if (gui::Component* control = controlIn(*page))
        showValue(*control);
    return page;
}

bool Node::applyWidgetChange(const WidgetChange&) {
    return false;
}

gui::Component* Node::childArea(gui::Component&) const {
    return nullptr;
}

bool Node::isUserValueEvent(int32_t code) {
    switch (code) {
    case ButtonClicked:
    case TextEdited:
    case IndexChanged:
    case ItemActivated:
    case ValueCommitted:
    case ValueChanged:
    case StateChanged:
        return true;
    default:
        return false;
    }
}

void Node::handleMessage(util::Message& message, bool) {
    if (message.id == util::Message::Destroying) {
        for (auto bound = boundPages.begin(); bound != boundPages.end();) {
            const auto& sources = bound->sources;
            if (std::find(sources.begin(), sources.end(), message.origin) == sources.end()) {
                ++bound;
                continue;
            }
            dropPage(bound, message.origin);
            bound = boundPages.begin();
        }
        return;
    }
    if (message.id < gui::Component::EventFirst || message.id >= gui::Component::EventEnd)
        return;
    // Pages send many more events (sizes, moves, showing) than elements act on; only the user's
    // value events are worth reading the sending control for.
    if (!isUserValueEvent(message.id))
        return;
    if (!isListenedTo(message.origin))
        return;
    if (auto* sender = dynamic_cast<gui::Component*>(message.origin))
        applyWidgetChange(WidgetChange::of(message.id, *sender));
}

void Node::bindPage(gui::Component* page) {
    if (page == nullptr)
        return;
    BoundPage bound{page, {page}};
    for (gui::Component* source : eventSources(*page))
        if (source != page)
            bound.sources.push_back(source);
    for (util::MessageNode* source : bound.sources)
        subscribe(source);
    boundPages.push_back(std::move(bound));
}

void Node::unbindPage(gui::Component* page) {
    const auto found = std::find_if(boundPages.begin(), boundPages.end(),
                                    [&](const BoundPage& bound) { return bound.page == page; });
    if (found != boundPages.end())
        dropPage(found, nullptr);
}

void Node::dropPage(std::vector<BoundPage>::iterator bound, const util::MessageNode* dying) {
    const std::vector<util::MessageNode*> sources = std::move(bound->sources);
    boundPages.erase(bound);
    // A dying source drops its links itself; the others are let go unless another page of
    // this element still sends through them.
    for (util::MessageNode* source : sources)
        if (source != dying && !isListenedTo(source))
            unsubscribe(source);
}

bool Node::isListenedTo(const util::MessageNode* source) const {
    return std::any_of(boundPages.begin(), boundPages.end(), [&](const BoundPage& bound) {
        return std::find(bound.sources.begin(), bound.sources.end(), source) != bound.sources.end();
    });
}

gui::Component* Node::boundPage(int index) const {
    if (index < 0 || index >= boundPageCount())
        return nullptr;
    return boundPages[static_cast<size_t>(index)].page;
}

gui::Component* Node::controlIn(gui::Component& page) const {
    const char* kind = controlKind();
    if (kind == nullptr)
        return nullptr;
    if (page.getId() == id && page.getKindName() == kind)
        return &page;
    gui::Component* found = page.findById(id);
    return found != nullptr && found->getKindName() == kind ? found : nullptr;
}

std::vector<gui::Component*> Node::eventSources(gui::Component& page) const {
    if (gui::Component* control = controlIn(page))
        return {control};
    return {};
}

void Node::showInBoundPages() const {
    if (controlKind() == nullptr)
        return;
    for (const BoundPage& bound : boundPages)
        if (gui::Component* control = controlIn(*bound.page))
            showValue(*control);
}

void Node::setAdaptor(HostAdaptor* adaptor) {
    adaptorOverride = adaptor;
}

HostAdaptor* Node::adaptor() {
    if (adaptorOverride != nullptr)
        return adaptorOverride;
    const CoreImplementation* core = CoreImplementation::existing();
    return core != nullptr ? core->getAdaptor() : nullptr;
}

void Node::runCallback(CUndo* record) {
    if (callback == nullptr && record == nullptr)
        return;
    HostAdaptor* host = adaptor();
    if (host == nullptr) {
        if (record != nullptr)
            record->release();
    } else {
        host->beginHold(label);
        if (record != nullptr)
            host->putUndo(record);
    }
    if (callback != nullptr)
        callback->onConfigChanged(label);
    if (host != nullptr)
        host->acceptHold();
}

void Node::showRestoredValue() {
    refreshPages();
    util::Message changed(ChangedEvent, 0);
    broadcastFrom(changed);
}

bool Node::isFromOwnControl(const WidgetChange& change, const char* kind) const {
    return change.senderId == id && change.senderKind == kind;
}

const util::xml::Element* Node::findProfileItem(const util::xml::Element& element) const {
    return ProfileFormat::findItem(element, id, label);
}

} // namespace mvk::qvn::core::configadaptor
