#pragma once
// A core attached in this process to the reference host, with an in-process test tool whose
// code builds properties, configuration elements and host nodes like a real plug-in.
#include "RefHost.h"
#include "core/CoreImplementation.h"
#include "core/Startup.h"
#include "core/instances/Instance.h"
#include "core/instances/InstanceReference.h"
#include "core/libraries/CoreLibrary.h"
#include "core/libraries/LibraryManager.h"
#include "core/libraries/Plugin.h"
#include "sdk/CCameraPlugin.h"
#include "sdk/CInterface.h"
#include "sdk/CoreNode.h"
#include "support/ScriptedInteraction.h"
#include "support/TestEnvironment.h"
#include "util/Log.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace qvn::test {

using namespace mvk::qvn;
using namespace mvk::qvn::core;

class RigCode : public CCamera {
public:
    explicit RigCode(const CreateParam& param) : CCamera(param) {}
    int32_t initialize() override {
        CInterface* core = getInterface();
        core->addProperty("Pan", 4);
        core->addProperty("Tilt", 4);
        core->beginConfig();
        core->beginGroup("Motion", "");
        core->addSpinner("Speed", "", &speed, 0, 100, 1, 0, true, nullptr);
        core->addCheckBox("Invert", "", &invert, nullptr);
        core->endGroup();
        core->endConfig();
        body = core->createNode(getName() + "_body");
        return failInitialize ? 1 : 0;
    }
    void onTimeUpdate(double time) override { updates.push_back(time); }
    // Like a real tool, every sample reads an input (and, when asked to, keys the host node
    // from it); the log shows what the code saw when.
    // The published notifications take no arguments; the start time is asked for.
    void onRecordingBegin() override {
        notices.push_back("begin " + number(getInterface()->getRecordStartTime()));
    }
    void onSample(double time) override {
        const double pan = getInterface()->getProperty("Pan")->value();
        notices.push_back("sample " + number(time) + " pan " + number(pan) + " speed " +
                          number(speed));
        double local[16] = {1, 0, 0, pan, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
        if (keyBody && body != nullptr)
            body->keyTransform(time, local);
    }
    void onRecordingEnd() override { notices.push_back("end"); }
    static std::string number(double value) {
        std::ostringstream text;
        text << value;
        return text.str();
    }
    void* extend(uint32_t id, void* argument, intptr_t) override {
        if (id == Extension::ComputeVirtualControl)
            static_cast<CVirtualControl*>(argument)->setValue(++computed);
        return nullptr;
    }
    double speed = 1.0;
    bool invert = false;
    int computed = 0;
    std::vector<double> updates;
    std::vector<std::string> notices;
    CoreNode* body = nullptr;
    bool keyBody = false;
    static inline bool failInitialize = false;
};

class RigPlugin : public CCameraPlugin {
public:
    explicit RigPlugin(std::string name, std::string category = "Camera")
        : name(std::move(name)), category(std::move(category)) {}
    CCamera* createCamera(const CCamera::CreateParam& param) override {
        return new RigCode(param);
    }
    std::string getName() const override { return name; }
    std::string getDataPath() const override { return "tests/" + name; }
    std::string getShortDescription() const override { return {}; }
    std::string getCategory() const override { return category; }
    std::string getLongDescription() const override { return {}; }
    std::string getAuthor() const override { return {}; }
    uint32_t getVersion() const override { return 1; }

private:
    std::string name;
    std::string category;
};

class InstanceFixture : public ::testing::Test {
protected:
    void SetUp() override {
        environment.userDataPath();
        core = static_cast<CoreImplementation*>(attachCore(&host));
        ASSERT_NE(core, nullptr);
        rig = LibraryManager::instance()->addToolToLibrary(CoreLibrary::instance(), &rigPlugin);
    }
    void TearDown() override {
        RigCode::failInitialize = false;
        detachCore(core);
    }
    Instance* make(const std::string& name = "", InstanceReference* parent = nullptr) {
        InstanceReference* reference = core->InstanceManager::createInstance("Rig", name, parent);
        return reference ? reference->getInstance() : nullptr;
    }
    static std::string log() { return mvk::util::Log::instance()->text(); }

    TestEnvironment environment;
    ScriptedInteraction script;
    host::RefHost host;
    CoreImplementation* core = nullptr;
    RigPlugin rigPlugin{"Rig"};
    Plugin* rig = nullptr;
};

} // namespace qvn::test
