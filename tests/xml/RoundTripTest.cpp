// Generated trees that the dialect can represent are written and read back unchanged.
#include "util/xml/Element.h"

#include "support/TestEnvironment.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

using mvk::util::xml::Element;
using mvk::util::xml::Tag;
using mvk::util::xml::Text;

namespace {

class TreeGenerator {
public:
    explicit TreeGenerator(unsigned seed) : random(seed) {}

    // `textOnlyAlone`: a text is always its element's only child, the form that survives the
    // indented layout of save.
    Element tree(bool textOnlyAlone) {
        Tag root(name());
        fill(root, 0, textOnlyAlone);
        return root;
    }

private:
    int below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); }

    // Tag names avoid bytes that the writer escapes or that the reader takes as structure.
    std::string name() {
        static const std::string first = "abcxyzABZ_:";
        static const std::string rest = "abcxyzABZ_:-.0129";
        std::string result(1, first[static_cast<size_t>(below(int(first.size())))]);
        for (int n = below(6); n > 0; --n)
            result += rest[static_cast<size_t>(below(int(rest.size())))];
        return result;
    }

    // Any bytes at all, but never only spaces: whitespace alone before a tag is dropped.
    std::string text(int maxLength) {
        std::string result;
        for (int n = 1 + below(maxLength); n > 0; --n) {
            const int kind = below(4);
            result += kind == 0   ? static_cast<char>(below(256))
                      : kind == 1 ? "<>&\"' =/?!#;"[below(12)]
                                  : static_cast<char>('a' + below(26));
        }
        if (result.find_first_not_of(' ') == std::string::npos)
            result += 'x';
        return result;
    }

    void fill(Element& element, int depth, bool textOnlyAlone) {
        for (int n = below(4); n > 0; --n) {
            std::string attributeName = name();
            element.attribute(attributeName) = below(3) == 0 ? std::string() : text(12);
        }
        if (depth > 5)
            return;
        const int children = below(depth == 0 ? 6 : 4);
        if (children == 1 && below(2) == 0) {
            element.addChild(Text(text(30)));
            return;
        }
        bool lastWasText = textOnlyAlone; // then only a lone text child is ever made
        for (int i = 0; i < children; ++i) {
            if (!textOnlyAlone && !lastWasText && below(3) == 0) {
                element.addChild(Text(text(20)));
                lastWasText = true;
                continue;
            }
            fill(element.addChild(Tag(name())), depth + 1, textOnlyAlone);
            lastWasText = false;
        }
    }

    std::mt19937 random;
};

// Every tree through the single-line form, which must also write again to the same bytes; every
// seventh tree, with texts only as lone children, also through save and load.
TEST(XmlRoundTrip, GeneratedTreesReadBackDeepEqual) {
    qvn::test::TestEnvironment environment;
    const std::string path = environment.root() + "/tree.xml";
    for (unsigned seed = 1; seed <= 2100; ++seed) {
        const Element tree = TreeGenerator(seed).tree(seed % 7 == 0);
        const std::string written = tree.toString("", "", "");
        Element back;
        ASSERT_EQ(back.parse(written), Element::Parsed) << "seed " << seed << ": " << written;
        ASSERT_TRUE(back.deepEquals(tree)) << "seed " << seed << ": " << written;
        ASSERT_EQ(back.toString("", "", ""), written) << "seed " << seed;
        if (seed % 7 != 0)
            continue;
        const std::string pretty = tree.toString("\n", "\t", "");
        ASSERT_TRUE(tree.save(path));
        ASSERT_EQ(back.load(path), Element::Parsed) << "seed " << seed;
        ASSERT_TRUE(back.deepEquals(tree)) << "seed " << seed << ": " << pretty;
    }
}

} // namespace
