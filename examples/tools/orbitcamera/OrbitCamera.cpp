// A sample camera tool: a camera that orbits a point. The controller drives yaw, pitch and
// distance; the preferences set the lens and how fast the inputs move the camera. It uses
// nothing but the plug-in interface, like any third-party tool library.
//
// A take or a resimulation starts from the camera node's pose in the scene at the start time,
// never from where the last take left the camera in memory: the same scene always gives the
// same take, an undone take leaves nothing behind, and a reopened scene plays as it was saved.
// The first sample also keys that starting pose at the start time, so a resimulation from there
// reads back exactly the pose the take began with. A camera with no orbit to start from (on the
// orbit's centre) is first keyed at its resting pose and then read back from its node like any
// other: a host that keeps keys in less precision than a double rounds that pose, and the take
// must start from the rounded pose that a resimulation will read.
#include "sdk/CCameraPlugin.h"
#include "sdk/CInterface.h"
#include "sdk/CMesh.h"
#include "sdk/CProperty.h"
#include "sdk/CoreNode.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace {

using namespace mvk::qvn;

constexpr uint32_t Trinary = 2;
constexpr uint32_t Finite = 4;
// The camera's inputs turn both ways: an axis, or a three-way control such as two keys made into
// one. A single button could turn it one way only, so it is not accepted (binding a key then asks
// for the key of the other direction).
constexpr uint32_t Stick = Finite | Trinary;

class OrbitCamera : public CCamera {
public:
    explicit OrbitCamera(const CreateParam& param) : CCamera(param) {}

    int32_t initialize() override {
        CInterface* core = getInterface();
        if (core == nullptr)
            return 1;
        panInput = core->addProperty("Pan", Stick);
        tiltInput = core->addProperty("Tilt", Stick);
        dollyInput = core->addProperty("Dolly", Stick);
        zoomInput = core->addProperty("Zoom", Stick);
        core->beginConfig();
        core->beginGroup("Lens", "The camera's optics");
        core->addSpinner("Field of view", "Horizontal field of view in degrees", &fieldOfView,
                         5.0, 170.0, 1.0, 0, false, nullptr);
        std::vector<std::string> presets = {"Wide", "Normal", "Tele"};
        core->addComboBox("Lens preset", "A starting point for the field of view", &lensPreset,
                          presets, nullptr);
        core->endGroup();
        core->beginGroup("Motion", "How the inputs move the camera");
        core->addSpinner("Turn speed", "Degrees per second at full deflection", &turnSpeed, 1.0,
                         720.0, 5.0, 0, true, nullptr);
        core->addSpinner("Dolly speed", "Units per second at full deflection", &dollySpeed, 0.1,
                         100.0, 0.5, 0, true, nullptr);
        core->addSpinner("Zoom speed", "Degrees of field of view per second", &zoomSpeed, 0.1,
                         90.0, 0.5, 0, false, nullptr);
        core->addCheckBox("Invert pitch", "Pushing forward looks down", &invertPitch, nullptr);
        core->endGroup();
        core->endConfig();
        // The host's camera: value 1 asks for a node with a lens of the given field of view.
        cameraNode = core->createNode2(getName() + "_camera", 1, static_cast<int32_t>(fieldOfView));
        return cameraNode != nullptr ? 0 : 1;
    }

    void onRecordingBegin() override {
        CInterface* core = getInterface();
        startTime = core != nullptr ? core->getRecordStartTime() : 0.0;
        lastTime = startTime;
        startKeyed = false;
        readStartPose();
    }

    void onSample(double time) override {
        if (!startKeyed && cameraNode != nullptr && time > startTime) {
            // Keyed here rather than when the take begins: a take stopped before its first
            // sample leaves the scene as it was.
            cameraNode->keyTransform(startTime, placement());
            startKeyed = true;
            if (startsAtRest)
                readStartPose();
        }
        const double step = time - lastTime;
        lastTime = time;
        if (step <= 0)
            return;
        yaw = std::fmod(yaw + read(panInput) * turnSpeed * step, 360.0);
        const double pitchSign = invertPitch ? -1.0 : 1.0;
        pitch = std::clamp(pitch + pitchSign * read(tiltInput) * turnSpeed * step, -89.0, 89.0);
        distance = std::max(0.1, distance - read(dollyInput) * dollySpeed * step);
        zoom = std::clamp(zoom - read(zoomInput) * zoomSpeed * step, 5.0, 170.0);
        if (cameraNode != nullptr)
            cameraNode->keyTransform(time, placement());
    }

private:
    using Matrix = double[16];

    static double read(const CProperty* input) { return input ? input->value() : 0.0; }

    // Yaw, pitch and distance from the node's local transform at the start time (the inverse of
    // placement()); the lens from its field of view. A node sitting on the orbit's centre has no
    // orbit to start from: the tool's resting pose is taken, and startsAtRest says so until the
    // first sample has keyed it and read it back.
    void readStartPose() {
        yaw = RestingYaw;
        pitch = RestingPitch;
        distance = RestingDistance;
        zoom = fieldOfView;
        startsAtRest = false;
        CInterface* core = getInterface();
        if (core == nullptr || cameraNode == nullptr)
            return;
        if (CSnapshot_Lens* lens = core->getLensSnapshot(cameraNode, startTime)) {
            if (lens->fov > 0.0)
                zoom = lens->fov;
            core->releaseLensSnapshot(lens);
        }
        CSnapshot_Transform* pose = core->getSnapshot(cameraNode, startTime);
        if (pose == nullptr)
            return;
        const double* m = pose->local;
        const double length = std::sqrt(m[3] * m[3] + m[7] * m[7] + m[11] * m[11]);
        if (length > 1e-9) {
            constexpr double degrees = 180.0 / 3.14159265358979323846;
            distance = length;
            pitch = std::asin(std::clamp(m[6], -1.0, 1.0)) * degrees;
            yaw = std::atan2(m[2], m[10]) * degrees;
        } else {
            startsAtRest = !startKeyed;
        }
        core->releaseTransformSnapshot(pose);
    }

    // The camera on its sphere around the origin, looking at it (y up, looking along -z).
    const Matrix& placement() {
        constexpr double radians = 3.14159265358979323846 / 180.0;
        const double cy = std::cos(yaw * radians), sy = std::sin(yaw * radians);
        const double cp = std::cos(pitch * radians), sp = std::sin(pitch * radians);
        const double back[3] = {cp * sy, sp, cp * cy};
        const double right[3] = {cy, 0.0, -sy};
        const double up[3] = {-sp * sy, cp, -sp * cy};
        for (int row = 0; row < 3; ++row) {
            transform[row * 4 + 0] = right[row];
            transform[row * 4 + 1] = up[row];
            transform[row * 4 + 2] = back[row];
            transform[row * 4 + 3] = distance * back[row];
        }
        transform[12] = transform[13] = transform[14] = 0.0;
        transform[15] = 1.0;
        return transform;
    }

    CProperty* panInput = nullptr;
    CProperty* tiltInput = nullptr;
    CProperty* dollyInput = nullptr;
    CProperty* zoomInput = nullptr;
    CoreNode* cameraNode = nullptr;
    double fieldOfView = 45.0;
    std::string lensPreset = "Normal";
    double turnSpeed = 90.0;
    double dollySpeed = 5.0;
    double zoomSpeed = 10.0;
    bool invertPitch = false;
    static constexpr double RestingYaw = 0.0;
    static constexpr double RestingPitch = 15.0;
    static constexpr double RestingDistance = 10.0;
    double yaw = RestingYaw;
    double pitch = RestingPitch;
    double distance = RestingDistance;
    // The field of view the zoom input moves during a take, starting from the lens.
    double zoom = 45.0;
    double startTime = 0.0;
    bool startKeyed = false;
    bool startsAtRest = false;
    double lastTime = 0.0;
    Matrix transform = {};
};

class OrbitCameraPlugin : public CCameraPlugin {
public:
    CCamera* createCamera(const CCamera::CreateParam& param) override {
        return new OrbitCamera(param);
    }
    std::string getName() const override { return "Orbit Camera"; }
    std::string getDataPath() const override { return "tools/orbitcamera"; }
    std::string getShortDescription() const override { return "A camera that orbits a point"; }
    std::string getCategory() const override { return "Camera"; }
    std::string getLongDescription() const override {
        return "Steer yaw, pitch and distance around a point of interest with a controller; "
               "the lens and speeds are set in the preferences.";
    }
    std::string getAuthor() const override { return "Quorvane samples"; }
    uint32_t getVersion() const override { return 1100; }
};

} // namespace

extern "C" __attribute__((visibility("default"))) uint32_t getVersion() { return ToolModuleVersion; }

extern "C" __attribute__((visibility("default"))) CCameraPlugin* getPlugin(uint32_t index) {
    static OrbitCameraPlugin plugin;
    return index == 0 ? &plugin : nullptr;
}
