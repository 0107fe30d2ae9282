#pragma once
#include "util/DynamicObject.h"

#include <cstdint>
#include <vector>

namespace mvk::util {

class MessageNode;

// One synchronous message: what happened (id), two arguments, and who is sending it.
class Message {
public:
    // Ids sent by the mechanism itself.
    static constexpr int32_t Subscribed = -1;
    static constexpr int32_t Unsubscribing = -2;
    static constexpr int32_t Destroying = -3;

    Message(int32_t id, int32_t param = 0, intptr_t data = 0) : id(id), param(param), data(data) {}
    Message(const Message&) = delete;
    Message& operator=(const Message&) = delete;
    // Destroys the attachments, the last first.
    ~Message();

    // Takes ownership of an object that lives as long as the message.
    void attach(DynamicObject* object) { attachments.push_back(object); }
    int attachmentCount() const { return static_cast<int>(attachments.size()); }
    DynamicObject* attachment(int index) const;

    MessageNode* origin = nullptr;
    MessageNode* sender = nullptr;
    int32_t id;
    int32_t param;
    intptr_t data;
    MessageNode* receiver = nullptr;

private:
    std::vector<DynamicObject*> attachments;
};

} // namespace mvk::util
