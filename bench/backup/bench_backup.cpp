// The .reg backup of 2 000 run commands, each with the values an installer
// leaves (a target, Path, UseUrl, SupportedProtocols and a 300-byte binary):
// writing the file and reading it back.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "app/registry/RegFile.h"

namespace {

constexpr int kEntries = 2000;

std::vector<unsigned char> Utf16z(const CStringW& text) {
    std::vector<unsigned char> bytes;
    for (const char16_t unit : text) {
        bytes.push_back(static_cast<unsigned char>(unit & 0xFF));
        bytes.push_back(static_cast<unsigned char>(unit >> 8));
    }
    bytes.insert(bytes.end(), {0, 0});
    return bytes;
}

std::vector<RegFileKey> Entries() {
    std::vector<RegFileKey> keys;
    for (int i = 0; i < kEntries; ++i) {
        const CStringW n = velmora::DecimalText(i);
        RegFileKey key;
        key.path = u"HKEY_CURRENT_USER\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\tool" + n + u".exe";
        key.values.push_back({u"", 2, Utf16z(u"%ProgramFiles%\\Tool " + n + u"\\tool.exe")});
        key.values.push_back({u"Path", 1, Utf16z(u"C:\\Program Files\\Tool " + n + u";C:\\Shared")});
        key.values.push_back({u"UseUrl", 4, {1, 0, 0, 0}});
        key.values.push_back({u"SupportedProtocols", 7, Utf16z(u"http")});
        key.values.push_back({u"Vendor", 3, std::vector<unsigned char>(300, static_cast<unsigned char>(i))});
        keys.push_back(std::move(key));
    }
    return keys;
}

void BM_WriteRegFile(benchmark::State& state) {
    const std::vector<RegFileKey> keys = Entries();
    std::size_t bytes = 0;
    for (auto _ : state) {
        const std::vector<unsigned char> file = WriteRegFile(keys);
        bytes = file.size();
        benchmark::DoNotOptimize(file.data());
    }
    state.counters["file_KiB"] = static_cast<double>(bytes) / 1024.0;
}
BENCHMARK(BM_WriteRegFile)->Unit(benchmark::kMillisecond);

void BM_ParseRegFile(benchmark::State& state) {
    const std::vector<unsigned char> file = WriteRegFile(Entries());
    for (auto _ : state) {
        const RegFileParse parse = ParseRegFile(file.data(), file.size());
        if (!parse.ok() || parse.keys.size() != static_cast<std::size_t>(kEntries)) state.SkipWithError("not read");
        benchmark::DoNotOptimize(parse.keys.data());
    }
}
BENCHMARK(BM_ParseRegFile)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
