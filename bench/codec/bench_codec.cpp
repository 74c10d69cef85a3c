// Throughput of MD5Buffer, base64_encode and base64_decode beside OpenSSL's
// MD5, EVP_EncodeBlock and EVP_DecodeBlock on the same buffers. After the
// usual table a summary prints ours / OpenSSL for each pair.
#define OPENSSL_SUPPRESS_DEPRECATED  // MD5() is the fair one-shot counterpart
#include <openssl/evp.h>
#include <openssl/md5.h>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "digest/md5.h"
#include "velmora/base64.h"

namespace {

constexpr int kMiB = 1 << 20;

std::vector<unsigned char> RandomBytes(size_t n) {
    std::vector<unsigned char> bytes(n);
    std::mt19937 rng(99);
    for (auto& b : bytes) b = static_cast<unsigned char>(rng());
    return bytes;
}

void BM_MD5Buffer(benchmark::State& state) {
    const auto data = RandomBytes(static_cast<size_t>(state.range(0)));
    unsigned char digest[16];
    for (auto _ : state) {
        MD5Buffer(data.data(), static_cast<std::uint32_t>(data.size()), digest);
        benchmark::DoNotOptimize(digest);
    }
    state.SetBytesProcessed(state.iterations() * state.range(0));
}

void BM_OpenSSL_MD5(benchmark::State& state) {
    const auto data = RandomBytes(static_cast<size_t>(state.range(0)));
    unsigned char digest[16];
    for (auto _ : state) {
        MD5(data.data(), data.size(), digest);
        benchmark::DoNotOptimize(digest);
    }
    state.SetBytesProcessed(state.iterations() * state.range(0));
}

void BM_base64_encode(benchmark::State& state) {
    const auto data = RandomBytes(kMiB);
    for (auto _ : state) {
        char* text = nullptr;
        benchmark::DoNotOptimize(base64_encode(data.data(), kMiB, &text));
        delete[] text;
    }
    state.SetBytesProcessed(state.iterations() * kMiB);
}

void BM_OpenSSL_EncodeBlock(benchmark::State& state) {
    const auto data = RandomBytes(kMiB);
    std::vector<unsigned char> text(kMiB / 3 * 4 + 8);
    for (auto _ : state) {
        benchmark::DoNotOptimize(EVP_EncodeBlock(text.data(), data.data(), kMiB));
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * kMiB);
}

// Both decoders read the same text of a 1 MiB payload; throughput counts
// the decoded bytes.
std::string EncodedMiB() {
    const auto data = RandomBytes(kMiB);
    char* text = nullptr;
    base64_encode(data.data(), kMiB, &text);
    std::string result(text);
    delete[] text;
    return result;
}

void BM_base64_decode(benchmark::State& state) {
    const std::string text = EncodedMiB();
    std::vector<unsigned char> out(text.size());
    for (auto _ : state) {
        benchmark::DoNotOptimize(base64_decode(text.c_str(), out.data()));
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * kMiB);
}

void BM_OpenSSL_DecodeBlock(benchmark::State& state) {
    const std::string text = EncodedMiB();
    std::vector<unsigned char> out(text.size());
    for (auto _ : state) {
        benchmark::DoNotOptimize(EVP_DecodeBlock(out.data(), reinterpret_cast<const unsigned char*>(text.data()),
                                                 static_cast<int>(text.size())));
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * kMiB);
}

BENCHMARK(BM_MD5Buffer)->Arg(64)->Arg(1024)->Arg(kMiB);
BENCHMARK(BM_OpenSSL_MD5)->Arg(64)->Arg(1024)->Arg(kMiB);
BENCHMARK(BM_base64_encode);
BENCHMARK(BM_OpenSSL_EncodeBlock);
BENCHMARK(BM_base64_decode);
BENCHMARK(BM_OpenSSL_DecodeBlock);

// Console output as usual, plus the throughput of every run by name.
class RecordingReporter : public benchmark::ConsoleReporter {
public:
    std::map<std::string, double> bytesPerSecond;

    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const auto& run : runs) {
            const auto it = run.counters.find("bytes_per_second");
            if (it != run.counters.end()) bytesPerSecond[run.benchmark_name()] = it->second.value;
        }
    }
};

void PrintRatio(const RecordingReporter& r, const char* label, const std::string& ours,
                const std::string& theirs, double goal) {
    const auto a = r.bytesPerSecond.find(ours);
    const auto b = r.bytesPerSecond.find(theirs);
    if (a == r.bytesPerSecond.end() || b == r.bytesPerSecond.end() || b->second <= 0) return;
    const double ratio = a->second / b->second;
    std::printf("%-22s %9.1f MB/s %9.1f MB/s %7.2fx", label, a->second / 1e6, b->second / 1e6, ratio);
    if (goal > 0) std::printf("   (goal %.1fx: %s)", goal, ratio >= goal ? "met" : "NOT met");
    std::printf("\n");
}

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    RecordingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);

    std::printf("\n%-22s %14s %14s %8s\n", "ours / OpenSSL", "ours", "OpenSSL", "ratio");
    PrintRatio(reporter, "MD5 64 B", "BM_MD5Buffer/64", "BM_OpenSSL_MD5/64", 0.0);
    PrintRatio(reporter, "MD5 1 KiB", "BM_MD5Buffer/1024", "BM_OpenSSL_MD5/1024", 0.0);
    PrintRatio(reporter, "MD5 1 MiB", "BM_MD5Buffer/1048576", "BM_OpenSSL_MD5/1048576", 0.9);
    PrintRatio(reporter, "Base64 encode 1 MiB", "BM_base64_encode", "BM_OpenSSL_EncodeBlock", 1.0);
    PrintRatio(reporter, "Base64 decode 1 MiB", "BM_base64_decode", "BM_OpenSSL_DecodeBlock", 1.0);
    benchmark::Shutdown();
    return 0;
}
