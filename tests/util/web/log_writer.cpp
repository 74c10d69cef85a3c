// Helper process for the logging tests: appends COUNT numbered lines to the
// log file NAME, tagged TAG.
//   log_writer NAME TAG COUNT
#include <cstdio>
#include <cstdlib>
#include <string>

#include "velmora/logging.h"

int main(int argc, char** argv) {
    if (argc != 4) return 2;
    const int count = std::atoi(argv[3]);
    // Long lines make an interleaved write easy to see.
    const std::string padding(150, '.');
    for (int i = 0; i < count; ++i) {
        char message[256];
        std::snprintf(message, sizeof message, "writer %s line %d %s", argv[2], i, padding.c_str());
        LogMsg(message, argv[1]);
    }
    return 0;
}
