#include "core/instances/SceneTagWriter.h"

#include "core/CoreImplementation.h"
#include "core/instances/Instance.h"
#include "core/instances/InstanceReference.h"
#include "core/libraries/Tool.h"
#include "sdk/CCamera.h"
#include "sdk/CMesh.h"
#include "sdk/CoreNode.h"
#include "util/DataChunk.h"
#include "util/Log.h"

#include <bit>
#include <sstream>
#include <vector>

namespace mvk::qvn::core {

namespace {

using util::xml::Element;
using util::xml::Tag;
using util::xml::TagWithData;

void putU32(std::string& out, uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back(static_cast<char>((value >> shift) & 0xff));
}

void putDouble(std::string& out, double value) {
    const auto bits = std::bit_cast<uint64_t>(value);
    for (int shift = 0; shift < 64; shift += 8)
        out.push_back(static_cast<char>((bits >> shift) & 0xff));
}

void putEntry(std::string& out, const std::string& name, const std::string& value) {
    putU32(out, static_cast<uint32_t>(name.size()));
    out += name;
    putU32(out, static_cast<uint32_t>(value.size()));
    out += value;
}

std::string int32Bytes(const int32_t* values, int32_t count) {
    std::string bytes;
    for (int32_t i = 0; values != nullptr && i < count; ++i)
        putU32(bytes, static_cast<uint32_t>(values[i]));
    return bytes;
}

std::string doubleBytes(const double* values, int32_t count) {
    std::string bytes;
    for (int32_t i = 0; values != nullptr && i < count; ++i)
        putDouble(bytes, values[i]);
    return bytes;
}

std::string formatted(double value) {
    std::ostringstream stream;
    stream << value;
    return stream.str();
}

std::string base64(const std::string& bytes) {
    return util::DataChunk::base64Encode(bytes.data(), bytes.size());
}

std::string matrixText(const double (&matrix)[16]) {
    return base64(doubleBytes(matrix, 16));
}

// A node's name without the owning instance's name and "_".
std::string namePart(const std::string& instanceName, CoreNode* node) {
    std::string name = node->getName();
    const std::string prefix = instanceName + "_";
    if (name.rfind(prefix, 0) == 0)
        return name.substr(prefix.size());
    return name;
}

bool owns(Instance& instance, CoreNode* node) {
    for (CoreNode* own : instance.getNodes())
        if (own == node)
            return true;
    return false;
}

double hostTime() {
    CoreImplementation* core = CoreImplementation::existing();
    HostAdaptor* host = core ? core->getAdaptor() : nullptr;
    return host ? host->getTime() : 0.0;
}

std::string listText(const double* values, int32_t count) {
    std::string text;
    for (int32_t i = 0; values != nullptr && i < count; ++i)
        text += (i ? "," : "") + formatted(values[i]);
    return text;
}

std::string listText(const int32_t* values, int32_t count) {
    std::string text;
    for (int32_t i = 0; values != nullptr && i < count; ++i)
        text += (i ? "," : "") + std::to_string(values[i]);
    return text;
}

} // namespace

Element SceneTagWriter::write(const InstanceReference& reference, uint32_t flags) {
    Instance* instance = reference.getInstance();
    if (instance == nullptr)
        return Element();
    util::Log section("Creating configuration file", util::Log::Notice);
    section.write("instance", reference.getName(), util::Log::Notice);
    Element tag;
    if (reference.isRoot()) {
        section.write("Creating QVT tag");
        tag = Tag("QVT");
    } else {
        tag = pluginTag(reference, flags);
    }
    if ((flags & WithoutChildren) == 0) {
        const uint32_t childFlags = flags & ~Compressed;
        for (int i = 0; i < reference.childCount(); ++i) {
            const InstanceReference* child = reference.child(i);
            if (!child->isActive())
                continue;
            Element childTag = write(*child, childFlags);
            if (!childTag.name().empty() || childTag.childCount() > 0)
                tag.addChild(std::move(childTag));
        }
    }
    if ((flags & Compressed) != 0 && tag.name() == "QVT_Plugin")
        return compress(tag);
    return tag;
}

Element SceneTagWriter::pluginTag(const InstanceReference& reference, uint32_t flags) {
    Instance& instance = *reference.getInstance();
    Element tag = Tag("QVT_Plugin");
    tag.attribute("version") = "2.5";
    tag.addChild(TagWithData("type", instance.getTool()->name()));
    tag.addChild(TagWithData("name", instance.getName()));
    if (!reference.isChecked())
        tag.addChild(TagWithData("checked", "false"));
    // Code that writes nothing still leaves an empty, well-named element behind.
    Element custom = Tag("customdata");
    if (CCamera* code = instance.getCode())
        code->extend(Extension::WriteCustomData, &custom, 0);
    tag.addChild(std::move(custom));
    tag.addChild(instance.makeConfigProfile(instance.getConfigProfileName()));
    Element input = Tag("inputprofile");
    input.addChild(instance.makeInputProfile(instance.getInputProfileName()));
    tag.addChild(std::move(input));
    tag.addChild(nodeRecord(instance));
    if ((flags & WithSaveData) == 0)
        return tag;
    CCamera* code = instance.getCode();
    if (code == nullptr || code->skipSaveData() == 0) {
        uint32_t length = 0;
        const void* bytes = instance.getSaveData(length);
        tag.addChild(TagWithData("savedata", util::DataChunk::base64Encode(bytes, length)));
    }
    tag.addChild(recordedInputValues(instance));
    return tag;
}

Element SceneTagWriter::recordedInputValues(const Instance& instance) {
    Element values = Tag("recordedinputvalues");
    for (const util::AVar_Linear<double>& curve : instance.getRecordedValues()) {
        std::vector<uint8_t> block(curve.serializedSize());
        curve.write(block.data(), block.size());
        values.addChild(
            TagWithData("input", util::DataChunk::base64Encode(block.data(), block.size())));
    }
    return values;
}

Element SceneTagWriter::nodeRecord(Instance& instance) {
    util::Log::instance()->write("Creating node tag", util::Log::Notice);
    Element record = Tag("nodeinfo");
    const double time = hostTime();
    for (CoreNode* node : instance.getNodes())
        if (node != nullptr)
            record.addChild(nodeEntry(instance, node, time));
    return record;
}

Element SceneTagWriter::nodeEntry(Instance& instance, CoreNode* node, double time) {
    Element entry = Tag("node");
    entry.attribute("name") = namePart(instance.getName(), node);
    entry.attribute("objectname") = node->getObjectName();
    CSnapshot* lens = node->getSnapshot(SnapshotKind::Lens, time);
    if (lens != nullptr) {
        entry.attribute("type") = "camera";
        entry.addChild(TagWithData("fov", formatted(static_cast<CSnapshot_Lens*>(lens)->fov)));
        node->releaseSnapshot(lens);
    }
    if (CSnapshot* snapshot = node->getSnapshot(SnapshotKind::Transform, time)) {
        const auto* transform = static_cast<CSnapshot_Transform*>(snapshot);
        Element global = TagWithData("transform", matrixText(transform->global));
        global.attribute("reference") = "global";
        Element local = TagWithData("transform", matrixText(transform->local));
        local.attribute("reference") = "local";
        entry.addChild(std::move(global));
        entry.addChild(std::move(local));
        node->releaseSnapshot(snapshot);
    }
    appendParent(entry, instance, node);
    entry.addChild(TagWithData("visible", node->isVisible() ? "true" : "false"));
    if (CSnapshot* mesh = node->getSnapshot(SnapshotKind::Mesh, time)) {
        entry.addChild(meshRecord(static_cast<CSnapshot_Mesh*>(mesh)->mesh));
        node->releaseSnapshot(mesh);
    }
    return entry;
}

void SceneTagWriter::appendParent(Element& entry, Instance& instance, CoreNode* node) {
    CoreNode* parent = node->getParent();
    if (parent == nullptr) {
        entry.addChild(Tag("parent"));
        return;
    }
    if (owns(instance, parent)) {
        entry.addChild(TagWithData("parent", namePart(instance.getName(), parent)));
        return;
    }
    CoreImplementation* core = CoreImplementation::existing();
    for (Instance* other : core ? core->instanceList() : std::vector<Instance*>{}) {
        if (other == &instance || other->getReference() == nullptr || !owns(*other, parent))
            continue;
        Element record = TagWithData("parent", namePart(other->getName(), parent));
        record.attribute("external") = other->getName();
        entry.addChild(std::move(record));
        return;
    }
    util::Log section("The specified node's parent is not included in the list",
                      util::Log::Warning);
    section.write("node name", node->getName(), util::Log::Warning);
    section.write("parent name", parent->getName(), util::Log::Warning);
    section.write("parent owner name", std::string(), util::Log::Warning);
}

Element SceneTagWriter::masterNodeRecord(Instance& instance) {
    Element record = Tag("masternode");
    InstanceReference* reference = instance.getReference();
    InstanceReference* parent = reference ? reference->parentReference() : nullptr;
    if (parent != nullptr && !parent->isRoot() && parent->getInstance() != nullptr)
        record.addChild(TagWithData("parent", parent->getName()));
    const int index = reference && parent ? reference->childIndex() : 0;
    record.addChild(TagWithData("childindex", std::to_string(index)));
    record.addChild(nodeRecord(instance));
    return record;
}

std::string SceneTagWriter::meshMessage(const CMesh& mesh) {
    std::string message;
    putEntry(message, "numVertexes", int32Bytes(&mesh.numVertexes, 1));
    putEntry(message, "numTexCoords", int32Bytes(&mesh.numTexCoords, 1));
    putEntry(message, "numFaces", int32Bytes(&mesh.numFaces, 1));
    putEntry(message, "numTFaces", int32Bytes(&mesh.numTFaces, 1));
    putEntry(message, "vertex", doubleBytes(mesh.vertex, 3 * mesh.numVertexes));
    putEntry(message, "texcoord", doubleBytes(mesh.texcoord, 3 * mesh.numTexCoords));
    putEntry(message, "face", int32Bytes(mesh.face, 3 * mesh.numFaces));
    putEntry(message, "tface", int32Bytes(mesh.tface, 3 * mesh.numTFaces));
    return message;
}

Element SceneTagWriter::meshRecord(const CMesh& mesh) {
    return TagWithData("CMesh", base64(meshMessage(mesh)));
}

Element SceneTagWriter::meshTextRecord(const CMesh& mesh) {
    Element record = Tag("CMesh");
    Element vertices = Tag("vertexdata");
    vertices.addChild(TagWithData("vertex", listText(mesh.vertex, 3 * mesh.numVertexes)));
    Element texcoords = Tag("texcoorddata");
    texcoords.addChild(TagWithData("texcoord", listText(mesh.texcoord, 3 * mesh.numTexCoords)));
    Element faces = Tag("facedata");
    faces.addChild(TagWithData("face", listText(mesh.face, 3 * mesh.numFaces)));
    Element tfaces = Tag("tfacedata");
    tfaces.addChild(TagWithData("tface", listText(mesh.tface, 3 * mesh.numTFaces)));
    record.addChild(std::move(vertices));
    record.addChild(std::move(texcoords));
    record.addChild(std::move(faces));
    record.addChild(std::move(tfaces));
    return record;
}

Element SceneTagWriter::compress(const Element& tag) {
    const std::string text = tag.toString("", "", "");
    const util::DataChunk chunk = util::DataChunk(text.data(), text.size()).encode();
    Element compressed = TagWithData("QVT_Plugin", util::DataChunk::base64Encode(chunk));
    compressed.attribute("compressed") = "1";
    return compressed;
}

} // namespace mvk::qvn::core
