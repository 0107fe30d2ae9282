#include "util/MessageNode.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

using mvk::util::Message;
using mvk::util::MessageNode;

struct Received {
    std::string at;
    int32_t id;
    bool broadcast;
    MessageNode* origin;
    MessageNode* sender;
    MessageNode* receiver;
};

std::vector<Received>& received() {
    static std::vector<Received> log;
    return log;
}

class Node : public MessageNode {
public:
    explicit Node(const std::string& name) : MessageNode(name) {}
    void handleMessage(Message& message, bool broadcast) override {
        received().push_back({name(), message.id, broadcast, message.origin, message.sender,
                              message.receiver});
        if (onMessage)
            onMessage(message);
    }
    std::function<void(Message&)> onMessage;
};

class MessageNodeTest : public ::testing::Test {
protected:
    void SetUp() override { received().clear(); }
};

TEST_F(MessageNodeTest, BroadcastReachesSubscribersLastFirstAndRestoresRouting) {
    Node source("source");
    Node s1("s1"), s2("s2"), s3("s3");
    s1.subscribe(&source);
    s2.subscribe(&source);
    s3.subscribe(&source);
    received().clear();
    Message message(42, 7, 9);
    source.broadcastFrom(message);
    ASSERT_EQ(received().size(), 3u);
    EXPECT_EQ(received()[0].at, "s3");
    EXPECT_EQ(received()[1].at, "s2");
    EXPECT_EQ(received()[2].at, "s1");
    EXPECT_TRUE(received()[0].broadcast);
    EXPECT_EQ(received()[0].receiver, &s3);
    EXPECT_EQ(received()[0].origin, &source);
    EXPECT_EQ(message.origin, nullptr);
    EXPECT_EQ(message.sender, nullptr);
    EXPECT_EQ(message.receiver, nullptr);
}

TEST_F(MessageNodeTest, ASubscriberMayUnsubscribeItselfDuringABroadcast) {
    Node source("source");
    Node s1("s1"), s2("s2");
    s1.subscribe(&source);
    s2.subscribe(&source);
    s2.onMessage = [&](Message& message) {
        if (message.id == 5)
            s2.unsubscribe(&source);
    };
    Node late("late");
    s1.onMessage = [&](Message& message) {
        if (message.id == 5)
            late.subscribe(&source);
    };
    received().clear();
    Message message(5);
    source.broadcast(message);
    // s2 (called first) left; s1 was still called; the node that joined was not.
    std::vector<std::string> order;
    for (const auto& entry : received())
        if (entry.id == 5)
            order.push_back(entry.at);
    EXPECT_EQ(order, (std::vector<std::string>{"s2", "s1"}));
    EXPECT_EQ(source.subscriberCount(), 2);
}

TEST_F(MessageNodeTest, DestroyedNodesLeaveNoLinksOnEitherSide) {
    Node s1("s1"), s2("s2"), source("source");
    {
        Node doomedSource("doomed source");
        s1.subscribe(&doomedSource);
        s2.subscribe(&doomedSource);
        received().clear();
    }
    ASSERT_EQ(received().size(), 2u);
    EXPECT_EQ(received()[0].id, Message::Destroying);
    EXPECT_EQ(s1.sourceCount() + s2.sourceCount(), 0);
    {
        Node doomedListener("doomed listener");
        doomedListener.subscribe(&source);
        received().clear();
    }
    ASSERT_EQ(received().size(), 1u);
    EXPECT_EQ(received()[0].at, "source");
    EXPECT_EQ(received()[0].id, Message::Unsubscribing);
    EXPECT_EQ(source.subscriberCount(), 0);
}

} // namespace
