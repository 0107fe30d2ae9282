// The document model: construction, look-ups, edits, equality and copies, including trees far
// deeper than any stack could walk recursively.
#include "util/xml/Element.h"

#include <gtest/gtest.h>

#include <string>

using mvk::util::xml::Data;
using mvk::util::xml::Element;
using mvk::util::xml::Tag;
using mvk::util::xml::TagWithData;
using mvk::util::xml::Text;

namespace {

TEST(XmlElement, ConvenienceClassesOnlyConstruct) {
    EXPECT_EQ(Element().type(), Element::KindNone);
    EXPECT_TRUE(Element().isEmpty());

    Tag tag("a");
    EXPECT_EQ(tag.type(), Element::KindTag);
    EXPECT_EQ(tag.name(), "a");

    Text text("x y");
    EXPECT_EQ(text.type(), Element::KindText);
    EXPECT_EQ(text.name(), "x y");

    TagWithData value("description", "hello");
    ASSERT_EQ(value.childCount(), 1);
    EXPECT_EQ(value.child(0).type(), Element::KindText);
    EXPECT_EQ(value.text(), "hello");
    EXPECT_EQ(TagWithData("description", "").childCount(), 1);

    Data data(value.child(0));
    EXPECT_TRUE(data.deepEquals(value.child(0)));
}

TEST(XmlElement, ModifiableAttributeAddsReadOnlyDoesNot) {
    Tag tag("a");
    const Element& view = tag;
    EXPECT_EQ(view.attribute("x"), "");
    EXPECT_TRUE(tag.attributes().empty());
    EXPECT_FALSE(tag.hasAttribute("x"));

    tag.attribute("x") = "1";
    tag.attribute("y") = "2";
    tag.attribute("x") = "3";
    EXPECT_EQ(tag.attributes(), (std::vector<Element::Attribute>{{"x", "3"}, {"y", "2"}}));
    EXPECT_TRUE(tag.hasAttribute("y"));
    EXPECT_EQ(tag.attribute("X"), "");
    EXPECT_EQ(tag.attributes().size(), 3u);
}

TEST(XmlElement, FailedLookUpsReturnTheSharedEmptyElement) {
    Element element("<a><b>1</b><c/><b>2</b></a>");
    const Element& view = element;
    Element& shared = Element::emptyElement();
    EXPECT_EQ(&element.child(-1), &shared);
    EXPECT_EQ(&element.child(3), &shared);
    EXPECT_EQ(&view.child(99), &shared);
    EXPECT_EQ(&element.child("missing", 0), &shared);
    EXPECT_EQ(&element.child("b", 2), &shared);
    EXPECT_EQ(&element.child("b", -1), &shared);
    EXPECT_TRUE(element.child("missing").isEmpty());
    EXPECT_EQ(element.child("missing").child("deeper").text(), "");

    EXPECT_EQ(element.child("b", 1).text(), "2");
    EXPECT_EQ(element.childCount(), 3);
    EXPECT_EQ(element.childCount("b"), 2);
    EXPECT_EQ(element.childCount("none"), 0);
    EXPECT_EQ(element.child("c").text(), "");
}

TEST(XmlElement, TheSharedEmptyElementIsWipedBeforeReuse) {
    Element element("<a/>");
    Element& careless = element.child("missing");
    careless.attribute("x") = "1";
    careless.setName("polluted");
    careless.setType(Element::KindTag);
    const Element& next = element.child(5);
    EXPECT_TRUE(next.isEmpty());
    EXPECT_TRUE(next.attributes().empty());
    EXPECT_EQ(next.type(), Element::KindNone);
}

TEST(XmlElement, TextIsTheFirstTextChild) {
    Element element("<a><b/>first<c/></a>");
    EXPECT_EQ(element.text(), "first");
    EXPECT_EQ(Element("<a><b/></a>").text(), "");
}

TEST(XmlElement, AddChildCopiesAndIgnoresEmptyElements) {
    Tag root("root");
    EXPECT_EQ(&root.addChild(Element()), &root);
    EXPECT_EQ(&root.addChild(Text("")), &root);
    Tag attributesOnly("");
    attributesOnly.attribute("x") = "1";
    EXPECT_EQ(&root.addChild(attributesOnly), &root);
    EXPECT_EQ(root.childCount(), 0);

    Tag original("item");
    Element& added = root.addChild(original);
    added.attribute("filled") = "later";
    EXPECT_EQ(&root.child(0), &added);
    EXPECT_TRUE(original.attributes().empty());

    // Adding an element to itself copies it first.
    root.addChild(root);
    ASSERT_EQ(root.childCount(), 2);
    EXPECT_EQ(root.child(1).childCount(), 1);
}

TEST(XmlElement, RemoveChildUsesTheShallowComparison) {
    Element element("<a><b x='1'><deep/></b><b x='2'/><b x='1'/></a>");
    EXPECT_TRUE(element.removeChild(Element("<b x='1'/>")));
    ASSERT_EQ(element.childCount(), 2);
    EXPECT_EQ(element.child(0).attribute("x"), "2");
    EXPECT_FALSE(element.removeChild(Element("<b x='3'/>")));
    EXPECT_TRUE(element.removeChild(element.child(1)));
    EXPECT_EQ(element.childCount(), 1);
}

TEST(XmlElement, TakeChild) {
    Element element("<a><b><c/></b><d/></a>");
    Element taken = element.takeChild(0);
    EXPECT_EQ(taken.name(), "b");
    EXPECT_EQ(taken.child(0).name(), "c");
    EXPECT_EQ(element.childCount(), 1);
    EXPECT_EQ(element.child(0).name(), "d");

    Element outOfRange = element.takeChild(1);
    EXPECT_TRUE(outOfRange.isEmpty());
    EXPECT_EQ(element.takeChild(-1).type(), Element::KindNone);
    EXPECT_EQ(element.childCount(), 1);
}

TEST(XmlElement, ShallowAndDeepEquality) {
    Element a("<a x='1' y='2'><b/></a>");
    Element b("<a x='1' y='2'><c/></a>");
    Element reordered("<a y='2' x='1'><b/></a>");
    EXPECT_TRUE(a == b);
    EXPECT_FALSE(a.deepEquals(b));
    EXPECT_FALSE(a == reordered);
    EXPECT_TRUE(a.deepEquals(Element("<a x='1' y='2'><b/></a>")));
    EXPECT_FALSE(a.deepEquals(Element("<a x='1' y='2'><b/><b/></a>")));
    EXPECT_FALSE(Text("a") == Tag("a"));
}

TEST(XmlElement, ClearKeepsTheKind) {
    Element element("<a x='1'><b/></a>");
    element.clear();
    EXPECT_TRUE(element.isEmpty());
    EXPECT_TRUE(element.attributes().empty());
    EXPECT_EQ(element.type(), Element::KindTag);
}

TEST(XmlElement, CopiesAreDeepAndIndependent) {
    Element original("<a x='1'><b><c>t</c></b></a>");
    Element copy(original);
    EXPECT_TRUE(copy.deepEquals(original));
    copy.child(0).child(0).attribute("changed") = "yes";
    EXPECT_FALSE(copy.deepEquals(original));
    EXPECT_EQ(original.child(0).child(0).attribute("changed"), "");

    Element assigned;
    assigned = original;
    EXPECT_TRUE(assigned.deepEquals(original));
    Element& self = assigned;
    assigned = self;
    EXPECT_TRUE(assigned.deepEquals(original));
}

TEST(XmlElement, AssigningFromOwnDescendant) {
    Element element("<a><b x='1'><c/></b></a>");
    element.assign(element.child(0));
    EXPECT_TRUE(element.deepEquals(Element("<b x='1'><c/></b>")));

    element = std::move(element.child(0));
    EXPECT_TRUE(element.deepEquals(Element("<c/>")));
}

TEST(XmlElement, MovesLeaveAnEmptyElement) {
    Element source("<a x='1'><b/></a>");
    Element target(std::move(source));
    EXPECT_EQ(target.childCount(), 1);
    EXPECT_TRUE(source.isEmpty());
    EXPECT_TRUE(source.attributes().empty());
    EXPECT_EQ(source.type(), Element::KindNone);
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

} // namespace
