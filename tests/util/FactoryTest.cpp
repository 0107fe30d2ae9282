#include "util/FactoryManager.h"
#include "util/SingletonCollector.h"

#include <gtest/gtest.h>

namespace {

struct Node {
    std::string madeBy;
};

class NamedFactory : public mvk::util::FactoryManager<Node>::Factory {
public:
    NamedFactory(const std::string& name, std::string tag)
        : Factory(name), tag(std::move(tag)) {}
    Node* create(const mvk::util::xml::Element&) override { return new Node{tag}; }

private:
    std::string tag;
};

using Registry = mvk::util::FactoryManager<Node>;

class FactoryTest : public ::testing::Test {
protected:
    void TearDown() override {
        if (auto* collector = mvk::util::SingletonCollector::existing())
            collector->destroyAll();
    }
};

TEST_F(FactoryTest, FirstFactoryOfANameWinsAndNamesCompareExactly) {
    Registry* registry = Registry::instance();
    auto* first = new NamedFactory("add", "first");
    auto* second = new NamedFactory("add", "second");
    EXPECT_TRUE(registry->add(first));
    EXPECT_FALSE(registry->add(second));
    second->destroy();
    EXPECT_EQ(registry->factoryCount(), 1);
    EXPECT_EQ(registry->factoryFor("add"), first);

    Node* node = registry->create(mvk::util::xml::Tag("add"));
    ASSERT_NE(node, nullptr);
    EXPECT_EQ(node->madeBy, "first");
    delete node;
    // Names compare exactly; unknown names create nothing.
    EXPECT_FALSE(registry->has("Add"));
    EXPECT_EQ(registry->create(mvk::util::xml::Tag("product")), nullptr);
    EXPECT_EQ(registry->create(mvk::util::xml::Element()), nullptr);
}

} // namespace
