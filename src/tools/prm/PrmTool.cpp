#include "tools/prm/PrmTool.h"

#include "core/instances/SceneTagReader.h"
#include "core/plugins/TemplateLogic.h"
#include "mathscript/MathScript.h"
#include "util/DataChunk.h"

#include <cstdio>
#include <memory>
#include <set>
#include <utility>

namespace mvk::qvn::tools {

using core::plugins::TemplateLogic;
using util::xml::Element;

namespace {

bool isToolTagRoot(const std::string& name) {
    return name == "QVT" || name == "qvn" || name == "QVT_Plugin";
}

// The tool tag of a template document: the root itself or the root's first "QVT_Plugin".
Element& toolTag(Element& root) {
    return root.name() == "QVT_Plugin" ? root : root.child("QVT_Plugin");
}

std::string typeText(uint32_t type) {
    std::string text;
    const char* names[] = {"binary", "trinary", "finite", "infinite"};
    for (int bit = 0; bit < 4; ++bit)
        if (type & (1u << bit))
            text += std::string(text.empty() ? "" : "+") + names[bit];
    return text.empty() ? "none" : text;
}

const char* kindText(TemplateLogic::ConfigSpec::Kind kind) {
    using Kind = TemplateLogic::ConfigSpec::Kind;
    switch (kind) {
    case Kind::Spinner:
        return "spinner";
    case Kind::SpinnerInt:
        return "integer spinner";
    case Kind::CheckBox:
        return "check box";
    case Kind::TextBox:
        return "text box";
    default:
        return "group";
    }
}

bool isSpinner(TemplateLogic::ConfigSpec::Kind kind) {
    return kind == TemplateLogic::ConfigSpec::Kind::Spinner ||
           kind == TemplateLogic::ConfigSpec::Kind::SpinnerInt;
}

// True when the registry builds the script; the tree is thrown away again.
bool scriptBuilds(const Element& script) {
    if (script.type() != Element::KindTag)
        return false;
    MathScript* built = MathScript::instance()->create(script);
    if (built == nullptr)
        return false;
    built->destroy();
    return true;
}

// Comments belong to the source; the shipped file goes without them.
void dropComments(Element& root) {
    std::vector<Element*> pending{&root};
    while (!pending.empty()) {
        Element* element = pending.back();
        pending.pop_back();
        for (int i = element->childCount() - 1; i >= 0; --i) {
            if (element->child(i).type() == Element::KindComment)
                element->takeChild(i);
            else
                pending.push_back(&element->child(i));
        }
    }
}

std::string parameterText(const TemplateLogic::ControlSpec& control) {
    using Source = TemplateLogic::ParameterSpec::Source;
    std::string text;
    for (const TemplateLogic::ParameterSpec& parameter : control.parameterList) {
        if (parameter.source == Source::Spinner)
            text += " spinner " + std::to_string(parameter.spinner);
        else if (parameter.source == Source::Property)
            text += " property \"" + parameter.property + "\"";
        else
            text += " (nothing)";
        text += ",";
    }
    if (text.empty())
        return " none";
    text.pop_back();
    return text;
}

} // namespace

int PrmTool::run(const std::vector<std::string>& arguments) {
    if (arguments.size() == 3 && arguments[0] == "pack")
        return pack(arguments[1], arguments[2]);
    if (arguments.size() == 3 && arguments[0] == "unpack")
        return unpack(arguments[1], arguments[2]);
    if (arguments.size() == 2 && arguments[0] == "check")
        return check(arguments[1]);
    usage();
    return Usage;
}

void PrmTool::usage() {
    err << "usage: quorvane-prm pack IN.xml OUT.prm\n"
           "       quorvane-prm unpack IN.prm OUT.xml\n"
           "       quorvane-prm check FILE\n";
}

bool PrmTool::readDocument(const std::string& path, Element& root) {
    util::DataChunk bytes;
    if (!bytes.loadFile(path)) {
        err << path << ": cannot be read\n";
        return false;
    }
    const util::DataChunk text = bytes.decode();
    const int result = root.parse(reinterpret_cast<const char*>(text.data()), text.size());
    if (result != Element::Parsed) {
        err << path << ": not well-formed XML (reader result " << result << ")\n";
        return false;
    }
    if (!isToolTagRoot(root.name())) {
        err << path << ": the root element is \"" << root.name()
            << "\", not \"QVT\", \"qvn\" or \"QVT_Plugin\"\n";
        return false;
    }
    return true;
}

bool PrmTool::writeBytes(const std::string& path, const void* data, size_t size) {
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "wb"),
                                                         &std::fclose);
    const bool written =
        file && std::fwrite(data, 1, size, file.get()) == size && std::fclose(file.release()) == 0;
    if (!written)
        err << path << ": cannot be written\n";
    return written;
}

int PrmTool::pack(const std::string& input, const std::string& output) {
    Element root;
    if (!readDocument(input, root))
        return Failed;
    dropComments(root);
    const std::string text = root.toString("", "", "");
    const util::DataChunk packed = util::DataChunk(text.data(), text.size()).encode();
    return writeBytes(output, packed.data(), packed.size()) ? Success : Failed;
}

int PrmTool::unpack(const std::string& input, const std::string& output) {
    Element root;
    if (!readDocument(input, root))
        return Failed;
    Element& tag = toolTag(root);
    if (std::as_const(tag).attribute("compressed") == "1") {
        Element expanded = core::SceneTagReader::expand(tag);
        if (expanded.name() != "QVT_Plugin") {
            err << input << ": the compressed tool tag cannot be read\n";
            return Failed;
        }
        tag = std::move(expanded);
    }
    std::string text = "<?xml version=\"1.0\"?>\n";
    root.appendTo(text, "\n", "\t", "");
    return writeBytes(output, text.data(), text.size()) ? Success : Failed;
}

int PrmTool::check(const std::string& file) {
    Element root;
    if (!readDocument(file, root))
        return Failed;
    const Element tag = core::SceneTagReader::expand(toolTag(root));
    if (tag.name() != "QVT_Plugin") {
        err << file << ": holds no readable \"QVT_Plugin\" tool tag\n";
        return Failed;
    }
    const std::string type = tag.child("type").text();
    const std::string name = tag.child("name").text();
    out << "template \"" << (name.empty() ? type : name) << "\" of tool \"" << type << "\"\n";
    if (type != "template" && type != "PRM" && type != "PRS" && type != "PRC")
        out << "warning: \"" << type
            << "\" is no template tool; the file loads only where that tool is installed\n";

    const TemplateLogic logic = TemplateLogic::read(tag.child("customdata"));
    for (const std::string& category : logic.categories)
        out << "category \"" << category << "\"\n";
    std::set<std::string> properties;
    for (const TemplateLogic::PropertySpec& property : logic.properties) {
        out << "property \"" << property.name << "\" (" << typeText(property.type) << ")\n";
        properties.insert(property.name);
    }
    int spinnerCount = 0;
    for (const TemplateLogic::ConfigSpec& spec : logic.configElements()) {
        if (spec.kind == TemplateLogic::ConfigSpec::Kind::EndGroup)
            continue;
        const std::string label = spec.item->attribute("label");
        out << "config " << kindText(spec.kind) << " \"" << label << "\"";
        if (isSpinner(spec.kind)) {
            out << " (spinner " << spinnerCount++ << ")";
            if (TemplateLogic::showsAsProperty(*spec.item))
                properties.insert("Spinner: " + label);
        }
        out << "\n";
    }

    int errors = 0;
    for (const TemplateLogic::ControlSpec& control : logic.controls) {
        out << "control \"" << control.name << "\" index " << control.index << " ("
            << typeText(control.type) << "), parameters:" << parameterText(control) << "\n";
        if (!scriptBuilds(control.script)) {
            err << "error: control \"" << control.name << "\": the script does not build"
                << (control.script.isEmpty() ? " (no script)"
                                             : " (\"" + control.script.name() + "\")")
                << "\n";
            ++errors;
        }
        for (size_t i = 0; i < control.parameterList.size(); ++i) {
            const TemplateLogic::ParameterSpec& parameter = control.parameterList[i];
            using Source = TemplateLogic::ParameterSpec::Source;
            if (parameter.source == Source::Spinner &&
                (parameter.spinner < 0 || parameter.spinner >= spinnerCount))
                out << "warning: control \"" << control.name << "\": parameter " << i
                    << " reads spinner " << parameter.spinner << ", which is not configured\n";
            if (parameter.source == Source::Property && properties.count(parameter.property) == 0)
                out << "warning: control \"" << control.name << "\": parameter " << i
                    << " reads property \"" << parameter.property
                    << "\", which the template does not declare\n";
        }
    }
    out << errors << " error(s)\n";
    return errors == 0 ? Success : Failed;
}

} // namespace mvk::qvn::tools
