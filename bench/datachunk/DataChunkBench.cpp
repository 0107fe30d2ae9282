// Throughput of the chunk encoding and of Base64 on the two kinds of data the system stores: the
// XML text of a scene (tags, numbers, Base64 blocks) and binary recorded curves. zlib's
// Huffman-only deflate and OpenSSL's Base64 run on the same bytes when they are installed.
#include "util/DataChunk.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#ifdef QVN_BENCH_ZLIB
#include <zlib.h>
#endif
#ifdef QVN_BENCH_OPENSSL
#include <openssl/evp.h>
#endif

namespace {

using mvk::util::DataChunk;

constexpr size_t TargetSize = 1 << 20;

std::string number(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", value);
    return text;
}

std::string base64Of(std::mt19937& random, size_t doubles, double scale) {
    std::vector<double> values(doubles);
    std::normal_distribution<double> spread(0.0, scale);
    for (double& value : values)
        value = spread(random);
    return DataChunk::base64Encode(values.data(), values.size() * sizeof(double));
}

// One tool instance as the scene store writes it: properties, bindings, node records with their
// matrices, and a few recorded curves.
std::string instanceTag(std::mt19937& random, int index) {
    static const char* tools[] = {"Camera", "Car", "Crane", "Boom", "Dolly"};
    static const char* controls[] = {"pan", "tilt", "roll", "zoom", "focus", "throttle", "steer"};
    const std::string name = std::string(tools[index % 5]) + "_" + std::to_string(index);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    std::string tag = "\t<QVT_Plugin name=\"" + name + "\" tool=\"" + tools[index % 5] +
                      "\" version=\"8101\">\n\t\t<config>\n";
    for (int p = 0; p < 6; ++p)
        tag += "\t\t\t<property name=\"te_param" + std::to_string(p) + "\" type=\"generic\">" +
               number(unit(random) * 100) + "</property>\n";
    tag += "\t\t</config>\n\t\t<controls>\n";
    for (const char* control : controls)
        tag += std::string("\t\t\t<control name=\"") + control + "\" devindex=\"" +
               std::to_string(random() % 3) + "\" device=\"Gamepad " +
               std::to_string(random() % 2 + 1) + "\" input=\"axis " +
               std::to_string(random() % 6) + "\" curve=\"" + number(1 + unit(random)) +
               "\" deadzone=\"0.05\"/>\n";
    tag += "\t\t</controls>\n";
    for (int node = 0; node < 3; ++node) {
        tag += "\t\t<node name=\"" + name + ":part" + std::to_string(node) +
               "\" objectname=\"part" + std::to_string(node) + "\">\n";
        tag += "\t\t\t<transform reference=\"global\">" + base64Of(random, 16, 10) +
               "</transform>\n\t\t\t<transform reference=\"local\">" + base64Of(random, 16, 1) +
               "</transform>\n\t\t\t<parent>" + (node ? "part0" : "") +
               "</parent>\n\t\t\t<visible>true</visible>\n\t\t</node>\n";
    }
    tag += "\t\t<recordedinputvalues>\n";
    for (int curve = 0; curve < 2; ++curve)
        tag += "\t\t\t<input>" + base64Of(random, 40, 1) + "</input>\n";
    tag += "\t\t</recordedinputvalues>\n\t</QVT_Plugin>\n";
    return tag;
}

const DataChunk& sceneText() {
    static const DataChunk chunk = [] {
        std::mt19937 random(2024);
        std::string text = "<?xml version=\"1.0\"?>\n<QVT version=\"9201\">\n";
        for (int index = 0; text.size() < TargetSize - 64; ++index)
            text += instanceTag(random, index);
        text += "</QVT>\n";
        text.push_back('\0');
        return DataChunk(text.data(), text.size());
    }();
    return chunk;
}

// Recorded curves: keys of (time, value) doubles sampled at 30 Hz from smooth motion with jitter.
const DataChunk& curveData() {
    static const DataChunk chunk = [] {
        std::mt19937 random(77);
        std::normal_distribution<double> jitter(0.0, 0.01);
        std::vector<double> keys;
        for (size_t key = 0; keys.size() * sizeof(double) < TargetSize; ++key) {
            const double time = static_cast<double>(key % 4096) / 30.0;
            const double curve = static_cast<double>(key / 4096);
            keys.push_back(time);
            keys.push_back(std::sin(time * (0.3 + curve * 0.1)) * 5 + jitter(random));
        }
        return DataChunk(keys.data(), TargetSize);
    }();
    return chunk;
}

const DataChunk& input(int which) {
    return which == 0 ? sceneText() : curveData();
}

const char* inputName(int which) {
    return which == 0 ? "scene_xml" : "curves";
}

void BM_Encode(benchmark::State& state) {
    const DataChunk& original = input(static_cast<int>(state.range(0)));
    size_t encodedSize = 0;
    for (auto _ : state) {
        const DataChunk encoded = original.encode();
        encodedSize = encoded.size();
        benchmark::DoNotOptimize(encoded.data());
    }
    state.SetLabel(inputName(static_cast<int>(state.range(0))));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * original.size()));
    state.counters["ratio"] = static_cast<double>(encodedSize) / original.size();
}
BENCHMARK(BM_Encode)->Arg(0)->Arg(1);

void BM_Decode(benchmark::State& state) {
    const DataChunk& original = input(static_cast<int>(state.range(0)));
    const DataChunk encoded = original.encode();
    if (encoded.decode() != original)
        state.SkipWithError("round trip failed");
    for (auto _ : state) {
        const DataChunk decoded = encoded.decode();
        benchmark::DoNotOptimize(decoded.data());
    }
    state.SetLabel(inputName(static_cast<int>(state.range(0))));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * original.size()));
}
BENCHMARK(BM_Decode)->Arg(0)->Arg(1);

void BM_Base64Encode(benchmark::State& state) {
    const DataChunk& original = curveData();
    for (auto _ : state) {
        const std::string text = DataChunk::base64Encode(original);
        benchmark::DoNotOptimize(text.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * original.size()));
}
BENCHMARK(BM_Base64Encode);

void BM_Base64Decode(benchmark::State& state) {
    const DataChunk& original = curveData();
    const std::string text = DataChunk::base64Encode(original);
    if (DataChunk::base64Decode(text) != original)
        state.SkipWithError("round trip failed");
    for (auto _ : state) {
        const DataChunk decoded = DataChunk::base64Decode(text);
        benchmark::DoNotOptimize(decoded.data());
    }
    // Rated by the binary bytes on both sides, like the encoder.
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * original.size()));
}
BENCHMARK(BM_Base64Decode);

#ifdef QVN_BENCH_ZLIB
std::vector<uint8_t> zlibHuffmanOnly(const DataChunk& original, z_stream& stream) {
    std::vector<uint8_t> out(deflateBound(&stream, original.size()));
    deflateReset(&stream);
    stream.next_in = const_cast<Bytef*>(original.data());
    stream.avail_in = static_cast<uInt>(original.size());
    stream.next_out = out.data();
    stream.avail_out = static_cast<uInt>(out.size());
    deflate(&stream, Z_FINISH);
    out.resize(stream.total_out);
    return out;
}

void BM_ZlibDeflateHuffmanOnly(benchmark::State& state) {
    const DataChunk& original = input(static_cast<int>(state.range(0)));
    z_stream stream{};
    deflateInit2(&stream, Z_DEFAULT_COMPRESSION, Z_DEFLATED, 15, 8, Z_HUFFMAN_ONLY);
    size_t compressedSize = 0;
    for (auto _ : state) {
        const std::vector<uint8_t> compressed = zlibHuffmanOnly(original, stream);
        compressedSize = compressed.size();
        benchmark::DoNotOptimize(compressed.data());
    }
    deflateEnd(&stream);
    state.SetLabel(inputName(static_cast<int>(state.range(0))));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * original.size()));
    state.counters["ratio"] = static_cast<double>(compressedSize) / original.size();
}
BENCHMARK(BM_ZlibDeflateHuffmanOnly)->Arg(0)->Arg(1);

void BM_ZlibInflate(benchmark::State& state) {
    const DataChunk& original = input(static_cast<int>(state.range(0)));
    z_stream deflater{};
    deflateInit2(&deflater, Z_DEFAULT_COMPRESSION, Z_DEFLATED, 15, 8, Z_HUFFMAN_ONLY);
    std::vector<uint8_t> compressed = zlibHuffmanOnly(original, deflater);
    deflateEnd(&deflater);
    z_stream stream{};
    inflateInit2(&stream, 15);
    for (auto _ : state) {
        std::vector<uint8_t> out(original.size());
        inflateReset(&stream);
        stream.next_in = compressed.data();
        stream.avail_in = static_cast<uInt>(compressed.size());
        stream.next_out = out.data();
        stream.avail_out = static_cast<uInt>(out.size());
        if (inflate(&stream, Z_FINISH) != Z_STREAM_END)
            state.SkipWithError("inflate failed");
        benchmark::DoNotOptimize(out.data());
    }
    inflateEnd(&stream);
    state.SetLabel(inputName(static_cast<int>(state.range(0))));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * original.size()));
}
BENCHMARK(BM_ZlibInflate)->Arg(0)->Arg(1);
#endif

#ifdef QVN_BENCH_OPENSSL
void BM_OpenSslBase64Encode(benchmark::State& state) {
    const DataChunk& original = curveData();
    for (auto _ : state) {
        std::string text((original.size() + 2) / 3 * 4 + 1, '\0');
        EVP_EncodeBlock(reinterpret_cast<unsigned char*>(text.data()), original.data(),
                        static_cast<int>(original.size()));
        benchmark::DoNotOptimize(text.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * original.size()));
}
BENCHMARK(BM_OpenSslBase64Encode);

void BM_OpenSslBase64Decode(benchmark::State& state) {
    const DataChunk& original = curveData();
    const std::string text = DataChunk::base64Encode(original);
    for (auto _ : state) {
        std::vector<uint8_t> out(text.size() / 4 * 3);
        EVP_DecodeBlock(out.data(), reinterpret_cast<const unsigned char*>(text.data()),
                        static_cast<int>(text.size()));
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * original.size()));
}
BENCHMARK(BM_OpenSslBase64Decode);
#endif

} // namespace

BENCHMARK_MAIN();
