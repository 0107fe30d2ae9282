#pragma once
// The core's services as a tool instance's code object sees them. The core implements every
// operation; the defaults here only exist so a module built against a newer header still loads.
#include "sdk/CExtendable.h"
#include "sdk/CMesh.h"
#include "sdk/CProperty.h"
#include "sdk/DebugBreak.h"

#include <cstdint>
#include <string>
#include <vector>

namespace mvk::qvn {

class CUndo;
class CoreNode;

class CInterface : public CExtendable {
public:
    // Called with the element's label when the user acts on a configuration element.
    class Callback {
    public:
        virtual void onConfigChanged(const std::string& label) = 0;

    protected:
        ~Callback() = default;
    };

    // The argument of extension 60: a label element with a minimum height.
    struct LabelDescriptor {
        std::string text;
        int32_t minimumHeight = 0;
    };

    // The argument of extensions 38 and 39: a host-side object the instance hands the request
    // to, with itself and the extra value.
    class HostRequest {
    public:
        virtual void* run(uint32_t id, CInterface* instance, intptr_t extra) = 0;

    protected:
        ~HostRequest() = default;
    };

    // Replaces the entries of a combo box element (returned by addComboBox).
    class ComboUpdater {
    public:
        virtual void update(const std::vector<std::string>& items) = 0;

    protected:
        ~ComboUpdater() = default;
    };

    // 1: hands an undo record to the host (only while a hold is open).
    virtual int32_t registerUndo(CUndo* record) { return defaulted(); }
    // 2: the input property of that name, made with the type bits (1 binary, 2 trinary,
    // 4 finite, 8 infinite) when missing.
    virtual CProperty* addProperty(const std::string& name, uint32_t type) {
        return defaulted<CProperty*>();
    }
    // 3: the property of exactly that name, or null.
    virtual CProperty* getProperty(const std::string& name) { return defaulted<CProperty*>(); }
    // 4-15: the configuration element tree.
    virtual int32_t beginConfig() { return defaulted(); }
    virtual int32_t reserved5() { return defaulted(); }
    virtual int32_t beginGroup(const std::string& label, const std::string& tooltip) {
        return defaulted();
    }
    virtual int32_t endGroup() { return defaulted(); }
    virtual int32_t addSpinnerInt(const std::string& label, const std::string& tooltip,
                                  int32_t* variable, int32_t minimum, int32_t maximum, int32_t step,
                                  int32_t triggerLength, bool asProperty, Callback* callback) {
        return defaulted();
    }
    virtual int32_t addSpinner(const std::string& label, const std::string& tooltip,
                               double* variable, double minimum, double maximum, double step,
                               int32_t triggerLength, bool asProperty, Callback* callback) {
        return defaulted();
    }
    virtual int32_t addCheckBox(const std::string& label, const std::string& tooltip,
                                bool* variable, Callback* callback) {
        return defaulted();
    }
    virtual int32_t addTextBox(const std::string& label, const std::string& tooltip,
                               std::string* variable, Callback* callback) {
        return defaulted();
    }
    // Empties `items`; the updater stays valid as long as the instance.
    virtual ComboUpdater* addComboBox(const std::string& label, const std::string& tooltip,
                                      std::string* variable, std::vector<std::string>& items,
                                      Callback* callback) {
        return defaulted<ComboUpdater*>();
    }
    virtual int32_t addButton(const std::string& label, const std::string& tooltip,
                              Callback* callback) {
        return defaulted();
    }
    virtual int32_t reserved14() { return defaulted(); }
    virtual int32_t endConfig() { return defaulted(); }
    // 16: opens the instance's input settings window.
    virtual int32_t showInputSettings() { return defaulted(); }
    // 17: the tool's data folder.
    virtual std::string getDataPath() { return defaulted<std::string>(); }
    // 18-20: the opaque save data stored with the scene.
    virtual int32_t setSaveData(const void* bytes, uint32_t length) { return defaulted(); }
    virtual const void* getSaveData(uint32_t& length) {
        length = 0;
        return defaulted<const void*>();
    }
    virtual int32_t clearSaveData() { return defaulted(); }
    // 21-24: host nodes.
    virtual int32_t destroyNode(CoreNode* node) { return defaulted(); }
    virtual CoreNode* createNode(const std::string& name) { return defaulted<CoreNode*>(); }
    virtual CoreNode* createNode2(const std::string& name, int32_t a, int32_t b) {
        return defaulted<CoreNode*>();
    }
    virtual CoreNode* createNode3(const std::string& name, int32_t a, int32_t b, int32_t c) {
        return defaulted<CoreNode*>();
    }
    // 25: frees the four arrays of a mesh and zeroes its counts.
    virtual int32_t freeMesh(CMesh* mesh) { return defaulted(); }
    // 26-29: snapshots at a time; null for a null node.
    virtual CSnapshot_Transform* getSnapshot(CoreNode* node, double time) {
        return defaulted<CSnapshot_Transform*>();
    }
    virtual CSnapshot_Helper* getHelperSnapshot(CoreNode* node, double time) {
        return defaulted<CSnapshot_Helper*>();
    }
    virtual CSnapshot_Mesh* getMeshSnapshot(CoreNode* node, double time) {
        return defaulted<CSnapshot_Mesh*>();
    }
    virtual CSnapshot_Lens* getLensSnapshot(CoreNode* node, double time) {
        return defaulted<CSnapshot_Lens*>();
    }
    // 30-34: each snapshot goes back to the node that made it; null is ignored.
    virtual int32_t releaseSnapshot(CSnapshot* snapshot) { return defaulted(); }
    virtual int32_t releaseTransformSnapshot(CSnapshot_Transform* snapshot) { return defaulted(); }
    virtual int32_t releaseHelperSnapshot(CSnapshot_Helper* snapshot) { return defaulted(); }
    virtual int32_t releaseMeshSnapshot(CSnapshot_Mesh* snapshot) { return defaulted(); }
    virtual int32_t releaseLensSnapshot(CSnapshot_Lens* snapshot) { return defaulted(); }
    // 35-38: the host's clock and views.
    virtual double getTime() { return defaulted<double>(); }
    virtual double getFrameRate() { return defaulted<double>(); }
    virtual double getSampleInterval() { return defaulted<double>(); }
    virtual int32_t redrawViews() { return defaulted(); }
    // 39: a modal message box. Style: low four bits 1 Ok/Cancel-like question sets (see the
    // core), bits 4-15 the icon; answers 0, 2, 3 or 1.
    virtual int32_t messageBox(const std::string& text, const std::string& title,
                               uint32_t style) {
        return defaulted();
    }
    virtual ~CInterface() = default;
    // Appended after the published rows, so modules built before it keep their layout: the time
    // the running (or last) take or resimulation starts from, the host's present time before
    // the first. Tools read their starting pose from the scene at this time.
    virtual double getRecordStartTime() { return defaulted<double>(); }

private:
    template <class R = int32_t>
    static R defaulted() {
        debugBreak();
        return R{};
    }
};

} // namespace mvk::qvn
