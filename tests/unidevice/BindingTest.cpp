#include "FakeInput.h"

#include <gtest/gtest.h>

namespace qvn::test {
namespace {

using mvk::util::xml::Element;
using mvk::util::xml::Tag;

Element binding(std::initializer_list<Element::Attribute> attributes) {
    Element element = Tag("control");
    for (const auto& [name, value] : attributes)
        element.attribute(name) = value;
    return element;
}

class BindingTest : public InputTest {};

TEST_F(BindingTest, FindControlRoundTripsAndWithoutDevindexTheFirstDeviceOfTheNameWins) {
    FakeDevice stick("Stick", 0, 3);
    FakeDevice third("Pad", 3, 3);
    FakeDevice first("Pad", 0, 3);
    for (FakeDevice* device : {&stick, &third})
        for (int i = 0; i < device->controlCount(); ++i)
            EXPECT_EQ(handler()->findControl(device->control(i)->toXML()), device->control(i))
                << device->tag() << " axis " << i;
    EXPECT_EQ(handler()->findControl(first.control(1)->toXML()), third.control(1));
    EXPECT_EQ(
        handler()->findControl(binding({{"device", "Pad"}, {"devindex", "2"}, {"type", "axis"}})),
        nullptr);
    EXPECT_EQ(handler()->findControl(Element()), nullptr);
}

} // namespace
} // namespace qvn::test
