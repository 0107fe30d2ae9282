// The writer: escaping, attribute quoting, inline and block layout, and save.
#include "util/xml/Element.h"

#include "support/TestEnvironment.h"

#include <gtest/gtest.h>

#include <string>

using mvk::util::xml::Element;
using mvk::util::xml::escape;
using mvk::util::xml::Tag;
using mvk::util::xml::TagWithData;
using mvk::util::xml::Text;
using mvk::util::xml::unescape;

namespace {

std::string singleLine(const Element& element) {
    return element.toString("", "", "");
}

std::string pretty(const Element& element) {
    return element.toString("\n", "\t", "");
}

TEST(XmlEscape, EveryByteIsKeptOrWrittenAsADecimalReference) {
    for (int c = 0; c < 256; ++c) {
        const std::string raw(1, static_cast<char>(c));
        const bool kept = c >= 0x20 && c <= 0x7e && c != '&' && c != '<';
        const std::string expected = kept ? raw : "&#" + std::to_string(c) + ";";
        EXPECT_EQ(escape(raw), expected) << "byte " << c;
        EXPECT_EQ(unescape(escape(raw)), raw) << "byte " << c;
        // Long runs take the vectorised path, where signedness mistakes would show.
        std::string longExpected;
        for (int i = 0; i < 37; ++i)
            longExpected += expected;
        EXPECT_EQ(escape(std::string(37, static_cast<char>(c))), longExpected) << "byte " << c;
    }
    EXPECT_EQ(escape("a<b&c"), "a&#60;b&#38;c");
    EXPECT_EQ(escape("tab\there\n\xe9 >\"'"), "tab&#9;here&#10;&#233; >\"'");
    // Runs long enough for the vector path, with the odd byte at every position.
    for (size_t at = 0; at < 40; ++at) {
        std::string raw(40, 'x');
        raw[at] = '\x01';
        std::string expected = raw.substr(0, at) + "&#1;" + raw.substr(at + 1);
        EXPECT_EQ(escape(raw), expected) << at;
    }
}

TEST(XmlWriter, AttributesKeepOrderAndAreSeparatedBySingleSpaces) {
    Element element("<a x='1' y='2'/>");
    EXPECT_EQ(singleLine(element), "<a x=\"1\" y=\"2\"/>");

    Tag tag("item");
    tag.attribute("z") = "last";
    tag.attribute("a") = "first";
    EXPECT_EQ(singleLine(tag), "<item z=\"last\" a=\"first\"/>");
}

TEST(XmlWriter, AttributeQuoting) {
    Tag tag("a");
    tag.attribute("d") = "say \"hi\"";
    tag.attribute("s") = "it's";
    tag.attribute("b") = "say \"hi\" it's";
    tag.attribute("g") = "a>b<c&d\te";
    EXPECT_EQ(singleLine(tag), "<a d='say \"hi\"' s=\"it's\" b=\"say &#34;hi&#34; it's\" "
                               "g=\"a&#62;b&#60;c&#38;d&#9;e\"/>");
    Element back(singleLine(tag));
    EXPECT_EQ(back.attributes(), tag.attributes());
}

TEST(XmlWriter, NamesTextAndCommentsAreEscaped) {
    Tag tag("t\xe9");
    tag.addChild(Text("a<b&c"));
    EXPECT_EQ(singleLine(tag), "<t&#233;>a&#60;b&#38;c</t&#233;>");

    Element comment;
    comment.setType(Element::KindComment);
    comment.setName("a\tb");
    EXPECT_EQ(comment.toString("\n", "\t", "  "), "  <!-- a&#9;b-- >");
}

TEST(XmlWriter, BlockModeIndentsEveryChildOnItsOwnLine) {
    Element element("<r><a><b/></a>x<c/></r>");
    EXPECT_EQ(pretty(element), "<r>\n\t<a>\n\t\t<b/>\n\t</a>\nx\n\t<c/>\n</r>");
    EXPECT_EQ(element.toString("\n", "  ", "> "),
              "> <r>\n>   <a>\n>     <b/>\n>   </a>\nx\n>   <c/>\n> </r>");
}

TEST(XmlWriter, InlineModeWhenTheFirstChildIsText) {
    // The tag child keeps its indentation, on the same line.
    Tag tag("a");
    tag.addChild(Text("x"));
    tag.addChild(Tag("b"));
    EXPECT_EQ(pretty(tag), "<a>x\t<b/></a>");

    // Adjacent text runs get one space between them.
    Tag texts("a");
    texts.addChild(Text("x"));
    texts.addChild(Text("y"));
    texts.addChild(Tag("b"));
    texts.addChild(Text("z"));
    EXPECT_EQ(singleLine(texts), "<a>x y<b/>z</a>");

    // A block-mode child of an inline parent indents one level deeper.
    Tag nested("a");
    nested.addChild(Text("x"));
    nested.addChild(Tag("b")).addChild(Tag("c"));
    EXPECT_EQ(pretty(nested), "<a>x\t<b>\n\t\t<c/>\n\t</b></a>");
}

TEST(XmlWriter, KindsWithoutAFormAreWrittenAsNothing) {
    EXPECT_EQ(singleLine(Element()), "");
    Tag tag("a");
    Element other;
    other.setType(7);
    other.setName("ignored");
    tag.addChild(other);
    tag.addChild(Tag("b"));
    EXPECT_EQ(pretty(tag), "<a>\n\n\t<b/>\n</a>");
    EXPECT_EQ(singleLine(Text("a&b")), "a&#38;b");
}

TEST(XmlWriter, ValueElementsAndTheSingleLineForm) {
    Tag root("profile");
    root.attribute("name") = "Default";
    root.addChild(TagWithData("version", "2"));
    root.addChild(Tag("axis"));
    EXPECT_EQ(singleLine(root), "<profile name=\"Default\"><version>2</version><axis/></profile>");
    EXPECT_EQ(singleLine(TagWithData("empty", "")), "<empty></empty>");
}

class XmlSave : public ::testing::Test {
protected:
    qvn::test::TestEnvironment environment;
};

TEST_F(XmlSave, WritesTheDeclarationAndTheTabIndentedTree) {
    Tag root("profile");
    root.attribute("name") = "Default";
    root.addChild(TagWithData("version", "2"));
    root.addChild(Tag("axis"));
    const std::string path = environment.root() + "/profile.xml";
    ASSERT_TRUE(root.save(path));
    EXPECT_EQ(qvn::test::TestEnvironment::readFile(path),
              "<?xml version=\"1.0\"?>\n<profile name=\"Default\">\n\t<version>2</version>\n"
              "\t<axis/>\n</profile>");

    Element loaded;
    ASSERT_EQ(loaded.load(path), Element::Parsed);
    EXPECT_TRUE(loaded.deepEquals(root));
}

TEST_F(XmlSave, TruncatesAnExistingFile) {
    const std::string path = environment.writeFile("old.xml", std::string(1000, 'x'));
    ASSERT_TRUE(Tag("a").save(path));
    EXPECT_EQ(qvn::test::TestEnvironment::readFile(path), "<?xml version=\"1.0\"?>\n<a/>");
}

TEST_F(XmlSave, ReportsOpenAndWriteFailures) {
    EXPECT_FALSE(Tag("a").save(environment.root() + "/no/such/folder/a.xml"));
    EXPECT_FALSE(Tag("a").save(environment.root()));
    Tag big("a");
    big.addChild(Text(std::string(1 << 20, 'x')));
    EXPECT_FALSE(big.save("/dev/full"));
}

} // namespace
