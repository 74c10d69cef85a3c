// Test entry point shared by every test program. On Windows it first checks
// that the ANSI code page is 936: the GBK expectations of the tests mean
// nothing under another code page.
#include <gtest/gtest.h>

#include <cstdio>

#if defined(_WIN32)
#include <windows.h>
#endif

int main(int argc, char** argv) {
#if defined(_WIN32)
    const UINT acp = GetACP();
    if (acp != 936) {
        std::fprintf(stderr, "ANSI code page is %u, expected 936 (run with LC_ALL=zh_CN.UTF-8)\n", acp);
        return 2;
    }
#endif
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
