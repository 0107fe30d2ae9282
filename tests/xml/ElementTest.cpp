// The document model: look-ups and edits, trees far deeper than any stack could walk
// recursively, and read trees whose nodes go their own ways.
#include "util/xml/Element.h"

#include <gtest/gtest.h>

#include <algorithm>
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

// The strings a read tree hands out are made on first use from the document's own copy. Whoever
// asks first, from whichever thread, everyone gets the same strings, and what a caller holds
// stays true through later edits of the node.
TEST(XmlElement, ReadNodesHandOutStableStringsToEveryThreadAndKeepThemThroughEdits) {
    std::string text = "<scene version='2'>";
    for (int i = 0; i < 400; ++i)
        text += "<tool n='" + std::to_string(i) + "' label='tool &#38; more &#60;" +
                std::to_string(i) + "&#62;'>text of tool " + std::to_string(i) + "</tool>";
    text += "</scene>";
    const Element read(text);
    ASSERT_EQ(read.childCount(), 400);

    // Eight threads ask for the same never-used strings at once.
    constexpr int Threads = 8;
    std::vector<std::vector<const void*>> seen(Threads);
    std::vector<std::thread> threads;
    for (int t = 0; t < Threads; ++t) {
        threads.emplace_back([&read, &seen, t] {
            for (int i = 0; i < read.childCount(); ++i) {
                const int index = (i * 7 + t * 53) % read.childCount();
                const Element& tool = read.child(index);
                seen[t].push_back(&tool.name());
                seen[t].push_back(&tool.attributes());
                seen[t].push_back(&tool.text());
            }
        });
    }
    for (std::thread& thread : threads)
        thread.join();
    for (int t = 1; t < Threads; ++t) {
        std::vector<const void*> a = seen[0];
        std::vector<const void*> b = seen[t];
        std::sort(a.begin(), a.end());
        std::sort(b.begin(), b.end());
        EXPECT_EQ(a, b) << "thread " << t;
    }
    for (int i = 0; i < read.childCount(); ++i) {
        const std::string n = std::to_string(i);
        const Element& tool = read.child(i);
        ASSERT_EQ(tool.name(), "tool");
        const std::vector<Element::Attribute> expected = {{"n", n},
                                                          {"label", "tool & more <" + n + ">"}};
        ASSERT_EQ(tool.attributes(), expected);
        ASSERT_EQ(tool.text(), "text of tool " + n);
    }

    // A read node compares equal to the same node built in code, either way round, before and
    // after its strings were made.
    Element fresh(text);
    Tag built("tool");
    built.attribute("n") = "3";
    built.attribute("label") = "tool & more <3>";
    EXPECT_TRUE(fresh.child(3) == built);
    EXPECT_TRUE(built == fresh.child(3));
    EXPECT_FALSE(fresh.child(4) == built);
    EXPECT_EQ(fresh.child(3).attributes().size(), 2u);
    EXPECT_TRUE(fresh.child(3) == built);
    EXPECT_TRUE(fresh.removeChild(built));
    EXPECT_EQ(fresh.child(3).attribute("n"), "4");

    // Edits of a read node keep what was not edited, and references already handed out follow.
    Element& tool = fresh.child(10);
    const std::vector<Element::Attribute>& attributes = tool.attributes();
    const std::string& name = tool.name();
    tool.setName("renamed");
    tool.attribute("added") = "yes";
    EXPECT_EQ(name, "renamed");
    EXPECT_EQ(&tool.attributes(), &attributes);
    EXPECT_EQ(attributes.size(), 3u);
    EXPECT_EQ(tool.attribute("label"), "tool & more <11>");
    Element& other = fresh.child(11);
    other.setName("alsoRenamed"); // strings never made before the edit
    EXPECT_EQ(other.attribute("n"), "12");
    EXPECT_EQ(other.text(), "text of tool 12");
    const Element reread(fresh.toString("", "", ""));
    EXPECT_TRUE(reread.deepEquals(fresh));
    EXPECT_EQ(reread.child(10).attribute("added"), "yes");
    EXPECT_EQ(reread.child(11).name(), "alsoRenamed");

    // Children with more attributes than a small document's arena hands out at once, taken out
    // of a tree that is then dropped.
    std::string wide = "<a>";
    for (int c = 0; c < 3; ++c) {
        wide += "<b";
        for (int i = 0; i < 60; ++i)
            wide += " k" + std::to_string(i) + "='" + std::to_string(c * 100 + i) + "'";
        wide += "/>";
    }
    wide += "</a>";
    auto wideTree = std::make_unique<Element>(wide);
    ASSERT_EQ(wideTree->childCount(), 3);
    Element kept = wideTree->takeChild(1);
    wideTree.reset();
    EXPECT_EQ(kept.attribute("k59"), "159");
    EXPECT_EQ(kept.attributes().size(), 60u);
}

} // namespace
