#pragma once
// Synchronous publish/subscribe between objects: a node sends a message to one node or
// broadcasts it to every node that subscribed to it. Delivery is a plain virtual call.
#include "util/Message.h"

#include <string>
#include <vector>

namespace mvk::util {

class MessageNode {
public:
    explicit MessageNode(std::string name = {}) : nodeName(std::move(name)) {}
    MessageNode(const MessageNode&) = delete;
    MessageNode& operator=(const MessageNode&) = delete;

    virtual void setName(const std::string& name) { nodeName = name; }
    // Receives messages; `broadcast` is false for a direct send.
    virtual void handleMessage(Message& message, bool broadcast) {}
    // Delivers to `target` (null does nothing) with this node as sender.
    virtual void send(MessageNode* target, Message& message);
    // Delivers to every subscriber, the last subscribed first.
    virtual void broadcast(Message& message);
    // As send()/broadcast(), with this node also as origin.
    virtual void sendFrom(MessageNode* target, Message& message);
    virtual void broadcastFrom(Message& message);
    // This node receives `source`'s broadcasts from now on; see the rules beside the definition.
    virtual bool subscribe(MessageNode* source);
    virtual bool unsubscribe(MessageNode* source);
    virtual std::string name() const { return nodeName; }
    virtual int sourceCount() const { return static_cast<int>(sources.size()); }
    virtual MessageNode* source(int index) const;
    virtual int subscriberCount() const { return static_cast<int>(subscribers.size()); }
    virtual MessageNode* subscriber(int index) const;
    virtual bool hasSubscriber(const MessageNode* node) const;
    virtual bool hasSource(const MessageNode* node) const;
    // Tells the subscribers (id -3), then drops every link in both directions.
    virtual ~MessageNode();

private:
    void deliver(MessageNode* target, Message& message, bool broadcast, bool asOrigin);

    std::string nodeName;
    std::vector<MessageNode*> subscribers;
    std::vector<MessageNode*> sources;
};

} // namespace mvk::util
