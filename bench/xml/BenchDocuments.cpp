#include "BenchDocuments.h"

#include "util/xml/Element.h"

#include <cstdint>
#include <random>

using mvk::util::xml::Element;
using mvk::util::xml::Tag;
using mvk::util::xml::TagWithData;

namespace qvn::bench {

namespace {

std::string base64(const std::string& bytes) {
    static const char alphabet[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    out.reserve((bytes.size() + 2) / 3 * 4);
    for (size_t i = 0; i < bytes.size(); i += 3) {
        uint32_t block = static_cast<uint8_t>(bytes[i]) << 16;
        if (i + 1 < bytes.size())
            block |= static_cast<uint8_t>(bytes[i + 1]) << 8;
        if (i + 2 < bytes.size())
            block |= static_cast<uint8_t>(bytes[i + 2]);
        out += alphabet[(block >> 18) & 63];
        out += alphabet[(block >> 12) & 63];
        out += i + 1 < bytes.size() ? alphabet[(block >> 6) & 63] : '=';
        out += i + 2 < bytes.size() ? alphabet[block & 63] : '=';
    }
    return out;
}

std::string randomBytes(std::mt19937& random, size_t size) {
    std::string bytes(size, '\0');
    for (char& c : bytes)
        c = static_cast<char>(random() & 0xff);
    return bytes;
}

void addConfigProfile(Element& plugin, int index) {
    Element& profile = plugin.addChild(Tag("configprofile"));
    profile.attribute("version") = "2.0";
    profile.attribute("name") = "Start Profile";
    for (int i = 0; i < 12; ++i) {
        Element& item = profile.addChild(Tag("item"));
        item.attribute("name") = "setting" + std::to_string(i);
        item.attribute("type") = i % 3 == 0 ? "bool" : "float";
        item.addChild(TagWithData("value", std::to_string(index * 0.25 + i)));
    }
}

void addInputProfile(Element& plugin) {
    Element& profile = plugin.addChild(Tag("inputprofile"));
    for (int i = 0; i < 6; ++i) {
        Element& property = profile.addChild(Tag("property"));
        property.attribute("name") = "axis" + std::to_string(i);
        Element& control = property.addChild(Tag("control"));
        control.attribute("devindex") = std::to_string(i % 2);
        control.attribute("ctrlindex") = std::to_string(i);
        control.attribute("te_direction") = "1";
        property.addChild(TagWithData("sensitivity", "0.75"));
    }
}

void addNodeInfo(Element& plugin, std::mt19937& random, int index) {
    Element& info = plugin.addChild(Tag("nodeinfo"));
    for (int i = 0; i < 3; ++i) {
        Element& node = info.addChild(Tag("node"));
        node.attribute("name") = "_node" + std::to_string(i);
        node.attribute("objectname") =
            "Camera" + std::to_string(index) + "_node" + std::to_string(i);
        if (i == 0) {
            node.attribute("type") = "camera";
            node.addChild(TagWithData("fov", "45"));
        }
        for (const char* reference : {"global", "local"}) {
            Element& transform =
                node.addChild(TagWithData("transform", base64(randomBytes(random, 128))));
            transform.attribute("reference") = reference;
        }
        if (i == 0)
            node.addChild(Tag("parent"));
        else
            node.addChild(TagWithData("parent", "_node0"));
        node.addChild(TagWithData("visible", "true"));
    }
}

Element plugin(std::mt19937& random, int index, bool recordings) {
    Tag plugin("QVT_Plugin");
    plugin.attribute("version") = "2.5";
    plugin.addChild(TagWithData("type", "Camera Crane"));
    plugin.addChild(TagWithData("name", "Crane" + std::to_string(index)));
    plugin.addChild(Tag("customdata")).attribute("mode") = "orbit";
    addConfigProfile(plugin, index);
    addInputProfile(plugin);
    addNodeInfo(plugin, random, index);
    if (recordings) {
        plugin.addChild(TagWithData("savedata", base64(randomBytes(random, 96))));
        Element& recorded = plugin.addChild(Tag("recordedinputvalues"));
        // Six curves of 1200 keys: 16 bytes per key plus the header.
        for (int i = 0; i < 6; ++i)
            recorded.addChild(TagWithData("input", base64(randomBytes(random, 16 * 1201))));
    }
    return plugin;
}

std::string sceneLike(size_t targetSize, bool recordings) {
    std::mt19937 random(12345);
    Tag root("QVT");
    size_t size = 0;
    for (int index = 0; size < targetSize; ++index) {
        Element& added = root.addChild(plugin(random, index, recordings));
        size += added.toString("", "", "").size();
    }
    return root.toString("", "", "");
}

} // namespace

std::string sceneDocument(size_t targetSize) {
    return sceneLike(targetSize, true);
}

std::string tagDenseDocument(size_t targetSize) {
    return sceneLike(targetSize, false);
}

std::string layoutDocument() {
    Tag window("window");
    window.attribute("title") = "Input configuration";
    window.attribute("width") = "480";
    window.attribute("height") = "360";
    Element& list = window.addChild(Tag("list"));
    list.attribute("type") = "vertical";
    list.attribute("padding") = "5 5 5 5";
    for (int i = 0; i < 14; ++i) {
        Element& row = list.addChild(Tag("list"));
        row.attribute("type") = "horizontal";
        Element& label = row.addChild(Tag("label"));
        label.attribute("label") = "Control " + std::to_string(i);
        label.attribute("minwidth") = "80";
        Element& button = row.addChild(Tag("button"));
        button.attribute("id") = std::to_string(100 + i);
        button.attribute("label") = "Bind";
        button.attribute("tooltip") = "Press a button";
    }
    return "<?xml version=\"1.0\"?>\n" + window.toString("\n", "\t", "");
}

} // namespace qvn::bench
