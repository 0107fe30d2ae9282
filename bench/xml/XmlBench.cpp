// Parse and write throughput of the XML reader and writer on scene-like, tag-dense, layout and
// deeply nested documents, and of pugixml and tinyxml2 on the same bytes (nested ones aside) when
// they are installed; the peak memory of a read per input byte; and the reader's goals against
// pugixml measured in the same run.
#include "BenchDocuments.h"
#include "GoalReport.h"

#include "util/xml/Element.h"

#include <benchmark/benchmark.h>

#include <malloc.h>
#include <time.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <map>
#include <new>
#include <string>
#include <vector>

#if defined(QVN_BENCH_PUGIXML)
#include <pugixml.hpp>
#endif
#if defined(QVN_BENCH_TINYXML2)
#include <tinyxml2.h>
#endif

using mvk::util::xml::Element;

namespace {

// Heap bytes in use and their peak, counted by the allocation functions below (this program's
// C++ allocations) and by the functions pugixml is given.
std::atomic<size_t> liveBytes{0};
std::atomic<size_t> peakBytes{0};

void* counted(void* memory) {
    if (memory == nullptr)
        return nullptr;
    const size_t now = liveBytes += malloc_usable_size(memory);
    size_t peak = peakBytes.load();
    while (now > peak && !peakBytes.compare_exchange_weak(peak, now)) {
    }
    return memory;
}

void uncount(void* memory) {
    if (memory != nullptr)
        liveBytes -= malloc_usable_size(memory);
    std::free(memory);
}

} // namespace

void* operator new(size_t size) {
    if (void* memory = counted(std::malloc(size == 0 ? 1 : size)))
        return memory;
    throw std::bad_alloc();
}
void* operator new[](size_t size) {
    return operator new(size);
}
void operator delete(void* memory) noexcept {
    uncount(memory);
}
void operator delete[](void* memory) noexcept {
    uncount(memory);
}
void operator delete(void* memory, size_t) noexcept {
    uncount(memory);
}
void operator delete[](void* memory, size_t) noexcept {
    uncount(memory);
}

namespace {

struct Document {
    std::string name;
    std::string text;
};

const std::vector<Document>& documents() {
    static const std::vector<Document> all = {
        {"scene_1MB", qvn::bench::sceneDocument(1 << 20)},
        {"scene_10MB", qvn::bench::sceneDocument(10 << 20)},
        {"tagdense_1MB", qvn::bench::tagDenseDocument(1 << 20)},
        {"layout_2KB", qvn::bench::layoutDocument()},
    };
    return all;
}

// One element inside the other all the way down: reading must cost the same per byte at any
// depth. Measured for this reader only; peers limit their depth.
std::string nestedDocument(size_t targetSize) {
    const size_t levels = targetSize / 7;
    std::string text;
    text.reserve(levels * 7);
    for (size_t i = 0; i < levels; ++i)
        text += "<a>";
    for (size_t i = 0; i < levels; ++i)
        text += "</a>";
    return text;
}

const std::vector<Document>& nestedDocuments() {
    static const std::vector<Document> all = {
        {"nested_1MB", nestedDocument(1 << 20)},
        {"nested_8MB", nestedDocument(8 << 20)},
    };
    return all;
}

void fail(const char* what, const std::string& document) {
    std::fprintf(stderr, "%s failed on %s\n", what, document.c_str());
    std::exit(1);
}

void countBytes(benchmark::State& state, size_t size) {
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * size));
}

void parseQuorvane(benchmark::State& state, const Document& document) {
    Element element;
    for (auto _ : state) {
        if (element.parse(document.text) != Element::Parsed)
            fail("parse", document.name);
        benchmark::DoNotOptimize(element);
    }
    countBytes(state, document.text.size());
}

// The output string is reused, as the scene store would, so the figure is not page faults.
void writeQuorvane(benchmark::State& state, const Document& document) {
    Element element(document.text);
    std::string out;
    out.reserve(document.text.size() * 2);
    for (auto _ : state) {
        out.clear();
        element.appendTo(out, "", "", "");
        benchmark::DoNotOptimize(out.data());
    }
    countBytes(state, out.size());
}

void toStringQuorvane(benchmark::State& state, const Document& document) {
    Element element(document.text);
    size_t size = 0;
    for (auto _ : state) {
        const std::string out = element.toString("", "", "");
        size = out.size();
        benchmark::DoNotOptimize(out.data());
    }
    countBytes(state, size);
}

#if defined(QVN_BENCH_PUGIXML)
struct StringWriter : pugi::xml_writer {
    std::string* out = nullptr;
    void write(const void* data, size_t size) override {
        out->append(static_cast<const char*>(data), size);
    }
};

void parsePugixml(benchmark::State& state, const Document& document) {
    pugi::xml_document doc;
    for (auto _ : state) {
        if (!doc.load_buffer(document.text.data(), document.text.size()))
            fail("pugixml parse", document.name);
        benchmark::DoNotOptimize(doc);
    }
    countBytes(state, document.text.size());
}

void writePugixml(benchmark::State& state, const Document& document) {
    pugi::xml_document doc;
    doc.load_buffer(document.text.data(), document.text.size());
    std::string out;
    out.reserve(document.text.size() * 2);
    StringWriter writer;
    writer.out = &out;
    for (auto _ : state) {
        out.clear();
        doc.save(writer, "", pugi::format_raw | pugi::format_no_declaration);
        benchmark::DoNotOptimize(out.data());
    }
    countBytes(state, out.size());
}
#endif

#if defined(QVN_BENCH_TINYXML2)
void parseTinyxml2(benchmark::State& state, const Document& document) {
    tinyxml2::XMLDocument doc;
    for (auto _ : state) {
        if (doc.Parse(document.text.data(), document.text.size()) != tinyxml2::XML_SUCCESS)
            fail("tinyxml2 parse", document.name);
        benchmark::DoNotOptimize(doc);
    }
    countBytes(state, document.text.size());
}

void writeTinyxml2(benchmark::State& state, const Document& document) {
    tinyxml2::XMLDocument doc;
    doc.Parse(document.text.data(), document.text.size());
    size_t size = 0;
    for (auto _ : state) {
        tinyxml2::XMLPrinter printer(nullptr, true);
        doc.Print(&printer);
        size = static_cast<size_t>(printer.CStrSize());
        benchmark::DoNotOptimize(printer.CStr());
    }
    countBytes(state, size);
}
#endif

using Measure = void (*)(benchmark::State&, const Document&);

void add(const char* library, const char* operation, Measure measure) {
    for (const Document& document : documents()) {
        const std::string name = std::string(operation) + "/" + library + "/" + document.name;
        benchmark::RegisterBenchmark(name.c_str(), measure, std::cref(document))
            ->Unit(benchmark::kMicrosecond);
    }
}

// The peak of heap bytes while `read` runs, per byte of the document.
template <typename Read> double peakPerByte(const Document& document, Read&& read) {
    const size_t before = liveBytes.load();
    peakBytes = before;
    read();
    return static_cast<double>(peakBytes.load() - before) /
           static_cast<double>(document.text.size());
}

void printMemory() {
#if defined(QVN_BENCH_PUGIXML)
    pugi::set_memory_management_functions([](size_t size) { return counted(std::malloc(size)); },
                                          uncount);
#endif
    for (const Document& document : documents()) {
        std::printf("peak memory of a read, %s: quorvane %.2f bytes per input byte",
                    document.name.c_str(), peakPerByte(document, [&] {
                        Element element(document.text);
                        benchmark::DoNotOptimize(element);
                    }));
#if defined(QVN_BENCH_PUGIXML)
        std::printf(", pugixml %.2f", peakPerByte(document, [&] {
                        pugi::xml_document doc;
                        doc.load_buffer(document.text.data(), document.text.size());
                        benchmark::DoNotOptimize(doc);
                    }));
#endif
        std::printf("\n");
    }
}

#if defined(QVN_BENCH_PUGIXML)
double threadSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// Seconds of CPU time per read over one round of `reads` reads.
template <typename Read> double roundSeconds(int reads, Read&& read) {
    const double start = threadSeconds();
    for (int i = 0; i < reads; ++i)
        read();
    return (threadSeconds() - start) / reads;
}

// Throughput of this reader over pugixml's on a document, both measured in alternating rounds of
// about 20 ms so that the load of this shared machine, which changes from second to second,
// weighs on both alike; the best round of each side counts. Also prints both figures.
double pairedRatio(const Document& document) {
    Element element;
    pugi::xml_document doc;
    auto ours = [&] {
        if (element.parse(document.text) != Element::Parsed)
            fail("parse", document.name);
    };
    auto theirs = [&] {
        if (!doc.load_buffer(document.text.data(), document.text.size()))
            fail("pugixml parse", document.name);
    };
    const int reads = std::max(1, static_cast<int>(0.02 / std::max(roundSeconds(3, ours), 1e-9)));
    double oursBest = 1e9;
    double theirsBest = 1e9;
    for (int round = 0; round < 15; ++round) {
        oursBest = std::min(oursBest, roundSeconds(reads, ours));
        theirsBest = std::min(theirsBest, roundSeconds(reads, theirs));
    }
    const double megabytes = static_cast<double>(document.text.size()) / 1e6;
    std::printf("read of %s in alternating rounds: quorvane %.0f MB/s, pugixml %.0f MB/s\n",
                document.name.c_str(), megabytes / oursBest, megabytes / theirsBest);
    return theirsBest / oursBest;
}

const Document& documentNamed(const std::string& name) {
    for (const Document& document : documents())
        if (document.name == name)
            return document;
    fail("finding the document", name);
    std::abort();
}
#endif

// Keeps the throughput of every run for the goals.
class ThroughputReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            const auto bytes = run.counters.find("bytes_per_second");
            if (!run.error_occurred && bytes != run.counters.end())
                throughput[run.benchmark_name()] = bytes->second.value;
        }
    }
    // This reader's parse throughput over pugixml's on a document; -1 when either is missing.
    double ratio(const std::string& document) const {
        const auto ours = find("parse/quorvane/" + document);
        const auto theirs = find("parse/pugixml/" + document);
        return ours > 0 && theirs > 0 ? ours / theirs : -1.0;
    }

private:
    double find(const std::string& prefix) const {
        for (const auto& [name, value] : throughput)
            if (name.rfind(prefix, 0) == 0)
                return value;
        return -1.0;
    }
    std::map<std::string, double> throughput;
};

} // namespace

int main(int argc, char** argv) {
    for (const Document& document : documents())
        std::printf("%s: %zu bytes\n", document.name.c_str(), document.text.size());
    printMemory();
    add("quorvane", "parse", parseQuorvane);
    add("quorvane", "write", writeQuorvane);
    add("quorvane", "toString", toStringQuorvane);
    for (const Document& document : nestedDocuments()) {
        const std::string name = "parse/quorvane/" + document.name;
        benchmark::RegisterBenchmark(name.c_str(), parseQuorvane, std::cref(document))
            ->Unit(benchmark::kMicrosecond);
    }
#if defined(QVN_BENCH_PUGIXML)
    add("pugixml", "parse", parsePugixml);
    add("pugixml", "write", writePugixml);
#endif
#if defined(QVN_BENCH_TINYXML2)
    add("tinyxml2", "parse", parseTinyxml2);
    add("tinyxml2", "write", writeTinyxml2);
#endif
    benchmark::Initialize(&argc, argv);
    ThroughputReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
#if defined(QVN_BENCH_PUGIXML)
    // The goals come from the alternating rounds: on a loaded machine the separate runs above
    // can land in calmer and busier seconds and move the ratio by half.
    using qvn::bench::printGoal;
    for (const char* name : {"tagdense_1MB", "layout_2KB", "scene_1MB"})
        std::printf("separate runs above, %s: %.3g x\n", name, reporter.ratio(name));
    const double tagDense = pairedRatio(documentNamed("tagdense_1MB"));
    const double layout = pairedRatio(documentNamed("layout_2KB"));
    const double scene = pairedRatio(documentNamed("scene_1MB"));
    printGoal("XML read of tagdense_1MB against pugixml", tagDense, "x", 0.5, true);
    printGoal("XML read of layout_2KB against pugixml", layout, "x", 0.5, true);
    printGoal("XML read of scene_1MB against pugixml", scene, "x", 1.0, true);
#endif
    return 0;
}
