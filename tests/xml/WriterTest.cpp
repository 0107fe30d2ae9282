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
        // Runs long enough for the vectorised path, where signedness mistakes would show, with
        // the byte at every position.
        const size_t at = static_cast<size_t>(c % 40);
        std::string run(40, 'x');
        run[at] = raw[0];
        EXPECT_EQ(escape(run), run.substr(0, at) + expected + run.substr(at + 1)) << "byte " << c;
    }
    EXPECT_EQ(escape("tab\there\n\xe9 >\"'"), "tab&#9;here&#10;&#233; >\"'");
}

TEST(XmlWriter, SingleLineAndIndentedForms) {
    struct Case {
        const char* xml;
        bool indented; // newline "\n", indentation "\t", or the single-line form
        const char* written;
    };
    const Case cases[] = {
        // Attributes keep their order; the quote is the one the value needs.
        {"<item z='last' a='first'/>", false, "<item z=\"last\" a=\"first\"/>"},
        {"<a d='say \"hi\"' s=\"it's\" b='say \"hi\" it&#39;s' g='a&#62;b&#60;c&#38;d&#9;e'/>",
         false,
         "<a d='say \"hi\"' s=\"it's\" b=\"say &#34;hi&#34; it's\" "
         "g=\"a&#62;b&#60;c&#38;d&#9;e\"/>"},
        // Names and texts are escaped.
        {"<t&#233;>a&#60;b&#38;c</t&#233;>", false, "<t&#233;>a&#60;b&#38;c</t&#233;>"},
        // Block mode: every child on its own line; a text child is not indented.
        {"<r><a><b/></a>x<c/></r>", true, "<r>\n\t<a>\n\t\t<b/>\n\t</a>\nx\n\t<c/>\n</r>"},
        // Inline mode when the first child is text: a tag child keeps its indentation on the
        // same line, and a block-mode child of it indents one level deeper.
        {"<a>x<b/></a>", true, "<a>x\t<b/></a>"},
        {"<a>x<b><c/></b></a>", true, "<a>x\t<b>\n\t\t<c/>\n\t</b></a>"},
        // Adjacent text runs get one space between them.
        {"<a>x<>y<b/>z</a>", false, "<a>x y<b/>z</a>"},
    };
    for (const Case& c : cases) {
        const Element element(c.xml);
        EXPECT_EQ(c.indented ? pretty(element) : singleLine(element), c.written) << c.xml;
    }
    EXPECT_EQ(Element("<r><a><b/></a>x<c/></r>").toString("\n", "  ", "> "),
              "> <r>\n>   <a>\n>     <b/>\n>   </a>\nx\n>   <c/>\n> </r>");
    EXPECT_EQ(singleLine(TagWithData("empty", "")), "<empty></empty>");
}

TEST(XmlSave, WritesTheDeclarationAndTheTabIndentedTree) {
    qvn::test::TestEnvironment environment;
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

    // An existing file is truncated; failures to open or write are reported.
    ASSERT_TRUE(Tag("a").save(path));
    EXPECT_EQ(qvn::test::TestEnvironment::readFile(path), "<?xml version=\"1.0\"?>\n<a/>");
    EXPECT_FALSE(Tag("a").save(environment.root() + "/no/such/folder/a.xml"));
    Tag big("a");
    big.addChild(Text(std::string(1 << 20, 'x')));
    EXPECT_FALSE(big.save("/dev/full"));
}

// A hostile tree nested far deeper than any layout: the indentation stops growing at 64 levels,
// so the written size stays linear in the depth, and the document still reads back the same.
TEST(XmlSave, IndentationStopsGrowingSoDeepTreesStayLinearInSize) {
    constexpr int Depth = 5000;
    Element root = Tag("n");
    Element* tip = &root;
    for (int i = 0; i < Depth; ++i)
        tip = &tip->addChild(Tag("n"));
    tip->addChild(Tag("leaf"));

    const std::string written = pretty(root);
    // Each level: start and end tag (3 + 4 bytes), two newlines and at most 64 tabs twice.
    EXPECT_LE(written.size(), size_t(Depth + 2) * (3 + 4 + 2 + 2 * 64));
    const auto tabsBefore = [&written](const std::string& line) {
        const size_t at = written.find(line);
        const size_t start = written.rfind('\n', at) + 1;
        return written.find_first_not_of('\t', start) - start;
    };
    EXPECT_EQ(tabsBefore("<leaf/>"), 64u);
    // Shallow levels keep one tab per level, up to the cap.
    std::string line = "\n";
    for (int level = 1; level <= 64; ++level)
        line += '\t';
    EXPECT_NE(written.find(line + "<n>\n"), std::string::npos);
    EXPECT_EQ(written.find(line + "\t<"), std::string::npos);
    EXPECT_EQ(written.substr(0, 9), "<n>\n\t<n>\n");
    EXPECT_EQ(written.substr(written.size() - 11), "\n\t</n>\n</n>");

    qvn::test::TestEnvironment environment;
    const std::string path = environment.root() + "/deep.xml";
    ASSERT_TRUE(root.save(path));
    Element loaded;
    ASSERT_EQ(loaded.load(path), Element::Parsed);
    EXPECT_TRUE(loaded.deepEquals(root));
}

} // namespace
