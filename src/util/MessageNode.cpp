#include "util/MessageNode.h"

#include <algorithm>

namespace mvk::util {

namespace {

bool contains(const std::vector<MessageNode*>& list, const MessageNode* node) {
    return std::find(list.begin(), list.end(), node) != list.end();
}

void eraseFirst(std::vector<MessageNode*>& list, const MessageNode* node) {
    const auto found = std::find(list.begin(), list.end(), node);
    if (found != list.end())
        list.erase(found);
}

// Saves the routing fields of a message and puts them back when the delivery is over, so a
// handler may re-send the same message object.
class RoutingGuard {
public:
    explicit RoutingGuard(Message& message)
        : message(message), origin(message.origin), sender(message.sender),
          receiver(message.receiver) {}
    ~RoutingGuard() {
        message.origin = origin;
        message.sender = sender;
        message.receiver = receiver;
    }

private:
    Message& message;
    MessageNode* origin;
    MessageNode* sender;
    MessageNode* receiver;
};

} // namespace

Message::~Message() {
    while (!attachments.empty()) {
        DynamicObject* last = attachments.back();
        attachments.pop_back();
        util::destroy(last);
    }
}

DynamicObject* Message::attachment(int index) const {
    if (index < 0 || index >= attachmentCount())
        return nullptr;
    return attachments[static_cast<size_t>(index)];
}

void MessageNode::deliver(MessageNode* target, Message& message, bool broadcast, bool asOrigin) {
    RoutingGuard guard(message);
    message.sender = this;
    if (asOrigin)
        message.origin = this;
    target->handleMessage(message, broadcast);
}

void MessageNode::send(MessageNode* target, Message& message) {
    if (target != nullptr)
        deliver(target, message, false, false);
}

void MessageNode::sendFrom(MessageNode* target, Message& message) {
    if (target != nullptr)
        deliver(target, message, false, true);
}

void MessageNode::broadcast(Message& message) {
    RoutingGuard guard(message);
    message.sender = this;
    // By position from the end with the count taken first: a subscriber may unsubscribe itself
    // while it is being called.
    for (size_t i = subscribers.size(); i-- > 0;) {
        if (i >= subscribers.size())
            continue;
        message.receiver = subscribers[i];
        subscribers[i]->handleMessage(message, true);
    }
}

void MessageNode::broadcastFrom(Message& message) {
    RoutingGuard guard(message);
    message.origin = this;
    broadcast(message);
}

bool MessageNode::subscribe(MessageNode* source) {
    if (source == nullptr)
        return false;
    if (contains(sources, source))
        return true;
    if (contains(source->subscribers, this))
        return false;
    sources.push_back(source);
    source->subscribers.push_back(this);
    Message notice(Message::Subscribed);
    sendFrom(source, notice);
    return true;
}

bool MessageNode::unsubscribe(MessageNode* source) {
    if (source == nullptr)
        return false;
    if (!contains(sources, source))
        return true;
    if (!contains(source->subscribers, this))
        return false;
    Message notice(Message::Unsubscribing);
    sendFrom(source, notice);
    eraseFirst(sources, source);
    eraseFirst(source->subscribers, this);
    return true;
}

MessageNode* MessageNode::source(int index) const {
    if (index < 0 || index >= sourceCount())
        return nullptr;
    return sources[static_cast<size_t>(index)];
}

MessageNode* MessageNode::subscriber(int index) const {
    if (index < 0 || index >= subscriberCount())
        return nullptr;
    return subscribers[static_cast<size_t>(index)];
}

bool MessageNode::hasSubscriber(const MessageNode* node) const { return contains(subscribers, node); }

bool MessageNode::hasSource(const MessageNode* node) const { return contains(sources, node); }

MessageNode::~MessageNode() {
    Message notice(Message::Destroying);
    broadcastFrom(notice);
    while (!sources.empty()) {
        MessageNode* source = sources.back();
        if (!unsubscribe(source))
            eraseFirst(sources, source);
    }
    for (MessageNode* subscriber : subscribers)
        eraseFirst(subscriber->sources, this);
    subscribers.clear();
}

} // namespace mvk::util
