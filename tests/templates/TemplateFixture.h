#pragma once
// A core attached in this process to the reference host, with helpers that make template
// instances from custom data the way a stored tag or a template file makes them.
#include "RefHost.h"
#include "core/CoreImplementation.h"
#include "core/Startup.h"
#include "core/instances/Instance.h"
#include "core/instances/InstanceReference.h"
#include "core/plugins/TemplatePlugin.h"
#include "support/ScriptedInteraction.h"
#include "support/TestEnvironment.h"
#include "unidevice/Property.h"
#include "unidevice/PropertyHandler.h"
#include "util/Log.h"
#include "util/xml/Element.h"

#include <gtest/gtest.h>

#include <string>

namespace qvn::test {

using namespace mvk::qvn;
using namespace mvk::qvn::core;
using mvk::util::xml::Element;
using mvk::util::xml::Tag;

class TemplateFixture : public ::testing::Test {
protected:
    explicit TemplateFixture(const std::string& installRoot = {}) : environment(installRoot) {}
    void SetUp() override {
        environment.userDataPath();
        core = static_cast<CoreImplementation*>(attachCore(&host));
        ASSERT_NE(core, nullptr);
    }
    void TearDown() override { detachCore(core); }

    // An instance of the "template" tool whose custom data is `customData` (XML text of the
    // children); null when none was made.
    Instance* restore(const std::string& customData) {
        Element tag("<QVT_Plugin version=\"2.5\"><type>template</type><name>T</name><customdata>" +
                    customData + "</customdata></QVT_Plugin>");
        InstanceReference* reference = core->createFromScene(tag, nullptr);
        return reference ? reference->getInstance() : nullptr;
    }
    // A new instance of the named tool, made the way the create menus make one.
    Instance* create(const std::string& tool) {
        InstanceReference* reference = core->InstanceManager::createInstance(tool, "");
        return reference ? reference->getInstance() : nullptr;
    }
    static plugins::TemplatePlugin::Code* code(Instance* instance) {
        return dynamic_cast<plugins::TemplatePlugin::Code*>(instance->getCode());
    }
    // What the code writes back with extension 44.
    static Element writtenLogic(Instance* instance) {
        Element custom = Tag("customdata");
        instance->getCode()->extend(Extension::WriteCustomData, &custom, 0);
        return custom;
    }
    static double value(Instance* instance, int control) {
        return instance->control(control)->current();
    }
    static std::string log() { return mvk::util::Log::instance()->text(); }

    TestEnvironment environment;
    ScriptedInteraction script;
    host::RefHost host;
    CoreImplementation* core = nullptr;
};

} // namespace qvn::test
