#pragma once
// Observers for configuration element tests: a callback and a subscriber that write what they
// see into one shared journal, so tests can check the order of notices, holds and callbacks.
#include "RefHost.h"
#include "core/configadaptor/Node.h"
#include "gui/Toolkit.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace qvn::test {

using Journal = std::vector<std::string>;

// Writes "callback:<label>" and whether the host was inside a hold at that moment.
class JournalCallback : public mvk::qvn::CInterface::Callback {
public:
    JournalCallback(Journal& journal, host::RefHost& host) : journal(journal), host(host) {}
    void onConfigChanged(const std::string& label) override {
        journal.push_back("callback:" + label + (host.isHolding() ? " (held)" : " (not held)"));
    }

private:
    Journal& journal;
    host::RefHost& host;
};

// Writes "message:<id in hex>" for every message that reaches it, and keeps the last origin.
class JournalListener : public mvk::util::MessageNode {
public:
    explicit JournalListener(Journal& journal) : MessageNode("listener"), journal(journal) {}
    void handleMessage(mvk::util::Message& message, bool) override {
        if (message.id < 0)
            return;
        char text[32];
        std::snprintf(text, sizeof text, "message:%#x/%d", static_cast<unsigned>(message.id),
                      message.param);
        journal.push_back(text);
        lastOrigin = message.origin;
    }
    mvk::util::MessageNode* lastOrigin = nullptr;

private:
    Journal& journal;
};

// Pages built by the GUI toolkit's component factories; every element of a test brackets its
// callbacks with this host.
class ConfigTest : public ::testing::Test {
protected:
    void SetUp() override {
        mvk::qvn::core::configadaptor::Node::setAdaptor(&host);
        mvk::gui::Toolkit::start();
        if (mvk::gui::ComponentFactory::instance()->factoryCount() == 0)
            mvk::gui::Toolkit::registerFactories();
    }
    void TearDown() override { mvk::qvn::core::configadaptor::Node::setAdaptor(nullptr); }

    const std::vector<std::string>& holds() const { return host.undoStack.history(); }

    host::RefHost host;
    Journal journal;
    JournalCallback callback{journal, host};
};

} // namespace qvn::test
