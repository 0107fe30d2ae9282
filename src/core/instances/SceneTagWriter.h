#pragma once
// Writes the XML tags that keep the instance tree inside the host scene. The same tag, written
// for one instance, is what a pre-rigged model file holds, so scenes, clones and templates share
// this one writer (SceneTagReader reads it back).
#include "util/xml/Element.h"

#include <cstdint>
#include <string>

namespace mvk::qvn {
struct CMesh;
class CoreNode;
} // namespace mvk::qvn

namespace mvk::qvn::core {

class Instance;
class InstanceReference;

class SceneTagWriter {
public:
    // Writer flags.
    static constexpr uint32_t WithSaveData = 0x1;        // "savedata" and "recordedinputvalues"
    static constexpr uint32_t WithoutChildren = 0x10000; // leave out the child instances
    static constexpr uint32_t Compressed = 0x20000;      // top level only

    // "QVT" for the root, "QVT_Plugin" for any other reference; an empty element for a
    // reference without an instance.
    static util::xml::Element write(const InstanceReference& reference, uint32_t flags);
    // "recordedinputvalues": one "input" per recorded curve, Base64 of its binary block.
    static util::xml::Element recordedInputValues(const Instance& instance);
    // The "nodeinfo" record: one "node" per host node of the instance.
    static util::xml::Element nodeRecord(Instance& instance);
    // The "masternode" record of extension 56.
    static util::xml::Element masterNodeRecord(Instance& instance);
    // The binary "CMesh" record written in node records.
    static util::xml::Element meshRecord(const CMesh& mesh);
    // The text form of the same mesh.
    static util::xml::Element meshTextRecord(const CMesh& mesh);
    // The little-endian entry list behind the binary mesh record (before Base64).
    static std::string meshMessage(const CMesh& mesh);
    // A "QVT_Plugin" holding the whole tag as Base64 of a data chunk of its text.
    static util::xml::Element compress(const util::xml::Element& tag);

private:
    static util::xml::Element pluginTag(const InstanceReference& reference, uint32_t flags);
    static util::xml::Element nodeEntry(Instance& instance, CoreNode* node, double time);
    static void appendParent(util::xml::Element& entry, Instance& instance, CoreNode* node);
};

} // namespace mvk::qvn::core
