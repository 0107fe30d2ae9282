#pragma once
// One live tool in the host scene: ties a tool to the code object its plug-in made, gives that
// code the core's services (CInterface), and is an input device whose controls are the values
// the code publishes.
#include "core/instances/InstanceVirtualDevice.h"
#include "sdk/CInterface.h"
#include "sdk/CVariableModUndo.h"
#include "sdk/CVirtualControl.h"
#include "unidevice/Control.h"
#include "unidevice/ControlTarget.h"
#include "util/AVar.h"
#include "util/DynamicObject.h"
#include "util/MessageNode.h"
#include "util/xml/Element.h"

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace mvk::unidevice {
class Property;
class PropertyHandler;
} // namespace mvk::unidevice

namespace mvk::qvn {
class CCamera;
class HostAdaptor;
} // namespace mvk::qvn

namespace mvk::qvn::core {

namespace configadaptor {
class Node;
class TreeBuilder;
namespace element {
class ComboBox;
class Spinner;
class Spinner_Int;
} // namespace element
} // namespace configadaptor

class InputConfigDlg;
class InstanceReference;
class Tool;

class Instance : public InstanceVirtualDevice, public CInterface, public util::MessageNode {
public:
    // What the instance recorded: one curve per input property, in property order.
    using RecordedValues = std::vector<util::AVar_Linear<double>>;

    // A value of the instance published as a control of its device.
    class VirtualControl : public unidevice::Control, public CVirtualControl {
    public:
        VirtualControl(Instance* instance, const VirtualControlDescriptor& descriptor);
        void setValue(double value) override { feed(value); }
        double getValue() const override { return current(); }
        const std::string& getControlName() const override { return type(); }
    };

    // Keeps a combo box element's entries and its open views up to date.
    class COREComboUpdater : public util::DynamicObject,
                             public CInterface::ComboUpdater,
                             public util::DynamicCreator,
                             public util::MessageNode {
    public:
        COREComboUpdater(int index, configadaptor::element::ComboBox* element);
        void update(const std::vector<std::string>& items) override;

    private:
        int index;
        configadaptor::element::ComboBox* element;
    };

    // The instance registers with `tool`, names itself uniquely from `requestedName` (the tool's
    // name + "_01" when empty) and hands `code` its services. It owns `code`.
    Instance(Tool* tool, CCamera* code, const std::string& requestedName);
    ~Instance() override;

    // Device
    int32_t controlCount() const override;
    unidevice::Control* control(int32_t index) const override;
    // Asks the code for the value of each virtual control (extension 40).
    bool update(uintptr_t param) override;
    bool prepareDetection(uintptr_t) override { return false; }
    unidevice::Control* detect(uintptr_t, int32_t) override { return nullptr; }
    void reset() override {}
    // Destroys the instance, unless its destruction already runs.
    void destroy() override;

    // CInterface
    void* extend(uint32_t id, void* argument, intptr_t extra) override;
    int32_t registerUndo(CUndo* record) override;
    double getRecordStartTime() override;
    CProperty* addProperty(const std::string& name, uint32_t type) override;
    CProperty* getProperty(const std::string& name) override;
    int32_t beginConfig() override;
    int32_t reserved5() override { return 0; }
    int32_t beginGroup(const std::string& label, const std::string& tooltip) override;
    int32_t endGroup() override;
    int32_t addSpinnerInt(const std::string& label, const std::string& tooltip, int32_t* variable,
                          int32_t minimum, int32_t maximum, int32_t step, int32_t triggerLength,
                          bool asProperty, Callback* callback) override;
    int32_t addSpinner(const std::string& label, const std::string& tooltip, double* variable,
                       double minimum, double maximum, double step, int32_t triggerLength,
                       bool asProperty, Callback* callback) override;
    int32_t addCheckBox(const std::string& label, const std::string& tooltip, bool* variable,
                        Callback* callback) override;
    int32_t addTextBox(const std::string& label, const std::string& tooltip, std::string* variable,
                       Callback* callback) override;
    ComboUpdater* addComboBox(const std::string& label, const std::string& tooltip,
                              std::string* variable, std::vector<std::string>& items,
                              Callback* callback) override;
    int32_t addButton(const std::string& label, const std::string& tooltip,
                      Callback* callback) override;
    int32_t reserved14() override { return 0; }
    int32_t endConfig() override;
    int32_t showInputSettings() override;
    // The instance's own input window; null until it was first shown.
    InputConfigDlg* getInputSettings() const { return inputSettings.get(); }
    std::string getDataPath() override;
    int32_t setSaveData(const void* bytes, uint32_t length) override;
    const void* getSaveData(uint32_t& length) override;
    int32_t clearSaveData() override;
    int32_t destroyNode(CoreNode* node) override;
    CoreNode* createNode(const std::string& name) override;
    CoreNode* createNode2(const std::string& name, int32_t a, int32_t b) override;
    CoreNode* createNode3(const std::string& name, int32_t a, int32_t b, int32_t c) override;
    int32_t freeMesh(CMesh* mesh) override;
    CSnapshot_Transform* getSnapshot(CoreNode* node, double time) override;
    CSnapshot_Helper* getHelperSnapshot(CoreNode* node, double time) override;
    CSnapshot_Mesh* getMeshSnapshot(CoreNode* node, double time) override;
    CSnapshot_Lens* getLensSnapshot(CoreNode* node, double time) override;
    int32_t releaseSnapshot(CSnapshot* snapshot) override;
    int32_t releaseTransformSnapshot(CSnapshot_Transform* snapshot) override;
    int32_t releaseHelperSnapshot(CSnapshot_Helper* snapshot) override;
    int32_t releaseMeshSnapshot(CSnapshot_Mesh* snapshot) override;
    int32_t releaseLensSnapshot(CSnapshot_Lens* snapshot) override;
    double getTime() override;
    double getFrameRate() override;
    double getSampleInterval() override;
    int32_t redrawViews() override;
    int32_t messageBox(const std::string& text, const std::string& title, uint32_t style) override;

    // Identity.
    const std::string& getName() const { return Device::name(); }
    // Gives the instance a new unique name, and its code object and host nodes with it.
    void rename(const std::string& requested);
    Tool* getTool() const { return tool; }
    CCamera* getCode() const { return code; }
    InstanceReference* getReference() const { return reference; }
    void setReference(InstanceReference* newReference) { reference = newReference; }
    const std::string& getIconPath() const { return iconPath; }
    void setIconPath(const std::string& path) { iconPath = path; }
    const std::string& getConfigProfileName() const { return configProfileName; }
    const std::string& getInputProfileName() const { return inputProfileName; }
    unidevice::PropertyHandler* getProperties() const { return properties; }
    configadaptor::Node* getConfigRoot() const;
    // Gives an instance that has no configuration `top` as its configuration tree, which it then
    // owns; false (and `top` destroyed) when it already has one.
    bool setConfigTree(configadaptor::Node* top);
    // The host nodes of the instance, as the adaptor lists them.
    std::vector<CoreNode*> getNodes();

    // Configuration profiles: the present configuration as a "configprofile" element, and
    // applying one (a profile from an older version is announced in a message box).
    util::xml::Element makeConfigProfile(const std::string& name) const;
    void applyConfigProfile(const util::xml::Element& profile);
    // Input profiles: a "profile" element of the properties and their bindings, and applying
    // one: 9999999 for an element that is no input profile, else the number of bindings whose
    // control was not found.
    util::xml::Element makeInputProfile(const std::string& name) const;
    int32_t applyInputProfile(const util::xml::Element& profile);
    static constexpr int32_t NotAnInputProfile = 9999999;
    static constexpr int32_t InputProfileApplied = 154;
    // Broadcast after the instance took a new name.
    static constexpr int32_t Renamed = 155;
    // Broadcast after a stored configuration profile was applied from outside its windows.
    static constexpr int32_t ConfigProfileApplied = 156;

    // Recording hand-shakes, called by the record manager for every instance of its record
    // list in order. When `resimulating`, the recorded curves are played back through a
    // temporary control in place of each binding instead of being recorded.
    void beginRecording(double startTime, bool resimulating);
    void recordSample(double time, bool resimulating);
    void endRecording(double lastSampleTime, bool resimulating);
    const RecordedValues& getRecordedValues() const { return recordedValues; }
    // Replaces the curves (a scene tag being read back); not undoable.
    void setRecordedValues(RecordedValues values) { recordedValues = std::move(values); }

    // Deletes the instance's tree item and its host nodes (or only unplugs them) as one host
    // operation; a nested request while one runs is ignored.
    void deleteInstance(bool withNodes);
    // Takes the instance out of the device handler (an undone creation, a deletion) and puts it
    // back at the remembered index.
    void leaveDeviceHandler();
    // Removes the host nodes of an instance that failed to initialise, before it is destroyed,
    // so the host keeps no node that belongs to a destroyed instance.
    void discardNodes();
    // Hides the instance's input settings window when it shows this instance.
    void closeInputSettings();
    void rejoinDeviceHandler();
    int32_t getDeviceIndex() const { return deviceIndex; }
    bool isRegisteredAsDevice() const { return registeredAsDevice; }

    // Row 39's style and answer mapping, kept apart for clarity.
    static uint32_t toolkitFlags(uint32_t style);
    static int32_t styleAnswer(int32_t button);

private:
    // A spinner the user may drive through the property it is exposed as.
    struct ExposedSpinner {
        configadaptor::element::Spinner* real = nullptr;
        configadaptor::element::Spinner_Int* integer = nullptr;
        unidevice::Property* property = nullptr;
    };
    // A property's own binding, kept while a temporary control feeds it recorded values.
    class SetAsideBinding;

    void recordInputs(double time);
    void replayInputs(double time);
    void advanceExposedSpinners();
    // The values of the spinners exposed as properties, in order, and putting them back.
    std::vector<double> exposedValues() const;
    void setExposedValues(const std::vector<double>& values);
    class ExposedSpinnerUndo;
    void setBindingsAside();
    void putBindingsBack();
    CVirtualControl* createVirtualControl(const VirtualControlDescriptor& descriptor);
    void deleteNodes(bool withNodes);
    // Extension 56: the master-node record; a parent without host nodes then writes its own.
    void writeMasterNode(util::xml::Element* record, intptr_t extra);
    int addElement(configadaptor::Node* element);
    unidevice::Property* exposeAsProperty(int index, const std::string& label);
    HostAdaptor* adaptor() const;
    std::string chooseIcon() const;

    Tool* tool;
    CCamera* code;
    InstanceReference* reference = nullptr;
    int32_t deviceIndex = -1;
    bool registeredAsDevice = false;
    std::string configProfileName = "Factory Settings";
    std::string inputProfileName;
    std::string iconPath;
    unidevice::PropertyHandler* properties;
    configadaptor::TreeBuilder* config;
    std::map<int, unidevice::Property*> elementProperties;
    std::vector<COREComboUpdater*> comboUpdaters;
    std::vector<uint8_t> saveData;
    std::vector<VirtualControl*> virtualControls;
    std::vector<ExposedSpinner> exposedSpinners;
    RecordedValues recordedValues;
    // The record of the running take's curves (the host owns it) and the samples taken so far:
    // a take that ends without a sample gives the earlier curves back.
    CVariableModUndo<RecordedValues>* takeRecord = nullptr;
    int64_t takeSamples = 0;
    double recordStart = 0.0;
    bool recordStartKnown = false;
    // Where the spinners that a take drives stood when the last take began: a resimulation of
    // that take starts from there too.
    std::vector<double> exposedAtTakeStart;
    std::vector<double> priorExposedStart;
    std::vector<std::unique_ptr<SetAsideBinding>> setAside;
    // The input settings window, made on first use.
    std::unique_ptr<InputConfigDlg> inputSettings;
    // Undo records of the curves may outlive the instance; they watch this to know.
    std::shared_ptr<const int> lifetime = std::make_shared<const int>(0);
    bool destroying = false;
    bool deleting = false;
};

} // namespace mvk::qvn::core
