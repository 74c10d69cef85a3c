// Loads the DLL named on its command line the way a program that does not
// restrict its DLL search would (LoadLibraryW by bare name), to show that
// a DLL planted beside a program is found there at all.
#include <windows.h>

int wmain(int argc, wchar_t** argv) { return argc == 2 && ::LoadLibraryW(argv[1]) != nullptr ? 0 : 1; }
