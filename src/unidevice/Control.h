#pragma once
// One input of a device: a key, a button, an axis or a hat direction, with the value before and
// after the latest input reading.
#include "unidevice/ControlTarget.h"
#include "util/xml/Element.h"

#include <cstdint>
#include <string>
#include <vector>

namespace mvk::unidevice {

class Device;

// Kind bits: what sort of value a control delivers and a property accepts.
namespace ControlKind {
constexpr uint32_t Binary = 1;
constexpr uint32_t Trinary = 2;
constexpr uint32_t Finite = 4;
constexpr uint32_t Infinite = 8;
constexpr uint32_t Any = 65535;
} // namespace ControlKind

class Control {
public:
    // Values 0, index 0, empty type and description. `device` may be null (a free control).
    Control(Device* device, uint32_t kind, double threshold);
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    // The binding element that finds this control again (see the definition).
    virtual util::xml::Element toXML() const;
    // True when a stored binding element names this control.
    virtual bool matches(const util::xml::Element& element) const;
    // The value a property reads; plain controls answer their current value.
    virtual double value() const;
    // Deletes the control; the module that made it frees it.
    virtual void destroy();
    // Output channels towards the device (rumble, lights); no built-in control has one.
    virtual bool hasFeedback() const;
    virtual void* feedbackChannel();
    // Tells every target that the control is going.
    virtual ~Control();

    // |previous - current| > threshold.
    bool hasMoved() const;
    // |current - previous|: how far the control moved with the latest reading.
    double change() const;

    // A new reading: current moves to previous, `value` becomes current.
    void feed(double value);
    void setCurrent(double value) { currentValue = value; }
    void setPrevious(double value) { previousValue = value; }
    // Both values become 0.
    void reset();

    void addTarget(ControlTarget* target);
    // Removes the first occurrence; false when absent.
    bool removeTarget(ControlTarget* target);
    int32_t targetCount() const { return static_cast<int32_t>(targets.size()); }
    ControlTarget* target(int32_t index) const;

    uint32_t kind() const { return kindBits; }
    double previous() const { return previousValue; }
    double current() const { return currentValue; }
    double threshold() const { return movementThreshold; }
    const std::string& type() const { return typeName; }
    int32_t index() const { return controlIndex; }
    const std::string& description() const { return descriptionText; }
    Device* device() const { return owner; }

    void setKind(uint32_t kind) { kindBits = kind; }
    void setThreshold(double threshold) { movementThreshold = threshold; }
    void setType(const std::string& type) { typeName = type; }
    void setIndex(int32_t index) { controlIndex = index; }
    void setDescription(const std::string& description) { descriptionText = description; }

private:
    std::vector<ControlTarget*> targets;
    uint32_t kindBits;
    double previousValue = 0.0;
    double currentValue = 0.0;
    double movementThreshold;
    std::string typeName;
    int32_t controlIndex = 0;
    std::string descriptionText;
    Device* owner;
};

using ControlList = std::vector<Control*>;

// The candidate whose change is strictly greatest; on equal changes the earlier one. Null
// entries are skipped; null when there is none.
Control* largestChange(const ControlList& candidates);

} // namespace mvk::unidevice
