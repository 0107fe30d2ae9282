// The reader: result codes, what the tokenizer keeps and drops, attributes, character
// references, files and hostile input.
#include "util/xml/Element.h"

#include "support/TestEnvironment.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using mvk::util::xml::Element;

namespace {

struct CodeCase {
    std::string text;
    int code;
};

// Names of the children, so structure shows in one comparison.
std::vector<std::string> childNames(const Element& element) {
    std::vector<std::string> names;
    for (int i = 0; i < element.childCount(); ++i)
        names.push_back(element.child(i).name());
    return names;
}

TEST(XmlParser, ResultCodes) {
    const std::vector<CodeCase> cases = {
        {"<a x='1' y='2'/>", Element::Parsed},
        {"<a/>tokens after the root <are ignored", Element::Parsed},
        {"", Element::NothingToParse},
        {"</a>", Element::NothingToParse},
        {"<a x='1'", Element::UnexpectedEnd},
        {"<a></a >", Element::MismatchedEndTag},
        {"<a x = '1'/>", Element::Malformed},
        {"<a x=\"1'/>", Element::Malformed},
        {"<?xml version='1.0'?>", Element::Malformed},
        // A zero byte ends the text.
        {std::string("<a>x\0</a>", 9), Element::UnexpectedEnd},
        // The end tag is compared raw with the unescaped name.
        {"<&#97;></&#97;>", Element::MismatchedEndTag},
        {"<&#97;></a>", Element::Parsed},
    };
    for (const CodeCase& c : cases) {
        Element element;
        EXPECT_EQ(element.parse(c.text), c.code) << c.text;
    }
}

TEST(XmlParser, WhitespaceBeforeATagIsDroppedInsideTextItStays) {
    Element element;
    ASSERT_EQ(element.parse("<a>\n  <b/>  x  y\t<c/>\t </a>"), Element::Parsed);
    EXPECT_EQ(childNames(element), (std::vector<std::string>{"b", "  x  y\t", "c"}));

    Element whitespaceOnly;
    ASSERT_EQ(whitespaceOnly.parse("<a>   </a>"), Element::Parsed);
    EXPECT_EQ(whitespaceOnly.childCount(), 0);
}

TEST(XmlParser, AttributeRules) {
    Element element("<a x='1'y=\"2\" q='say \"hi\"' r=\"it's\" e='' x='3' ?tail='z'/>");
    EXPECT_EQ(element.attributes(),
              (std::vector<Element::Attribute>{
                  {"x", "3"}, {"y", "2"}, {"q", "say \"hi\""}, {"r", "it's"}, {"e", ""}}));

    // Repeated names overwrite also on tags with many attributes.
    std::string text = "<a";
    for (int i = 0; i < 40; ++i)
        text += " n" + std::to_string(i) + "='" + std::to_string(i) + "'";
    text += " n3='again' n35='again'/>";
    Element many(text);
    ASSERT_EQ(many.attributes().size(), 40u);
    EXPECT_EQ(many.attributes()[3], (Element::Attribute{"n3", "again"}));
    EXPECT_EQ(many.attributes()[39], (Element::Attribute{"n39", "39"}));
}

TEST(XmlParser, UnescapesTextNamesAndCommentsAndDeclarationOnlyFirst) {
    Element element("<t&#97;g>&#60;x&#62;<!&#65;></tag>");
    EXPECT_EQ(element.name(), "tag");
    EXPECT_EQ(element.child(0).name(), "<x>");
    EXPECT_EQ(element.child(1).name(), "A");

    EXPECT_EQ(Element("<?xml version='1.0'?><root/>").name(), "root");
    Element text("<?xml?>hello <b/>");
    EXPECT_EQ(text.type(), Element::KindText);
    EXPECT_EQ(text.name(), "hello ");
    // A comment after the declaration becomes the root; the real root is ignored.
    Element comment("<?xml?><!-- c --><root/>");
    EXPECT_EQ(comment.type(), Element::KindComment);
    EXPECT_EQ(comment.name(), "-- c --");
}

// Levels below `element` along the first children, and the innermost element.
int depthOf(const Element& element, const Element** innermost) {
    int levels = 0;
    const Element* level = &element;
    for (; level->childCount() > 0; level = &level->child(0))
        ++levels;
    *innermost = level;
    return levels;
}

TEST(XmlParser, AnyNestingDepthParsesWithItsUsualResult) {
    constexpr int Depth = 1000000;
    std::string opened;
    for (int i = 0; i < Depth; ++i)
        opened += "<a>";
    std::string closed = opened + "deep";
    for (int i = 0; i < Depth; ++i)
        closed += "</a>";

    Element element;
    ASSERT_EQ(element.parse(closed), Element::Parsed);
    const Element* innermost = nullptr;
    EXPECT_EQ(depthOf(element, &innermost), Depth);
    EXPECT_EQ(innermost->name(), "deep");
    EXPECT_EQ(element.toString("", "", ""), closed);

    // The root keeps its name but none of the unfinished elements below it.
    EXPECT_EQ(element.parse(opened), Element::UnexpectedEnd);
    EXPECT_EQ(element.name(), "a");
    EXPECT_EQ(element.childCount(), 0);
    EXPECT_EQ(element.parse(opened + "</b>"), Element::MismatchedEndTag);
    EXPECT_EQ(element.childCount(), 0);

    // A finished deep subtree stays when a later sibling breaks the document.
    ASSERT_EQ(element.parse("<r>" + closed + "<c x=1/></r>"), Element::Malformed);
    ASSERT_EQ(element.childCount(), 1);
    EXPECT_EQ(depthOf(element.child(0), &innermost), Depth);
}

TEST(XmlParser, HostileInputIsHandled) {
    Element element;
    std::string attributes = "<a";
    for (int i = 0; i < 200000; ++i)
        attributes += " a" + std::to_string(i) + "=''";
    attributes += "/>";
    ASSERT_EQ(element.parse(attributes), Element::Parsed);
    EXPECT_EQ(element.attributes().size(), 200000u);

    std::string same = "<a";
    for (int i = 0; i < 200000; ++i)
        same += " a='" + std::to_string(i) + "'";
    same += "/>";
    ASSERT_EQ(element.parse(same), Element::Parsed);
    EXPECT_EQ(element.attribute("a"), "199999");

    EXPECT_EQ(element.parse("<a>" + std::string(4 << 20, 'x') + "</a>"), Element::Parsed);
    EXPECT_EQ(element.text().size(), size_t(4) << 20);

    std::string garbage;
    for (int i = 0; i < 1 << 20; ++i)
        garbage += static_cast<char>((i * 2654435761u) >> 24);
    element.parse("<a>" + garbage);
    element.parse(std::string(1 << 20, '<'));
    element.parse("<a>" + std::string(1 << 20, '&'));
    element.parse(std::string("<a>") + std::string(1 << 20, '>'));
}

TEST(XmlLoad, LinesAreJoinedWithoutTheirLineEndsAndFailuresAreReported) {
    qvn::test::TestEnvironment environment;
    Element element;
    ASSERT_EQ(element.load(environment.writeFile("v.xml", "<v>\n12</v>\n")), Element::Parsed);
    EXPECT_EQ(element.text(), "12");

    ASSERT_EQ(element.load(environment.writeFile("crlf.xml", "<v>\r\n1\r\n2</v>")), 0);
    EXPECT_EQ(element.text(), "12");

    // The indentation of the next line ends up at the end of the text before it.
    ASSERT_EQ(element.load(environment.writeFile("i.xml", "<a>x\n\t<b/>\n</a>\n")), 0);
    EXPECT_EQ(element.child(0).name(), "x\t");

    EXPECT_EQ(element.load(environment.root() + "/missing.xml"), Element::CannotOpen);
    EXPECT_EQ(element.load(environment.root()), Element::CannotOpen);
    EXPECT_EQ(element.load(environment.writeFile("open.xml", "<a>\n<b>\n")),
              Element::UnexpectedEnd);
}

} // namespace
