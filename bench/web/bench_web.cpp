// Code-page conversion against raw iconv on the same text, and URL encoding
// and decoding throughput. After the usual table it prints, for each text,
// the library's speed as a multiple of raw iconv's in the same run.
#include <benchmark/benchmark.h>
#include <iconv.h>

#include <cstdio>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "velmora/url.h"

namespace {

constexpr std::size_t kTextBytes = 16u << 20;

// Narrow literals are GBK in this build.
const char kChineseParagraph[] =
    "把程序拖到窗口上，输入一个简短的名字，按下添加命令，以后在运行框里输入这个名字就能启动程序。"
    "日志文件写在程序所在目录的日志子目录里，每行带有日期、时间和毫秒。\r\n";

const char* const kAsciiLines[] = {
    "http://downloads.example.com/releases/2026/tool-setup-1.4.2.exe?mirror=3&lang=zh\r\n",
    "C:\\Program Files\\Example\\bin\\helper.dll\r\n",
    "ftp://mirror.example.org/pub/archive/data-2026-12-08.tar.gz\r\n",
    "/home/user/projects/velmora/build/windows/app/Velmora.exe\r\n",
};

std::string Repeat(const std::vector<std::string>& pieces) {
    std::string text;
    text.reserve(kTextBytes + 256);
    for (std::size_t i = 0; text.size() < kTextBytes; ++i) text += pieces[i % pieces.size()];
    return text;
}

std::string RawIconv(const char* to, const char* from, const std::string& in) {
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) throw std::runtime_error("iconv_open");
    std::string out(in.size() * 2 + 16, '\0');
    char* src = const_cast<char*>(in.data());
    std::size_t srcLeft = in.size();
    char* dst = out.data();
    std::size_t dstLeft = out.size();
    iconv(cd, &src, &srcLeft, &dst, &dstLeft);
    iconv_close(cd);
    out.resize(out.size() - dstLeft);
    return out;
}

struct Texts {
    std::string chineseGbk;
    std::string chineseUtf8;
    std::string asciiGbk;  // mostly ASCII: URLs and paths, one Chinese line in eight
    std::string asciiUtf8;
    std::string urlEncoded;
};

const Texts& GetTexts() {
    static const Texts texts = [] {
        Texts t;
        t.chineseGbk = Repeat({kChineseParagraph});
        t.chineseUtf8 = RawIconv("UTF-8", "GBK", t.chineseGbk);
        std::vector<std::string> lines(kAsciiLines, kAsciiLines + 4);
        lines.insert(lines.end(), kAsciiLines, kAsciiLines + 3);
        lines.push_back("C:\\用户\\文档\\下载\\setup.exe\r\n");
        t.asciiGbk = Repeat(lines);
        t.asciiUtf8 = RawIconv("UTF-8", "GBK", t.asciiGbk);
        t.urlEncoded =
            UrlEncode_GBKToUTF8(CString(t.asciiGbk.data(), static_cast<int>(t.asciiGbk.size()))).GetString();
        return t;
    }();
    return texts;
}

CString ToCString(const std::string& s) { return CString(s.data(), static_cast<int>(s.size())); }

void RawIconvRun(benchmark::State& state, const char* to, const char* from, const std::string& in) {
    iconv_t cd = iconv_open(to, from);
    std::vector<char> out(in.size() * 2 + 16);
    for (auto _ : state) {
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
        char* src = const_cast<char*>(in.data());
        std::size_t srcLeft = in.size();
        char* dst = out.data();
        std::size_t dstLeft = out.size();
        iconv(cd, &src, &srcLeft, &dst, &dstLeft);
        benchmark::DoNotOptimize(dst);
    }
    iconv_close(cd);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * in.size()));
}

void BM_GBKToUTF8_Chinese(benchmark::State& state) {
    const CString in = ToCString(GetTexts().chineseGbk);
    for (auto _ : state) benchmark::DoNotOptimize(GBKToUTF8(in));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * in.GetLength()));
}
void BM_RawIconv_GBKToUTF8_Chinese(benchmark::State& state) {
    RawIconvRun(state, "UTF-8", "GBK", GetTexts().chineseGbk);
}
void BM_UTF8ToGB_Chinese(benchmark::State& state) {
    const CString in = ToCString(GetTexts().chineseUtf8);
    for (auto _ : state) {
        CString text = in;
        UTF8ToGB(text);
        benchmark::DoNotOptimize(text);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * in.GetLength()));
}
void BM_RawIconv_UTF8ToGB_Chinese(benchmark::State& state) {
    RawIconvRun(state, "GBK", "UTF-8", GetTexts().chineseUtf8);
}
void BM_GBKToUTF8_MostlyAscii(benchmark::State& state) {
    const CString in = ToCString(GetTexts().asciiGbk);
    for (auto _ : state) benchmark::DoNotOptimize(GBKToUTF8(in));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * in.GetLength()));
}
void BM_RawIconv_GBKToUTF8_MostlyAscii(benchmark::State& state) {
    RawIconvRun(state, "UTF-8", "GBK", GetTexts().asciiGbk);
}
void BM_UTF8ToGB_MostlyAscii(benchmark::State& state) {
    const CString in = ToCString(GetTexts().asciiUtf8);
    for (auto _ : state) {
        CString text = in;
        UTF8ToGB(text);
        benchmark::DoNotOptimize(text);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * in.GetLength()));
}
void BM_RawIconv_UTF8ToGB_MostlyAscii(benchmark::State& state) {
    RawIconvRun(state, "GBK", "UTF-8", GetTexts().asciiUtf8);
}
void BM_UrlEncode(benchmark::State& state) {
    const CString in = ToCString(GetTexts().asciiGbk);
    for (auto _ : state) benchmark::DoNotOptimize(UrlEncode(in));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * in.GetLength()));
}
void BM_UrlDecode(benchmark::State& state) {
    const CString in = ToCString(GetTexts().urlEncoded);
    for (auto _ : state) benchmark::DoNotOptimize(UrlDecode(in));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * in.GetLength()));
}

BENCHMARK(BM_GBKToUTF8_Chinese)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RawIconv_GBKToUTF8_Chinese)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UTF8ToGB_Chinese)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RawIconv_UTF8ToGB_Chinese)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GBKToUTF8_MostlyAscii)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RawIconv_GBKToUTF8_MostlyAscii)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UTF8ToGB_MostlyAscii)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RawIconv_UTF8ToGB_MostlyAscii)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UrlEncode)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UrlDecode)->Unit(benchmark::kMillisecond);

// Keeps each run's processor time per iteration (steadier than wall time on
// a shared machine) so the ratios can be printed after the table.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) m_seconds[run.benchmark_name()] = run.GetAdjustedCPUTime();
        ConsoleReporter::ReportRuns(runs);
    }
    void PrintRatios() const {
        std::printf("\nSpeed as a multiple of raw iconv on the same text (higher is faster):\n");
        for (const char* name :
             {"GBKToUTF8_Chinese", "UTF8ToGB_Chinese", "GBKToUTF8_MostlyAscii", "UTF8ToGB_MostlyAscii"}) {
            const auto ours = m_seconds.find(std::string("BM_") + name);
            const auto raw = m_seconds.find(std::string("BM_RawIconv_") + name);
            if (ours == m_seconds.end() || raw == m_seconds.end() || ours->second <= 0) continue;
            std::printf("  %-24s %.2fx\n", name, raw->second / ours->second);
        }
    }

private:
    std::map<std::string, double> m_seconds;
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    GetTexts();
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintRatios();
    benchmark::Shutdown();
    return 0;
}
