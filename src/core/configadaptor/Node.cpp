#include "core/configadaptor/Node.h"

#include "core/CoreImplementation.h"
#include "core/configadaptor/ProfileFormat.h"
#include "sdk/HostAdaptor.h"

#include <algorithm>

namespace mvk::qvn::core::configadaptor {

Node::Node(int32_t id, std::string label, std::string tooltip, Callback* callback)
    : util::MessageNode("configadaptor"), id(id), label(std::move(label)),
      tooltip(std::move(tooltip)), callback(callback) {}

Node::~Node() = default;

void Node::refreshPages() {
    for (int i = 0; i < childCount(); ++i)
        child(i)->refreshPages();
}

util::xml::Element Node::writeProfile() const {
    return {};
}

void Node::readProfile(const util::xml::Element&) {}

gui::Component* Node::buildPage() {
    return nullptr;
}

bool Node::applyWidgetChange(const WidgetChange&) {
    return false;
}

void Node::handleMessage(util::Message& message, bool) {
    if (message.id != util::Message::Destroying)
        return;
    std::erase_if(boundPages,
                  [&](const BoundPage& bound) { return bound.events == message.origin; });
}

void Node::bindPage(gui::Component* page, util::MessageNode* pageEvents) {
    if (page == nullptr)
        return;
    boundPages.push_back({page, pageEvents});
    subscribe(pageEvents);
}

void Node::unbindPage(gui::Component* page) {
    const auto found = std::find_if(boundPages.begin(), boundPages.end(),
                                    [&](const BoundPage& bound) { return bound.page == page; });
    if (found == boundPages.end())
        return;
    util::MessageNode* events = found->events;
    boundPages.erase(found);
    const bool stillUsed =
        std::any_of(boundPages.begin(), boundPages.end(),
                    [&](const BoundPage& bound) { return bound.events == events; });
    if (!stillUsed)
        unsubscribe(events);
}

gui::Component* Node::boundPage(int index) const {
    if (index < 0 || index >= boundPageCount())
        return nullptr;
    return boundPages[static_cast<size_t>(index)].page;
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

void Node::announceUserChange() {
    refreshPages();
    util::Message changed(ChangedEvent, 0);
    broadcastFrom(changed);
    runCallback();
}

void Node::runCallback() {
    if (callback == nullptr)
        return;
    HostAdaptor* host = adaptor();
    if (host != nullptr)
        host->beginHold(label);
    callback->onConfigChanged(label);
    if (host != nullptr)
        host->acceptHold();
}

bool Node::isFromOwnControl(const WidgetChange& change, const char* kind) const {
    return change.senderId == id && change.senderKind == kind;
}

const util::xml::Element* Node::findProfileItem(const util::xml::Element& element) const {
    return ProfileFormat::findItem(element, id, label);
}

} // namespace mvk::qvn::core::configadaptor
