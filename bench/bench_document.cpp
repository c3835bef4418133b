// How fast the skin document parses, finds and writes large skins: a 20 MB
// text whose bulk is fifteen pictures of 1 MB of hexadecimal each, plus a
// long tail of ordinary key lines. The 5 and 10 MB runs of the same shape
// show that the time grows linearly with the size. `wc -l` on the same
// text is timed alongside as a yardstick for "reading the bytes once".
// All figures are wall-clock time, so that the child process of `wc` counts.

#include "document/DocumentText.h"
#include "document/IniStore.h"
#include "document/MemoryStream.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <unistd.h>

using namespace fabulor;

namespace {

constexpr int Pictures = 15;

std::string pictureSection(int i)
{
    return "Pic" + std::to_string(i);
}

// A document of about `megabytes` MB: three quarters in the pictures, the rest
// in sections of short key lines like the ones the editor writes.
std::string makeDocumentText(int megabytes)
{
    const std::size_t total = static_cast<std::size_t>(megabytes) << 20;
    const std::size_t pictureBytes = total * 3 / 4 / Pictures / 2;
    IniStore store;
    std::uint32_t seed = 12345;
    for (int i = 0; i < Pictures; ++i) {
        std::vector<std::uint8_t> bytes(pictureBytes);
        for (auto& b : bytes) {
            seed = seed * 1664525u + 1013904223u;
            b = static_cast<std::uint8_t>(seed >> 24);
        }
        MemoryStream stream(std::move(bytes));
        store.writeInteger(pictureSection(i), "T", i);
        store.writeBinary(pictureSection(i), "MP1", stream);
    }
    std::size_t size = DocumentText(store).size();
    for (int s = 0; size < total; ++s) {
        const std::string section = "Filler" + std::to_string(s);
        size += section.size() + 2 + 2 + 2; // header and the empty line after it
        for (int k = 0; k < 20 && size < total; ++k) {
            const std::string key = "Key" + std::to_string(k);
            const std::string value = std::to_string(s * 20 + k);
            store.writeString(section, key, value);
            size += key.size() + 1 + value.size() + 2;
        }
    }
    return DocumentText(store);
}

// Texts and temporary files are made once per size and shared by all runs.
struct Fixture {
    std::string text;
    std::string path;
};

class Fixtures {
public:
    ~Fixtures()
    {
        for (auto& [mb, f] : m_byMb)
            std::remove(f.path.c_str());
    }
    const Fixture& get(int megabytes)
    {
        auto it = m_byMb.find(megabytes);
        if (it != m_byMb.end()) return it->second;
        Fixture f;
        f.text = makeDocumentText(megabytes);
        std::string pattern = (std::filesystem::temp_directory_path() / "bench_document_XXXXXX").string();
        const int fd = ::mkstemp(pattern.data());
        if (fd >= 0) {
            ::close(fd);
            std::ofstream(pattern, std::ios::binary)
                .write(f.text.data(), static_cast<std::streamsize>(f.text.size()));
            f.path = pattern;
        }
        return m_byMb.emplace(megabytes, std::move(f)).first->second;
    }

private:
    std::map<int, Fixture> m_byMb;
};

Fixtures fixtures;

MemoryStream streamOf(const std::string& text)
{
    return MemoryStream(std::vector<std::uint8_t>(text.begin(), text.end()));
}

IniStore parsed(const Fixture& f)
{
    MemoryStream stream = streamOf(f.text);
    IniStore store;
    LoadDocumentBytes(store, stream);
    return store;
}

void reportBytes(benchmark::State& state, std::size_t bytes)
{
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(bytes));
    state.counters["MB"] = static_cast<double>(bytes) / (1 << 20);
}

// Bytes to lines to document, as loading a skin file does.
void BM_Parse(benchmark::State& state)
{
    const Fixture& f = fixtures.get(static_cast<int>(state.range(0)));
    MemoryStream stream = streamOf(f.text);
    for (auto _ : state) {
        IniStore store;
        stream.rewind();
        LoadDocumentBytes(store, stream);
        benchmark::DoNotOptimize(store);
    }
    reportBytes(state, f.text.size());
}

// Document to CR LF text, as saving does.
void BM_Write(benchmark::State& state)
{
    const Fixture& f = fixtures.get(static_cast<int>(state.range(0)));
    const IniStore store = parsed(f);
    for (auto _ : state) {
        MemoryStream out;
        SaveDocumentBytes(store, out);
        benchmark::DoNotOptimize(out.bytes().data());
    }
    reportBytes(state, f.text.size());
}

// Decoding every picture and reading every filler key once.
void BM_Lookup(benchmark::State& state)
{
    const Fixture& f = fixtures.get(static_cast<int>(state.range(0)));
    const IniStore store = parsed(f);
    for (auto _ : state) {
        std::size_t total = 0;
        for (int i = 0; i < Pictures; ++i) {
            MemoryStream picture;
            total += store.readBinary(pictureSection(i), "mp1", picture);
        }
        benchmark::DoNotOptimize(total);
    }
    reportBytes(state, f.text.size());
}

// Load, find the pictures, save: the whole road of a skin file's text.
void BM_RoundTrip(benchmark::State& state)
{
    const Fixture& f = fixtures.get(static_cast<int>(state.range(0)));
    MemoryStream stream = streamOf(f.text);
    for (auto _ : state) {
        IniStore store;
        stream.rewind();
        LoadDocumentBytes(store, stream);
        for (int i = 0; i < Pictures; ++i) {
            MemoryStream picture;
            store.readBinary(pictureSection(i), "MP1", picture);
            store.writeBinary(pictureSection(i), "MP1", picture);
        }
        MemoryStream out;
        SaveDocumentBytes(store, out);
        benchmark::DoNotOptimize(out.bytes().data());
    }
    reportBytes(state, f.text.size());
}

// The yardstick: `wc -l` over the same text on disk, process start included.
void BM_WcL(benchmark::State& state)
{
    const Fixture& f = fixtures.get(static_cast<int>(state.range(0)));
    if (f.path.empty()) {
        state.SkipWithError("no temporary file");
        return;
    }
    const std::string command = "wc -l " + f.path + " > /dev/null";
    for (auto _ : state)
        if (std::system(command.c_str()) != 0) {
            state.SkipWithError("wc -l failed");
            break;
        }
    reportBytes(state, f.text.size());
}

} // namespace

BENCHMARK(BM_Parse)->Arg(5)->Arg(10)->Arg(20)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Write)->Arg(5)->Arg(10)->Arg(20)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Lookup)->Arg(20)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_RoundTrip)->Arg(20)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_WcL)->Arg(20)->Unit(benchmark::kMillisecond)->UseRealTime();

BENCHMARK_MAIN();
