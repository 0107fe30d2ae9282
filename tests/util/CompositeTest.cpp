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
    void onBeforeInsert() override { journal().push_back(name + ":before"); }
    void onInserted() override { journal().push_back(name + ":inserted"); }
    void onChildInserted(Item* child, int index) override {
        journal().push_back(name + ":child " + child->name + "@" + std::to_string(index));
    }
    std::string name;
};

std::string order(const Item& parent) {
    std::string text;
    for (int i = 0; i < parent.childCount(); ++i)
        text += parent.child(i)->name;
    return text;
}

class CompositeTest : public ::testing::Test {
protected:
    void SetUp() override { journal().clear(); }
};

TEST_F(CompositeTest, InsertingAnExistingChildFurtherOnMovesIt) {
    Item parent("p");
    auto* a = new Item("a");
    parent.insertChild(a);
    parent.insertChild(new Item("b"));
    parent.insertChild(new Item("c"));
    // The index counts positions before the move: "before c" once a is out.
    parent.insertChild(a, 2);
    EXPECT_EQ(order(parent), "bac");
    parent.insertChild(a, 3);
    EXPECT_EQ(order(parent), "bca");
    parent.insertChild(a, 0);
    EXPECT_EQ(order(parent), "abc");
    EXPECT_EQ(a->childIndex(), 0);
}

TEST_F(CompositeTest, InsertionRunsItsHooksAppendsOutOfRangeAndLeavesTheOldParent) {
    Item parent("p");
    auto* a = new Item("a");
    parent.insertChild(a, -5);
    EXPECT_EQ(journal(), (std::vector<std::string>{"a:before", "a:inserted", "p:child a@0"}));
    parent.insertChild(new Item("b"), 99);
    parent.insertChild(nullptr, 0);
    EXPECT_EQ(order(parent), "ab");
    Item second("second");
    second.insertChild(a);
    EXPECT_EQ(order(parent), "b");
    EXPECT_EQ(a->parent(), &second);
    EXPECT_EQ(a->childIndex(), 0);
}

TEST_F(CompositeTest, DestroyingAParentDestroysChildrenLastFirst) {
    auto* parent = new Item("p");
    parent->insertChild(new Item("a"));
    parent->insertChild(new Item("b"));
    auto* c = new Item("c");
    parent->insertChild(c);
    c->insertChild(new Item("d"));
    journal().clear();
    parent->destroy();
    EXPECT_EQ(journal(), (std::vector<std::string>{"~p", "~c", "~d", "~b", "~a"}));
}

} // namespace
