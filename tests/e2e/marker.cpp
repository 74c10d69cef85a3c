// A program that leaves a mark when it runs: it writes its own path into the
// file named by its first argument (or into its own path plus ".ran").
#include <windows.h>

#include <cstdio>
#include <string>

int main(int argc, char** argv) {
    char self[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, self, MAX_PATH);
    const std::string out = argc > 1 ? argv[1] : std::string(self) + ".ran";
    std::FILE* file = std::fopen(out.c_str(), "w");
    if (file == nullptr) return 1;
    std::fprintf(file, "ran %s\n", self);
    return std::fclose(file) == 0 ? 0 : 1;
}
