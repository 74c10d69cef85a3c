// Throughput of MD5Buffer, base64_encode and base64_decode beside OpenSSL's
// MD5, EVP_EncodeBlock and EVP_DecodeBlock on the same buffers, each Base64
// engine this processor runs on its own, and a memcpy of each Base64
// output. Every benchmark runs several times and the medians are compared:
// after the usual table a summary prints ours against the anchor, with the
// goal. With VELMORA_BENCH_SUMMARY set, the summary rows are also appended
// to that file (tab-separated: measure, ours, anchor, ratio, goal, verdict)
// for the summary at the end of `make bench`.
#define OPENSSL_SUPPRESS_DEPRECATED  // MD5() is the fair one-shot counterpart
#include <benchmark/benchmark.h>
#include <openssl/evp.h>
#include <openssl/md5.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "digest/md5.h"
#include "util/codec/base64_engines.h"
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

// One engine forced, for each engine this processor runs.
void BM_base64_encode_engine(benchmark::State& state, velmora::base64::Engine engine) {
    const auto data = RandomBytes(kMiB);
    for (auto _ : state) {
        char* text = nullptr;
        benchmark::DoNotOptimize(velmora::base64::Encode(engine, data.data(), kMiB, &text));
        delete[] text;
    }
    state.SetBytesProcessed(state.iterations() * kMiB);
}

void BM_base64_decode_engine(benchmark::State& state, velmora::base64::Engine engine) {
    const std::string text = EncodedMiB();
    std::vector<unsigned char> out(text.size());
    for (auto _ : state) {
        benchmark::DoNotOptimize(velmora::base64::Decode(engine, text.c_str(), out.data()));
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * kMiB);
}

// Copying what a codec writes, counted like the codec (per 1 MiB of
// payload), so that the ratio of throughputs is the ratio of times: the
// encoder's text (4/3 MiB) and the decoder's bytes (1 MiB).
void BM_memcpy(benchmark::State& state) {
    const auto size = static_cast<size_t>(state.range(0));
    const auto from = RandomBytes(size);
    std::vector<unsigned char> to(size);
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), size);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * kMiB);
}

constexpr int kEncodedMiB = (kMiB + 2) / 3 * 4;

BENCHMARK(BM_MD5Buffer)->Arg(64)->Arg(1024)->Arg(kMiB);
BENCHMARK(BM_OpenSSL_MD5)->Arg(64)->Arg(1024)->Arg(kMiB);
BENCHMARK(BM_base64_encode);
BENCHMARK(BM_OpenSSL_EncodeBlock);
BENCHMARK(BM_base64_decode);
BENCHMARK(BM_OpenSSL_DecodeBlock);
BENCHMARK(BM_memcpy)->Arg(kEncodedMiB)->Arg(kMiB);

void RegisterEngineBenchmarks() {
    for (const auto engine : velmora::base64::kEngines) {
        if (!velmora::base64::EngineRuns(engine)) continue;
        const std::string name = velmora::base64::EngineName(engine);
        benchmark::RegisterBenchmark(("BM_base64_encode/" + name).c_str(), BM_base64_encode_engine, engine);
        benchmark::RegisterBenchmark(("BM_base64_decode/" + name).c_str(), BM_base64_decode_engine, engine);
    }
}

// Console output as usual, plus the median throughput of every benchmark
// by name.
class RecordingReporter : public benchmark::ConsoleReporter {
public:
    std::map<std::string, double> bytesPerSecond;

    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const auto& run : runs) {
            if (run.run_type != Run::RT_Aggregate || run.aggregate_name != "median") continue;
            const auto it = run.counters.find("bytes_per_second");
            if (it != run.counters.end()) bytesPerSecond[run.run_name.str()] = it->second.value;
        }
    }
};

// One summary row: ours against the anchor, ratio = ours / anchor in
// throughput, and whether it reaches `goal`.
class Summary {
public:
    explicit Summary(const RecordingReporter& r) : m_r(r), m_file(nullptr) {
        if (const char* path = std::getenv("VELMORA_BENCH_SUMMARY")) m_file = std::fopen(path, "a");
        std::printf("\n%-34s %12s %12s %8s %8s  %s\n", "measure (medians, MB/s of payload)", "ours", "anchor",
                    "ratio", "goal", "");
    }
    ~Summary() {
        if (m_file != nullptr) std::fclose(m_file);
    }

    void Row(const std::string& label, const std::string& ours, const std::string& anchor, double goal) {
        const auto a = m_r.bytesPerSecond.find(ours);
        const auto b = m_r.bytesPerSecond.find(anchor);
        if (a == m_r.bytesPerSecond.end() || b == m_r.bytesPerSecond.end() || b->second <= 0) {
            std::printf("%-34s not measured%s\n", label.c_str(), goal > 0 ? ": goal NOT met" : "");
            Append(label, "-", "-", "-", goal, goal > 0 ? "NOT met (not measured)" : "not measured");
            return;
        }
        const double ratio = a->second / b->second;
        const char* verdict = goal <= 0 ? "(for comparison)" : ratio >= goal ? "met" : "NOT met";
        char goalText[32] = "-";
        if (goal > 0) std::snprintf(goalText, sizeof goalText, ">= %.2fx", goal);
        std::printf("%-34s %12.1f %12.1f %7.2fx %8s  %s\n", label.c_str(), a->second / 1e6, b->second / 1e6,
                    ratio, goalText, verdict);
        char ourText[32], anchorText[32], ratioText[32];
        std::snprintf(ourText, sizeof ourText, "%.1f MB/s", a->second / 1e6);
        std::snprintf(anchorText, sizeof anchorText, "%.1f MB/s", b->second / 1e6);
        std::snprintf(ratioText, sizeof ratioText, "%.2fx", ratio);
        Append(label, ourText, anchorText, ratioText, goal, verdict);
    }

private:
    void Append(const std::string& label, const char* ours, const char* anchor, const char* ratio,
                double goal, const char* verdict) {
        if (m_file != nullptr) {
            char goalText[32] = "-";
            if (goal > 0) std::snprintf(goalText, sizeof goalText, ">= %.2fx", goal);
            std::fprintf(m_file, "%s\t%s\t%s\t%s\t%s\t%s\n", label.c_str(), ours, anchor, ratio, goalText,
                         verdict);
        }
    }

    const RecordingReporter& m_r;
    std::FILE* m_file;
};

// Repetitions and medians unless the command line asks otherwise.
std::vector<char*> WithDefaultFlags(int argc, char** argv) {
    static char repetitions[] = "--benchmark_repetitions=5";
    static char aggregates[] = "--benchmark_report_aggregates_only=true";
    static char minTime[] = "--benchmark_min_time=0.2";
    std::vector<char*> args(argv, argv + argc);
    args.insert(args.begin() + 1, {repetitions, aggregates, minTime});
    args.push_back(nullptr);
    return args;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<char*> args = WithDefaultFlags(argc, argv);
    int count = static_cast<int>(args.size()) - 1;
    benchmark::Initialize(&count, args.data());
    RegisterEngineBenchmarks();
    RecordingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);

    const std::string fastest = velmora::base64::EngineName(velmora::base64::FastestEngine());
    Summary summary(reporter);
    summary.Row("MD5 64 B vs OpenSSL", "BM_MD5Buffer/64", "BM_OpenSSL_MD5/64", 1.0);
    summary.Row("MD5 1 KiB vs OpenSSL", "BM_MD5Buffer/1024", "BM_OpenSSL_MD5/1024", 1.0);
    summary.Row("MD5 1 MiB vs OpenSSL", "BM_MD5Buffer/1048576", "BM_OpenSSL_MD5/1048576", 1.0);
    summary.Row("Base64 encode 1 MiB (" + fastest + ") vs OpenSSL", "BM_base64_encode",
                "BM_OpenSSL_EncodeBlock", 4.0);
    summary.Row("Base64 decode 1 MiB (" + fastest + ") vs OpenSSL", "BM_base64_decode",
                "BM_OpenSSL_DecodeBlock", 4.0);
    // Within 2x of copying the output: at least half memcpy's throughput.
    for (const auto engine : velmora::base64::kEngines) {
        if (!velmora::base64::EngineRuns(engine)) continue;
        const std::string name = velmora::base64::EngineName(engine);
        const double goal = engine == velmora::base64::FastestEngine() ? 0.5 : 0.0;
        summary.Row("Base64 encode " + name + " vs OpenSSL", "BM_base64_encode/" + name,
                    "BM_OpenSSL_EncodeBlock", engine == velmora::base64::FastestEngine() ? 4.0 : 0.0);
        summary.Row("Base64 encode " + name + " vs memcpy", "BM_base64_encode/" + name,
                    "BM_memcpy/" + std::to_string(kEncodedMiB), goal);
        summary.Row("Base64 decode " + name + " vs OpenSSL", "BM_base64_decode/" + name,
                    "BM_OpenSSL_DecodeBlock", engine == velmora::base64::FastestEngine() ? 4.0 : 0.0);
        summary.Row("Base64 decode " + name + " vs memcpy", "BM_base64_decode/" + name,
                    "BM_memcpy/" + std::to_string(kMiB), goal);
    }
    benchmark::Shutdown();
    return 0;
}
