#include "core/instances/SceneTagReader.h"

#include "core/CoreImplementation.h"
#include "core/instances/Instance.h"
#include "core/instances/InstanceReference.h"
#include "core/libraries/LibraryManager.h"
#include "core/libraries/Tool.h"
#include "gui/MessageBox.h"
#include "sdk/CCamera.h"
#include "sdk/CMesh.h"
#include "util/DataChunk.h"
#include "util/Log.h"

#include <cstring>
#include <map>
#include <memory>

namespace mvk::qvn::core {

namespace {

using util::xml::Element;

HostAdaptor* adaptor() {
    CoreImplementation* core = CoreImplementation::existing();
    return core ? core->getAdaptor() : nullptr;
}

// Cursor over a mesh message; every read is checked against the bytes present.
class MessageCursor {
public:
    explicit MessageCursor(const std::string& bytes) : bytes(bytes) {}
    bool atEnd() const { return position == bytes.size(); }
    bool readU32(uint32_t& value) {
        if (bytes.size() - position < 4)
            return false;
        value = 0;
        for (int i = 0; i < 4; ++i)
            value |= static_cast<uint32_t>(static_cast<uint8_t>(bytes[position + i])) << (8 * i);
        position += 4;
        return true;
    }
    bool readBytes(uint32_t length, std::string& out) {
        if (bytes.size() - position < length)
            return false;
        out = bytes.substr(position, length);
        position += length;
        return true;
    }

private:
    const std::string& bytes;
    size_t position = 0;
};

uint64_t littleEndian(const std::string& value, size_t offset, int size) {
    uint64_t result = 0;
    for (int i = 0; i < size; ++i)
        result |= static_cast<uint64_t>(static_cast<uint8_t>(value[offset + i])) << (8 * i);
    return result;
}

bool readCount(const std::map<std::string, std::string>& entries, const std::string& name,
               int32_t& count) {
    const auto found = entries.find(name);
    if (found == entries.end() || found->second.size() != 4)
        return false;
    count = static_cast<int32_t>(littleEndian(found->second, 0, 4));
    return count >= 0;
}

template <class T> T* readArray(const std::string& value, int32_t count) {
    if (count == 0)
        return nullptr;
    T* array = new T[static_cast<size_t>(count)];
    for (int32_t i = 0; i < count; ++i) {
        const uint64_t bits = littleEndian(value, static_cast<size_t>(i) * sizeof(T), sizeof(T));
        if constexpr (sizeof(T) == 8)
            std::memcpy(&array[i], &bits, sizeof(T));
        else
            array[i] = static_cast<T>(static_cast<uint32_t>(bits));
    }
    return array;
}

bool sizeMatches(const std::map<std::string, std::string>& entries, const std::string& name,
                 int32_t count, size_t valueSize) {
    const auto found = entries.find(name);
    const size_t present = found == entries.end() ? 0 : found->second.size();
    return present == static_cast<size_t>(count) * 3 * valueSize;
}

} // namespace

Element SceneTagReader::expand(const Element& tag) {
    if (tag.attribute("compressed") != "1")
        return tag;
    const util::DataChunk chunk = util::DataChunk::base64Decode(tag.text()).decode();
    Element content;
    content.parse(reinterpret_cast<const char*>(chunk.data()), chunk.size());
    return content;
}

// The tree is walked with an explicit stack, children in document order, so a scene nested
// thousands of levels deep neither exhausts the call stack nor copies a subtree per level: a
// plain tag is read where it lies, and only a compressed one is expanded, once, and kept until
// the walk ends because its children point into it.
InstanceReference* SceneTagReader::restore(const Element& stored, const std::string& requested) {
    struct Pending {
        const Element* stored;
        InstanceReference* parent;
    };
    std::vector<std::unique_ptr<Element>> expanded;
    std::vector<Pending> pending{{&stored, nullptr}};
    InstanceReference* top = nullptr;
    while (!pending.empty()) {
        const Pending next = pending.back();
        pending.pop_back();
        const Element* tag = next.stored;
        if (tag->attribute("compressed") == "1") {
            expanded.push_back(std::make_unique<Element>(expand(*tag)));
            tag = expanded.back().get();
        }
        const bool isTop = next.stored == &stored;
        const std::string name =
            isTop && !requested.empty() ? requested : tag->child("name", 0).text();
        InstanceReference* reference = restoreOne(*tag, name);
        if (reference == nullptr)
            continue;
        if (isTop)
            top = reference;
        else
            next.parent->insertChild(reference);
        std::vector<const Element*> children;
        tag->forEachChild("QVT_Plugin", [&](const Element& child) { children.push_back(&child); });
        for (auto child = children.rbegin(); child != children.rend(); ++child)
            pending.push_back({*child, reference});
    }
    return top;
}

InstanceReference* SceneTagReader::restoreOne(const Element& tag, const std::string& name) {
    const std::string& type = tag.child("type", 0).text();
    Tool* tool = LibraryManager::instance()->findTool(type);
    Instance* instance = tool ? startInstance(tag, *tool, name) : nullptr;
    if (instance == nullptr) {
        util::Log::instance()->write("Could not restore tool", type, util::Log::Warning);
        failed.push_back(tag);
        return nullptr;
    }
    auto* reference = new InstanceReference(instance);
    if (tag.child("checked", 0).text() == "false")
        reference->setChecked(false);
    applyStoredState(*instance, tag);
    findNodes(*instance, tag.child("nodeinfo", 0));
    return reference;
}

Instance* SceneTagReader::startInstance(const Element& tag, Tool& tool, const std::string& name) {
    Instance* instance = tool.createInstanceObject(name);
    if (instance == nullptr)
        return nullptr;
    CCamera* code = instance->getCode();
    if (code == nullptr) {
        instance->destroy();
        return nullptr;
    }
    Element custom = tag.child("customdata", 0);
    code->extend(Extension::ReadCustomData, &custom, 0);
    if (code->initialize() != 0) {
        instance->discardNodes();
        instance->destroy();
        return nullptr;
    }
    return instance;
}

void SceneTagReader::applyStoredState(Instance& instance, const Element& tag) {
    instance.getTool()->applyStartProfiles(instance);
    // The tag's own configuration wins over the start profile whether or not save data came
    // with it, so a copy (written without save data) keeps the original's settings.
    if (tag.childCount("configprofile") > 0)
        instance.applyConfigProfile(tag.child("configprofile", 0));
    if (tag.childCount("savedata") > 0) {
        const util::DataChunk data = util::DataChunk::base64Decode(tag.child("savedata").text());
        instance.setSaveData(data.data(), static_cast<uint32_t>(data.size()));
    }
    const Element& input = tag.child("inputprofile", 0);
    if (input.childCount() > 0)
        instance.applyInputProfile(input.child(0));
    if (tag.childCount("recordedinputvalues") > 0)
        readRecordedInputValues(instance, tag.child("recordedinputvalues"));
}

void SceneTagReader::readRecordedInputValues(Instance& instance, const Element& values) {
    Instance::RecordedValues curves;
    for (int i = 0; i < values.childCount(); ++i) {
        const Element& input = values.child(i);
        if (input.name() != "input")
            continue;
        const util::DataChunk block = util::DataChunk::base64Decode(input.text());
        curves.emplace_back().read(block.data(), block.size());
    }
    instance.setRecordedValues(std::move(curves));
}

void SceneTagReader::findNodes(Instance& instance, const Element& nodeInfo) {
    HostAdaptor* host = adaptor();
    if (host == nullptr || nodeInfo.childCount("node") == 0)
        return;
    NodeList nodes;
    util::ReturnValue<NodeList> holder(nodes);
    host->findNodes(instance.getName(), nodeInfo, holder);
    std::vector<std::string> missing;
    size_t index = 0;
    nodeInfo.forEachChild("node", [&](const Element& node) {
        const bool found = index < nodes.size() && nodes[index] != nullptr;
        if (!found)
            missing.push_back(node.attribute("name"));
        ++index;
    });
    if (missing.empty())
        return;
    gui::messageBox(nullptr, missingNodesText(instance.getName(), missing), "Morvik Quorvane", 1,
                    false);
}

std::string SceneTagReader::missingNodesText(const std::string& instanceName,
                                             const std::vector<std::string>& nodeNames) {
    std::string text = "Some nodes required for this plugin was not found in the scene. Please "
                       "make sure all required nodes are present.\nThe following nodes were not "
                       "found:\n\n";
    for (const std::string& name : nodeNames)
        text += instanceName + "_" + name + "\n";
    return text;
}

bool SceneTagReader::readMeshMessage(const std::string& bytes, CMesh& mesh) {
    std::map<std::string, std::string> entries;
    MessageCursor cursor(bytes);
    while (!cursor.atEnd()) {
        uint32_t length = 0;
        std::string name;
        std::string value;
        if (!cursor.readU32(length) || !cursor.readBytes(length, name) || !cursor.readU32(length) ||
            !cursor.readBytes(length, value))
            return false;
        entries[name] = std::move(value);
    }
    CMesh read;
    if (!readCount(entries, "numVertexes", read.numVertexes) ||
        !readCount(entries, "numTexCoords", read.numTexCoords) ||
        !readCount(entries, "numFaces", read.numFaces) ||
        !readCount(entries, "numTFaces", read.numTFaces))
        return false;
    if (!sizeMatches(entries, "vertex", read.numVertexes, 8) ||
        !sizeMatches(entries, "texcoord", read.numTexCoords, 8) ||
        !sizeMatches(entries, "face", read.numFaces, 4) ||
        !sizeMatches(entries, "tface", read.numTFaces, 4))
        return false;
    read.vertex = readArray<double>(entries["vertex"], 3 * read.numVertexes);
    read.texcoord = readArray<double>(entries["texcoord"], 3 * read.numTexCoords);
    read.face = readArray<int32_t>(entries["face"], 3 * read.numFaces);
    read.tface = readArray<int32_t>(entries["tface"], 3 * read.numTFaces);
    mesh = read;
    return true;
}

} // namespace mvk::qvn::core
