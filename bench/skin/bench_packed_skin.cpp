// The three packed bitmaps of one artwork step (caption buttons, frame, add
// button) unpacked into DIB rows: the work a dialog's set-up adds at a
// display scale above 100 %, besides copying the rows into its DIB sections.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "skin/packed_bitmap.h"

namespace {

std::vector<std::uint8_t> ReadResource(const std::string& name) {
    std::ifstream in(std::string(VELMORA_RES_DIR) + "/" + name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void UnpackStep(benchmark::State& state) {
    const std::string step = std::to_string(state.range(0));
    const std::vector<std::uint8_t> packed[] = {ReadResource("CaptionButtons" + step + ".vskr"),
                                                ReadResource("Frame" + step + ".vskr"),
                                                ReadResource("AddButton" + step + ".vskr")};
    std::size_t pixelBytes = 0;
    for (auto _ : state) {
        pixelBytes = 0;
        for (const std::vector<std::uint8_t>& bytes : packed) {
            const auto unpacked = velmora::skin::UnpackSkinBitmap(bytes);
            if (!unpacked) {
                state.SkipWithError(("step " + step + ": a bitmap does not unpack").c_str());
                return;
            }
            pixelBytes += unpacked->dibBits.size();
            benchmark::DoNotOptimize(unpacked->dibBits.data());
        }
    }
    state.counters["packed_bytes"] = double(packed[0].size() + packed[1].size() + packed[2].size());
    state.counters["dib_bytes"] = double(pixelBytes);
}

BENCHMARK(UnpackStep)->Arg(125)->Arg(150)->Arg(175)->Arg(200)->Arg(250)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
