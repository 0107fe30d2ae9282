#pragma once
// Numbered extension requests between the core and plug-in code.
#include <algorithm>
#include <cstdint>
#include <vector>

namespace mvk::qvn {

// Extension identifiers used across the boundary.
namespace Extension {
constexpr uint32_t ToolIdentifiers = 16;       // plug-in: fill a string list with further ids
constexpr uint32_t HostObjectA = 38;           // forwarded to the argument object
constexpr uint32_t HostObjectB = 39;           // forwarded to the argument object
constexpr uint32_t ComputeVirtualControl = 40; // code: write the value of a virtual control
constexpr uint32_t CreateVirtualControl = 41;  // instance: make a virtual control
constexpr uint32_t DeleteWithNodes = 43;       // instance: delete itself and its host nodes
constexpr uint32_t WriteCustomData = 44;       // code: fill the "customdata" element
constexpr uint32_t ReadCustomData = 45;        // code: take the "customdata" element
constexpr uint32_t PLUGIN_SELECT_OBJECT = 49;
constexpr uint32_t PLUGIN_SELECT_NODES_FOR_MOVE = 50;
constexpr uint32_t NotCreatable = 51;          // plug-in: not offered for creation
constexpr uint32_t ParentInstanceName = 55;    // instance: write the parent instance's name
constexpr uint32_t MasterNode = 56;            // instance/code: master-node record
constexpr uint32_t DestroyInstance = 58;       // instance: destroy itself
constexpr uint32_t AddConfigLabel = 60;        // instance: add a label element
} // namespace Extension

class CExtendable {
public:
    // Handles request `id`; what `argument` and `extra` mean and what comes back depends on the
    // id. Unknown ids answer null.
    virtual void* extend(uint32_t id, void* argument, intptr_t extra) { return nullptr; }
    virtual const std::vector<uint32_t>& getExtensions() const { return extensions; }
    virtual bool supportsExtension(uint32_t id) const {
        const auto& list = getExtensions();
        return std::find(list.begin(), list.end(), id) != list.end();
    }

protected:
    // Not virtual on purpose: each derived interface declares its virtual destructor as its last
    // slot, after its own operations, and objects are freed through their release operation.
    ~CExtendable() = default;
    std::vector<uint32_t> extensions;
};

} // namespace mvk::qvn
