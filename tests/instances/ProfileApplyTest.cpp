#include "InstanceFixture.h"
#include "core/libraries/InputProfileManager.h"
#include "unidevice/Property.h"
#include "unidevice/PropertyHandler.h"

namespace qvn::test {
namespace {

using ProfileApplyTest = InstanceFixture;
using mvk::util::xml::Element;

struct Listener : mvk::util::MessageNode {
    void handleMessage(mvk::util::Message& message, bool) override { ids.push_back(message.id); }
    std::vector<int32_t> ids;
};

TEST_F(ProfileApplyTest, WrongElementsAreRefusedAndMissingControlsCountedWithBindingsKept) {
    Instance* instance = make();
    Element profile(
        "<inputprofile><profile name=\"Pad\">"
        "<property name=\"Pan\"><multiplier>2</multiplier><exponent>1</exponent>"
        "<deadzone>0</deadzone><offset>0</offset>"
        "<control device=\"Gone\" type=\"axis\" index=\"0\" description=\"Gone X\"/></property>"
        "<property name=\"Tilt\"><multiplier>-1</multiplier></property>"
        "<property name=\"Nope\"><multiplier>5</multiplier></property>"
        "</profile></inputprofile>");
    Listener listener;
    listener.subscribe(instance);
    // Anything but an input profile is refused without a word to the listeners.
    EXPECT_EQ(instance->applyInputProfile(Element()), Instance::NotAnInputProfile);
    EXPECT_EQ(instance->applyInputProfile(mvk::util::xml::Tag("configprofile")),
              Instance::NotAnInputProfile);
    EXPECT_TRUE(listener.ids.empty() || listener.ids.back() != Instance::InputProfileApplied);
    EXPECT_EQ(instance->applyInputProfile(profile), 1);
    EXPECT_EQ(instance->getInputProfileName(), "Pad");
    auto* pan = instance->getProperties()->property("Pan");
    auto* tilt = instance->getProperties()->property("Tilt");
    EXPECT_DOUBLE_EQ(pan->multiplier(), 2.0);
    EXPECT_DOUBLE_EQ(tilt->multiplier(), -1.0);
    EXPECT_EQ(pan->control(), nullptr);
    EXPECT_EQ(pan->binding().attribute("device"), "Gone");
    ASSERT_FALSE(listener.ids.empty());
    EXPECT_EQ(listener.ids.back(), Instance::InputProfileApplied);

    // Made back into a profile, the unbound property still carries its stored binding.
    const Element made = instance->makeInputProfile("Copy");
    ASSERT_EQ(made.childCount("property"), 3);
    EXPECT_EQ(made.child("property", 0).child("control", 0).attribute("device"), "Gone");
    EXPECT_TRUE(made.child("property", 1).child("control", 0).isEmpty());

    // A later profile that leaves the property unbound replaces the stored binding too.
    instance->applyInputProfile(Element("<profile><property name=\"Pan\"/></profile>"));
    EXPECT_TRUE(pan->binding().isEmpty());
}

TEST_F(ProfileApplyTest, ConfigurationProfilesRoundTripAndOlderOnesAreAnnounced) {
    Instance* instance = make();
    auto* code = static_cast<RigCode*>(instance->getCode());
    code->speed = 42;
    const Element stored = instance->makeConfigProfile("Fast");
    EXPECT_EQ(stored.attribute("version"), "2.0");
    EXPECT_EQ(stored.attribute("name"), "Fast");
    code->speed = 1;
    instance->applyConfigProfile(stored);
    EXPECT_DOUBLE_EQ(code->speed, 42.0);
    EXPECT_EQ(instance->getConfigProfileName(), "Fast");
    EXPECT_EQ(script.count("messageBox"), 0);
    Element older = stored;
    older.attribute("converted") = "yes";
    instance->applyConfigProfile(older);
    ASSERT_EQ(script.count("messageBox"), 1);
    EXPECT_EQ(script.questions()[0].text,
              "This profile has been saved in an older version of Rig. Some old settings might "
              "not work well in the current version. Use it with caution.");
    EXPECT_EQ(script.questions()[0].caption, "Morvik Quorvane");
}

} // namespace
} // namespace qvn::test
