// Icon groups of every file in Wine's i386 directory: counting them and
// taking out the best 48 x 48 image's bytes with the portable walk, against
// `wrestool -l --type=14` and `wrestool -x --type=14` on the same files.
#include <benchmark/benchmark.h>
#include <dirent.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "icons/pe_resources.h"

extern char** environ;

namespace {

// Wine's 32-bit images, prepared by scripts/fetch-wine-images.sh; bench.sh
// names the folder.
std::string Wine32Directory() {
    const char* directory = std::getenv("VELMORA_WINE32_DIR");
    return directory != nullptr ? directory : "";
}

std::vector<std::string> Files() {
    std::vector<std::string> files;
    const std::string directory = Wine32Directory();
    if (DIR* dir = opendir(directory.c_str())) {
        while (const dirent* entry = readdir(dir)) {
            const std::string path = directory + "/" + entry->d_name;
            struct stat info {};
            if (stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode)) files.push_back(path);
        }
        closedir(dir);
    }
    return files;
}

struct FileResult {
    std::uint32_t groups = 0;
    std::size_t imageBytes = 0;
};

// What the tool does per file, as a user of the walk would: map the file,
// count its icon groups and copy out the image of the first group that best
// fits 48 x 48.
FileResult CountAndExtract(const std::string& path, std::vector<std::uint8_t>& out) {
    FileResult result;
    const int fd = open(path.c_str(), O_RDONLY);
    if (fd < 0) return result;
    struct stat info {};
    if (fstat(fd, &info) == 0 && info.st_size > 0) {
        void* view = mmap(nullptr, static_cast<std::size_t>(info.st_size), PROT_READ, MAP_PRIVATE, fd, 0);
        if (view != MAP_FAILED) {
            const velmora::Bytes image(static_cast<const std::uint8_t*>(view),
                                       static_cast<std::size_t>(info.st_size));
            if (const auto directory = velmora::FindResourceDirectory(image)) {
                result.groups = velmora::CountResourceEntries(*directory, velmora::kResourceTypeGroupIcon);
                const velmora::Bytes group =
                    velmora::FindResourceData(*directory, 0, velmora::kResourceTypeGroupIcon);
                const std::uint16_t id = velmora::PickIconImageId(group, 48, 48, 32);
                const velmora::Bytes best = velmora::FindResourceData(
                    *directory, -static_cast<std::int64_t>(id), velmora::kResourceTypeIcon);
                out.assign(best.begin(), best.end());
                result.imageBytes = best.size();
            }
            munmap(view, static_cast<std::size_t>(info.st_size));
        }
    }
    close(fd);
    return result;
}

bool RunQuietly(const std::vector<std::string>& arguments) {
    std::vector<char*> argv;
    for (const std::string& a : arguments) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    const int failed = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (failed != 0) return false;
    int status = 0;
    waitpid(pid, &status, 0);
    return true;
}

void BM_CountAndExtract(benchmark::State& state, const char* name) {
    const std::string path = Wine32Directory() + "/" + name;
    std::vector<std::uint8_t> out;
    for (auto _ : state) benchmark::DoNotOptimize(CountAndExtract(path, out));
}
BENCHMARK_CAPTURE(BM_CountAndExtract, notepad, "notepad.exe");
BENCHMARK_CAPTURE(BM_CountAndExtract, shell32, "shell32.dll");
BENCHMARK_CAPTURE(BM_CountAndExtract, kernel32_no_icons, "kernel32.dll");

double SecondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Both tools over every file, side by side.
void CompareWithWrestool() {
    const std::vector<std::string> files = Files();
    if (files.empty()) {
        std::printf("no files in '%s' (VELMORA_WINE32_DIR)\n", Wine32Directory().c_str());
        return;
    }
    std::vector<std::uint8_t> out;
    std::size_t groups = 0, withGroups = 0, bytes = 0;
    constexpr int kRounds = 10;
    const auto ourStart = std::chrono::steady_clock::now();
    for (int round = 0; round < kRounds; ++round) {
        for (const std::string& file : files) {
            const FileResult r = CountAndExtract(file, out);
            if (round == 0) {
                groups += r.groups;
                withGroups += r.groups > 0;
                bytes += r.imageBytes;
            }
        }
    }
    const double ours = SecondsSince(ourStart) / kRounds / static_cast<double>(files.size());

    const auto theirStart = std::chrono::steady_clock::now();
    for (const std::string& file : files) {
        if (!RunQuietly({"wrestool", "-l", "--type=14", file}) ||
            !RunQuietly({"wrestool", "-x", "--type=14", file})) {
            std::printf("wrestool could not be started\n");
            return;
        }
    }
    const double theirs = SecondsSince(theirStart) / static_cast<double>(files.size());

    std::printf(
        "\nicon groups of %zu files (%zu with icon groups, %zu groups, %zu bytes of 48 x 48 images)\n",
        files.size(), withGroups, groups, bytes);
    std::printf("  %-44s %12.2f us per file\n", "portable walk (count + best 48 x 48 image)", ours * 1e6);
    std::printf("  %-44s %12.2f us per file\n", "wrestool -l --type=14 + -x --type=14", theirs * 1e6);
    std::printf("  ratio: the walk is %.0fx faster than wrestool per file (goal: 10x)\n", theirs / ours);
    // A row of the summary at the end of `make bench`.
    if (const char* path = std::getenv("VELMORA_BENCH_SUMMARY")) {
        if (std::FILE* summary = std::fopen(path, "a")) {
            std::fprintf(summary, "icon groups per file vs wrestool\t%.2f us\t%.2f us\t%.1fx\t>= 10x\t%s\n",
                         ours * 1e6, theirs * 1e6, theirs / ours, theirs / ours >= 10 ? "met" : "NOT met");
            std::fclose(summary);
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    CompareWithWrestool();
    return 0;
}
