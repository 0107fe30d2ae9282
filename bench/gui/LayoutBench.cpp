// Building a window of about 200 components offscreen (nested groups of rows with labels,
// spinners, combo boxes, buttons, check boxes and text boxes, and a tree) and writing it back.
// With Qt's form loader installed, the same window is also loaded from an equivalent .ui
// document, so both builders are measured in one run on one machine.
#include "gui/Component.h"
#include "gui/Toolkit.h"
#include "util/xml/Element.h"

#include <benchmark/benchmark.h>

#ifdef QVN_BENCH_UITOOLS
#include <QBuffer>
#include <QUiLoader>
#include <QWidget>
#endif

#include <iostream>
#include <sstream>
#include <string>

namespace {

using mvk::gui::Component;
using mvk::util::xml::Element;

constexpr int Groups = 10;
constexpr int RowsPerGroup = 3;

std::string row(int group, int index) {
    const std::string id = std::to_string(group * 100 + index * 10);
    return R"(<list type="horizontal" height="28" padding="0 2 0 2">)"
           R"(<label label="Parameter )" +
           id +
           R"(" width="120" height="24"/>)"
           R"(<spinner id=")" +
           id +
           R"(" width="90" height="24" min="-10" max="10"/>)"
           R"(<combobox width="110" height="24"><item>Linear</item><item>Smooth</item>)"
           R"(<item>Step</item></combobox>)"
           R"(<button label="Reset" width="70" height="24"/>)"
           R"(<checkbox label="Lock" width="60" height="24"/></list>)";
}

std::string windowText() {
    std::string text = R"(<dialog label="Bench" width="640" height="900" padding="8 8 8 8">)";
    for (int group = 0; group < Groups; ++group) {
        text += R"(<group label="Group )" + std::to_string(group) + R"(" padding="6 6 6 6">)";
        for (int index = 0; index < RowsPerGroup; ++index)
            text += row(group, index);
        text += R"(<textbox defaulttext="notes" height="24"/></group>)";
    }
    return text + R"(<tree height="120"/></dialog>)";
}

int countComponents(Component* component) {
    int count = 1;
    for (int i = 0; i < component->childCount(); ++i)
        count += countComponents(component->child(i));
    return count;
}

void startToolkit() {
    static const bool started = [] {
        mvk::gui::Toolkit::registerFactories();
        mvk::gui::Toolkit::start();
        return true;
    }();
    (void)started;
}

// The dialog factory announces every window on standard output; keeps the report readable.
class QuietAnnouncements {
public:
    QuietAnnouncements() : console(std::cout.rdbuf(swallowed.rdbuf())) {}
    ~QuietAnnouncements() { std::cout.rdbuf(console); }
    void clear() { swallowed.str({}); }

private:
    std::ostringstream swallowed;
    std::streambuf* console;
};

void BM_BuildWindow(benchmark::State& state) {
    startToolkit();
    const Element layout(windowText());
    int components = 0;
    QuietAnnouncements quiet;
    for (auto _ : state) {
        Component* root = mvk::gui::ComponentFactory::instance()->create(layout);
        components = countComponents(root);
        state.PauseTiming();
        root->destroy();
        mvk::gui::Toolkit::processEvents();
        quiet.clear();
        state.ResumeTiming();
    }
    state.counters["components"] = components;
}
BENCHMARK(BM_BuildWindow)->Unit(benchmark::kMillisecond);

// As a window builds itself: the layout text read and then built.
void BM_BuildWindowFromText(benchmark::State& state) {
    startToolkit();
    const std::string text = windowText();
    QuietAnnouncements quiet;
    for (auto _ : state) {
        Component* root = mvk::gui::ComponentFactory::instance()->create(Element(text));
        state.PauseTiming();
        root->destroy();
        mvk::gui::Toolkit::processEvents();
        quiet.clear();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_BuildWindowFromText)->Unit(benchmark::kMillisecond);

void BM_WriteWindow(benchmark::State& state) {
    startToolkit();
    Component* root = nullptr;
    {
        QuietAnnouncements quiet;
        root = mvk::gui::ComponentFactory::instance()->create(Element(windowText()));
    }
    for (auto _ : state) {
        Element written = root->writeXml();
        benchmark::DoNotOptimize(written);
    }
    root->destroy();
}
BENCHMARK(BM_WriteWindow)->Unit(benchmark::kMicrosecond);

#ifdef QVN_BENCH_UITOOLS

// The same window as a .ui document: every component a widget of the matching Qt class with
// its texts, values and size, every container a widget with a box layout of the same margins
// and no spacing.
class UiDocument {
public:
    std::string text() {
        out = R"(<?xml version="1.0" encoding="UTF-8"?><ui version="4.0"><class>Bench</class>)";
        open("QDialog", 640, 900);
        property("windowTitle", "<string>Bench</string>");
        openLayout("QVBoxLayout", 8, 8, 8, 8);
        for (int group = 0; group < Groups; ++group)
            item([&] { groupBox(group); });
        item([&] {
            open("QTreeView", 0, 120);
            close();
        });
        closeLayout();
        close();
        return out + "</ui>";
    }

    int widgetCount() const { return widgets; }

private:
    void groupBox(int group) {
        open("QGroupBox", 0, 0);
        property("title", "<string>Group " + std::to_string(group) + "</string>");
        openLayout("QVBoxLayout", 6, 6, 6, 6);
        for (int index = 0; index < RowsPerGroup; ++index)
            item([&] { rowFrame(group * 100 + index * 10); });
        item([&] {
            open("QLineEdit", 0, 24);
            property("text", "<string>notes</string>");
            close();
        });
        closeLayout();
        close();
    }

    void rowFrame(int id) {
        open("QFrame", 0, 28);
        openLayout("QHBoxLayout", 0, 2, 0, 2);
        item([&] {
            open("QLabel", 120, 24);
            property("text", "<string>Parameter " + std::to_string(id) + "</string>");
            close();
        });
        item([&] {
            open("QDoubleSpinBox", 90, 24);
            property("minimum", "<double>-10</double>");
            property("maximum", "<double>10</double>");
            close();
        });
        item([&] {
            open("QComboBox", 110, 24);
            for (const char* entry : {"Linear", "Smooth", "Step"})
                out += std::string(R"(<item><property name="text"><string>)") + entry +
                       "</string></property></item>";
            close();
        });
        item([&] {
            open("QPushButton", 70, 24);
            property("text", "<string>Reset</string>");
            close();
        });
        item([&] {
            open("QCheckBox", 60, 24);
            property("text", "<string>Lock</string>");
            close();
        });
        closeLayout();
        close();
    }

    void open(const char* qtClass, int width, int height) {
        out += std::string(R"(<widget class=")") + qtClass + R"(" name="w)" +
               std::to_string(widgets++) + R"(">)";
        property("geometry", "<rect><x>0</x><y>0</y><width>" + std::to_string(width) +
                                 "</width><height>" + std::to_string(height) + "</height></rect>");
    }
    void close() { out += "</widget>"; }

    void openLayout(const char* qtClass, int left, int top, int right, int bottom) {
        out += std::string(R"(<layout class=")") + qtClass + R"(" name="l)" +
               std::to_string(layouts++) + R"(">)";
        property("spacing", "<number>0</number>");
        const std::pair<const char*, int> margins[] = {{"leftMargin", left},
                                                       {"topMargin", top},
                                                       {"rightMargin", right},
                                                       {"bottomMargin", bottom}};
        for (const auto& [name, value] : margins)
            property(name, "<number>" + std::to_string(value) + "</number>");
    }
    void closeLayout() { out += "</layout>"; }

    template <class Content> void item(Content content) {
        out += "<item>";
        content();
        out += "</item>";
    }

    void property(const std::string& name, const std::string& value) {
        out += R"(<property name=")" + name + R"(">)" + value + "</property>";
    }

    std::string out;
    int widgets = 0;
    int layouts = 0;
};

void BM_UiLoaderBuildWindow(benchmark::State& state) {
    startToolkit();
    UiDocument document;
    const QByteArray ui = QByteArray::fromStdString(document.text());
    QUiLoader loader;
    for (auto _ : state) {
        QBuffer source;
        source.setData(ui);
        source.open(QIODevice::ReadOnly);
        QWidget* window = loader.load(&source);
        if (window == nullptr) {
            state.SkipWithError(loader.errorString().toStdString().c_str());
            break;
        }
        state.PauseTiming();
        delete window;
        mvk::gui::Toolkit::processEvents();
        state.ResumeTiming();
    }
    state.counters["components"] = document.widgetCount();
}
BENCHMARK(BM_UiLoaderBuildWindow)->Unit(benchmark::kMillisecond);

#endif

} // namespace

BENCHMARK_MAIN();
