#include "util/Composite_Dynamic.h"
#include "util/DynamicObject.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string>& journal() {
    static std::vector<std::string> entries;
    return entries;
}

class Item : public mvk::util::DynamicObject, public mvk::util::Composite_Dynamic<Item> {
public:
    explicit Item(std::string name) : name(std::move(name)) {}
    ~Item() override { journal().push_back("~" + name); }
    void destroyComposite() override { destroy(); }
    std::string name;
};

class CompositeTest : public ::testing::Test {
protected:
    void SetUp() override { journal().clear(); }
};

TEST_F(CompositeTest, DestroyingAParentDestroysChildrenLastFirst) {
    auto* parent = new Item("p");
    parent->insertChild(new Item("a"));
    parent->insertChild(new Item("b"));
    auto* c = new Item("c");
    parent->insertChild(c);
    c->insertChild(new Item("d"));
    parent->destroy();
    EXPECT_EQ(journal(), (std::vector<std::string>{"~p", "~c", "~d", "~b", "~a"}));
}

} // namespace
