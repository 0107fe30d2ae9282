// A tool library built on its own against an installed Quorvane: one accessory, a spot light
// whose intensity and cone angle follow two inputs while recording.
#include "sdk/CCameraPlugin.h"
#include "sdk/CInterface.h"
#include "sdk/CProperty.h"

#include <algorithm>
#include <string>

namespace {

using namespace mvk::qvn;

constexpr uint32_t FiniteInput = 4; // an axis-like input, -1 .. 1

class SpotLight : public CCamera {
public:
    explicit SpotLight(const CreateParam& param) : CCamera(param) {}

    int32_t initialize() override {
        CInterface* core = getInterface();
        if (core == nullptr)
            return 1;
        intensityInput = core->addProperty("Intensity", FiniteInput);
        coneInput = core->addProperty("Cone", FiniteInput);
        core->beginConfig();
        core->beginGroup("Light", "The lamp and how far the inputs move it");
        core->addSpinner("Maximum intensity", "Intensity at full deflection", &maximumIntensity,
                         0.0, 1000.0, 1.0, 0, false, nullptr);
        core->addSpinner("Cone angle", "Cone angle at rest, in degrees", &restingCone, 1.0, 170.0,
                         1.0, 0, false, nullptr);
        core->endGroup();
        core->endConfig();
        lamp = core->createNode(getName() + "_lamp");
        return lamp != nullptr ? 0 : 1;
    }

    void onSample(double) override {
        intensity = maximumIntensity * std::clamp(read(intensityInput), 0.0, 1.0);
        cone = std::clamp(restingCone * (1.0 + read(coneInput)), 1.0, 170.0);
    }

private:
    static double read(const CProperty* input) { return input ? input->value() : 0.0; }

    CProperty* intensityInput = nullptr;
    CProperty* coneInput = nullptr;
    CoreNode* lamp = nullptr;
    double maximumIntensity = 100.0;
    double restingCone = 40.0;
    double intensity = 0.0;
    double cone = 40.0;
};

class SpotLightPlugin : public CCameraPlugin {
public:
    CCamera* createCamera(const CCamera::CreateParam& param) override {
        return new SpotLight(param);
    }
    std::string getName() const override { return "Spot Light"; }
    std::string getDataPath() const override { return "tools/spotlight"; }
    std::string getShortDescription() const override { return "A spot light on two inputs"; }
    std::string getCategory() const override { return "Accessory"; }
    std::string getLongDescription() const override {
        return "Drive a spot light's intensity and cone angle with a controller.";
    }
    std::string getAuthor() const override { return "Quorvane samples"; }
    uint32_t getVersion() const override { return 1000; }
};

} // namespace

extern "C" __attribute__((visibility("default"))) uint32_t getVersion() {
    return ToolModuleVersion;
}

extern "C" __attribute__((visibility("default"))) CCameraPlugin* getPlugin(uint32_t index) {
    static SpotLightPlugin plugin;
    return index == 0 ? &plugin : nullptr;
}
