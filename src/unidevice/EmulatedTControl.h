#pragma once
// A trinary control made of two source controls, one per direction: its value is the positive
// source's value minus the negative one's, and 0 as soon as either source is gone.
#include "unidevice/Control.h"
#include "unidevice/ControlTarget.h"

namespace mvk::unidevice {

class EmulatedTrinaryDevice;

class EmulatedTControl : public Control, public ControlTarget {
public:
    // Kind 2, threshold 0.1, type "control", index 0; joins both sources' targets.
    EmulatedTControl(EmulatedTrinaryDevice* device, Control* positive, Control* negative);
    // Leaves the targets of the sources that are still alive.
    ~EmulatedTControl() override;

    // The ordinary control element plus each living source's own element, marked with
    // "te_direction" "positive" or "negative".
    util::xml::Element toXML() const override;
    // Both sources alive, the ordinary match, and the first two "control" children matching the
    // sources their "te_direction" names.
    bool matches(const util::xml::Element& element) const override;
    double value() const override;
    void controlDeleted(Control* control) override;

    Control* positive() const { return positiveSource; }
    Control* negative() const { return negativeSource; }

private:
    bool matchesSource(const util::xml::Element& child) const;

    Control* positiveSource;
    Control* negativeSource;
};

} // namespace mvk::unidevice
