// .reg files of any bytes: reading never fails other than with an error and
// its line (inside the file), and what is read, written again, reads back to
// the same keys and values.
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "app/registry/RegFile.h"

namespace {

// Aborts with the line of the failed check.
void Check(bool condition, int line = __builtin_LINE()) {
    if (condition) return;
    std::fprintf(stderr, "fuzz_reg_file.cpp:%d: check failed\n", line);
    std::abort();
}

int CountLines(const std::uint8_t* data, std::size_t size) {
    int lines = 1;
    for (std::size_t i = 0; i < size; ++i) lines += data[i] == '\n' || data[i] == '\r' ? 1 : 0;
    return lines;
}

// The keys without their line numbers, which a rewritten file changes.
std::vector<RegFileKey> WithoutLines(std::vector<RegFileKey> keys) {
    for (RegFileKey& key : keys) {
        key.line = 0;
        for (RegFileValue& value : key.values) value.line = 0;
    }
    return keys;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const RegFileParse parse = ParseRegFile(data, size);
    if (!parse.ok()) {
        Check(parse.keys.empty());
        Check(parse.errorLine >= 1 && parse.errorLine <= CountLines(data, size));
        return 0;
    }
    Check(parse.errorLine == 0);
    const std::vector<unsigned char> rewritten = WriteRegFile(parse.keys);
    const RegFileParse again = ParseRegFile(rewritten.data(), rewritten.size());
    Check(again.ok());
    Check(WithoutLines(again.keys) == WithoutLines(parse.keys));
    // Written once more, the same bytes.
    Check(WriteRegFile(again.keys) == rewritten);
    return 0;
}
