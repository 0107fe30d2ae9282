// The document model: look-ups and edits, trees far deeper than any stack could walk
// recursively, and read trees whose nodes go their own ways.
#include "util/xml/Element.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <thread>
#include <vector>

using mvk::util::xml::Element;
using mvk::util::xml::Tag;
using mvk::util::xml::Text;

namespace {

TEST(XmlElement, FailedLookUpsReturnTheSharedEmptyElementWipedBeforeReuse) {
    Element element("<a><b>1</b><c/><b>2</b></a>");
    const Element& view = element;
    Element& shared = Element::emptyElement();
    EXPECT_EQ(&view.child(3), &shared);
    EXPECT_EQ(&element.child("b", 2), &shared);
    EXPECT_EQ(element.child("missing").child("deeper").text(), "");
    EXPECT_EQ(element.child("b", 1).text(), "2");
    // text() is the first text child, wherever it stands.
    EXPECT_EQ(Element("<a><b/>first<c/></a>").text(), "first");

    Element& careless = element.child("missing");
    careless.attribute("x") = "1";
    careless.setName("polluted");
    careless.setType(Element::KindTag);
    const Element& next = element.child(5);
    EXPECT_TRUE(next.isEmpty());
    EXPECT_TRUE(next.attributes().empty());
    EXPECT_EQ(next.type(), Element::KindNone);
}

TEST(XmlElement, AddRemoveAndTake) {
    // Empty elements are not added; an added child is a copy; adding to itself copies first.
    Tag root("root");
    Tag attributesOnly("");
    attributesOnly.attribute("x") = "1";
    for (const Element& empty : {Element(), Element(Text("")), Element(attributesOnly)})
        EXPECT_EQ(&root.addChild(empty), &root);
    EXPECT_EQ(root.childCount(), 0);
    Tag original("item");
    root.addChild(original).attribute("filled") = "later";
    EXPECT_TRUE(original.attributes().empty());
    root.addChild(root);
    ASSERT_EQ(root.childCount(), 2);
    EXPECT_EQ(root.child(1).childCount(), 1);

    // removeChild uses the shallow comparison.
    Element element("<a><b x='1'><deep/></b><b x='2'/><b x='1'/></a>");
    EXPECT_TRUE(element.removeChild(Element("<b x='1'/>")));
    ASSERT_EQ(element.childCount(), 2);
    EXPECT_EQ(element.child(0).attribute("x"), "2");
    EXPECT_FALSE(element.removeChild(Element("<b x='3'/>")));

    element = Element("<a><b><c/></b><d/></a>");
    Element taken = element.takeChild(0);
    EXPECT_EQ(taken.child(0).name(), "c");
    EXPECT_EQ(element.childCount(), 1);
    EXPECT_TRUE(element.takeChild(1).isEmpty());
}

// A chain this deep would overflow the stack of any recursive walk.
TEST(XmlElement, DeepTreesCopyCompareWriteAndDestroyWithoutRecursion) {
    constexpr int Depth = 1000000;
    Element root = Tag("n");
    Element* tip = &root;
    for (int i = 0; i < Depth; ++i)
        tip = &tip->addChild(Tag("n"));
    tip->addChild(Text("bottom"));

    Element copy(root);
    EXPECT_TRUE(copy.deepEquals(root));
    tip->setName("changed");
    EXPECT_FALSE(copy.deepEquals(root));

    const std::string written = copy.toString("", "", "");
    EXPECT_EQ(written.size(), (Depth + 1) * (3 + 4) + 6u);
    EXPECT_EQ(written.find("<n>bottom</n></n>"), size_t(Depth) * 3);

    Element assigned;
    assigned = copy;
    copy = Tag("gone");
    EXPECT_EQ(assigned.childCount(), 1);
}


// What a read builds is shared storage under the hood; none of that may show. Nodes taken out of
// a read tree outlive it, a re-read of the tree they came from, and each other; lists of read
// children grow and shrink like any other; and subtrees of one read die on several threads at
// once.
TEST(XmlElement, ReadNodesLiveOnWhateverHappensToTheTreeTheyCameFrom) {
    std::string text = "<scene>";
    for (int i = 0; i < 3000; ++i)
        text += "<tool n=\"" + std::to_string(i) + "\" long=\"a value past the short string\">" +
                "<name>tool " + std::to_string(i) + "</name><keys/></tool>";
    text += "</scene>";

    auto read = std::make_unique<Element>(text);
    ASSERT_EQ(read->childCount(), 3000);
    Element first = read->takeChild(0);
    Element copy = read->child(1500);
    Element moved = std::move(read->child(2998)); // the last, one having been taken
    read->parse("<other><x/></other>");
    EXPECT_EQ(read->child(0).name(), "x");
    read.reset();
    EXPECT_EQ(first.attribute("n"), "0");
    EXPECT_EQ(first.child("name").text(), "tool 0");
    EXPECT_EQ(copy.attribute("long"), "a value past the short string");
    EXPECT_EQ(moved.child("name").text(), "tool 2999");
    EXPECT_EQ(moved.child(1).name(), "keys");

    // A read child list takes more children, gives some up, and writes as it should.
    Element edited(text);
    Element& tool = edited.child(7);
    for (int i = 0; i < 40; ++i)
        tool.addChild(Tag("extra" + std::to_string(i)));
    EXPECT_TRUE(tool.removeChild(Tag("keys")));
    EXPECT_EQ(tool.takeChild(0).text(), "tool 7");
    EXPECT_EQ(tool.childCount(), 40);
    EXPECT_EQ(tool.child(39).name(), "extra39");
    const Element reread(edited.toString("", "", ""));
    EXPECT_TRUE(reread.deepEquals(edited));

    // Subtrees of one read, destroyed on four threads at the same time, many times over.
    for (int round = 0; round < 20; ++round) {
        Element source(text);
        std::vector<std::vector<Element>> shares(4);
        for (int i = 0; source.childCount() > 0; ++i)
            shares[static_cast<size_t>(i % 4)].push_back(source.takeChild(0));
        std::vector<std::thread> threads;
        for (auto& share : shares)
            threads.emplace_back([&share] { share.clear(); });
        for (auto& thread : threads)
            thread.join();
    }
}

} // namespace
