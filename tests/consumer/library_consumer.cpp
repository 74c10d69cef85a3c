// An outside program that uses the library through its public headers and
// its shared library: velmora.dll's import library on Windows, libvelmora.so
// on Linux. It calls functions of every exported family, passes strings both
// ways, releases the Base64 encoder's buffer the documented way and catches
// the error a link decoder raises for a malformed payload.
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "tests/consumer/consumer_check.h"
#include "velmora/velmora.h"

#if defined(_WIN32)
#include <windows.h>
#endif

namespace {

using consumer::g_failures;

#if defined(_WIN32)
const char* const kSep = "\\";
#else
const char* const kSep = "/";
#endif

void Base64Family() {
    char* encoded = nullptr;
    CHECK(base64_encode(reinterpret_cast<const unsigned char*>("abc"), 3, &encoded) == 4);
    CHECK(encoded != nullptr && std::strcmp(encoded, "YWJj") == 0);
    delete[] encoded;  // the encoder's buffer comes from new[]
    unsigned char decoded[8] = {0};
    CHECK(base64_decode("TWE=", decoded) == 2 && decoded[0] == 'M' && decoded[1] == 'a');
    CHECK(base64_decode("TQ=j", decoded) == -1);
}

void TransformFamily() {
    CHECK(Transform2Int("  -42x") == -42);
    CHECK(Transform2ULL("18446744073709551615") == 18446744073709551615ull);
    CHECK(Transform2Str(7) == "7");
    CHECK(Transform2Str(0.125f) == "0.13");
}

void HumanizeFamily() {
    CHECK(ULLSizeToStr(1536) == "1.50KB");
    CHECK(UINTSpeedToStr(1536) == "2KB/s");
    CHECK(DWTimeToStr(61000) == "00:01:01");
}

void UrlFamily() {
    CHECK(UrlEncode("a b&c") == "a+b%26c");
    CHECK(UrlDecode("%E4%B8%AD") == "\xD6\xD0");
    CHECK(URLDecode_ShareAz("a+b%41") == "a bA");
    CString text("\xE4\xB8\xAD");
    UTF8ToGB(text);  // changed in place, across the module boundary
    CHECK(text == "\xD6\xD0");
    CHECK(GBKToUTF8(text) == "\xE4\xB8\xAD");
    CHECK(UrlEncode_GBKToUTF8(text) == "%E4%B8%AD");
}

void LinkFamily() {
    CString out;
    CHECK(ThunderURLDecode("thunder://QUFodHRwOi8vaC9hLnppcFpa", out) == 1);
    CHECK(out == "http://h/a.zip");
    CHECK(PellicorUrlFilter("HTTP://h/A.EXE", ".exe|.zip", out) == 1);
    CHECK(out == "HTTP://h/A.EXE");

    // A malformed payload raises the string layer's error inside the
    // library; it must reach this program and be caught here.
    bool caught = false;
    try {
        ThunderURLDecode("thunder://QUFodHRwOi8vaC9hLnppcFpaQ", out);
    } catch (const CStringError& error) {
        caught = error.GetHResult() == kStringErrorInvalidArg;
    }
    CHECK(caught);
    CHECK(out == "HTTP://h/A.EXE");
}

void LoggingFamily() {
    const CString dir = GetCurrWorkingDir();
    CHECK(!dir.IsEmpty());
    CHECK(GetSvrCaption().GetLength() == 32);
    CHECK(GetSvrCaption() != GetUICaption());

    const CString logPath = dir + "log" + kSep + "consumer.log";
    std::remove(logPath);
    LogMsg("from the consumer", "consumer.log");
    std::ifstream log(logPath.GetString(), std::ios::binary);
    std::stringstream content;
    content << log.rdbuf();
    const std::string line = content.str();
    CHECK(line.size() > 24 && line.find("\tfrom the consumer\r\n") == line.size() - 20);

    std::filesystem::remove_all((dir + "consumer_dirs").GetString());
    const CString nested = dir + "consumer_dirs" + kSep + "a" + kSep;
    CHECK(CreateMultipleDirectory(nested) != 0);
    CHECK(std::filesystem::is_directory(nested.GetString()));
    CHECK(CreateMultipleDirectory(nested) == 0);  // exists now
}

void IconFamily() {
#if defined(_WIN32)
    // The system's application icon, written as a one-image .ico file.
    HICON icon = LoadIconA(nullptr, IDI_APPLICATION);
    ICONINFO info{};
    CHECK(icon != nullptr && GetIconInfo(icon, &info));
    BITMAP bm{};
    GetObjectA(info.hbmColor != nullptr ? info.hbmColor : info.hbmMask, sizeof bm, &bm);
    const LONG width = bm.bmWidth;
    const LONG height = info.hbmColor != nullptr ? bm.bmHeight : bm.bmHeight / 2;
    DeleteObject(info.hbmMask);
    if (info.hbmColor != nullptr) DeleteObject(info.hbmColor);

    const CString path = GetCurrWorkingDir() + "consumer.ico";
    std::remove(path);
    AfxSaveHICON2File(icon, path);
    const auto expected =
        static_cast<std::uintmax_t>(22 + 40 + width * height * 4 + height * ((width + 31) / 32) * 4);
    CHECK(std::filesystem::exists(path.GetString()) &&
          std::filesystem::file_size(path.GetString()) == expected);
    AfxSaveHICON2File(nullptr, path);  // a null icon leaves the file alone
    CHECK(std::filesystem::file_size(path.GetString()) == expected);
#endif
}

#if defined(_WIN32)
// A crash ends the program with a message instead of starting a debugger
// that waits for ever.
LONG WINAPI ReportCrash(EXCEPTION_POINTERS* info) {
    std::fprintf(stderr, "crash: exception %08lx\n", info->ExceptionRecord->ExceptionCode);
    std::fflush(stderr);
    ExitProcess(3);
}
#endif

}  // namespace

int main() {
#if defined(_WIN32)
    SetUnhandledExceptionFilter(ReportCrash);
#endif
    Base64Family();
    TransformFamily();
    HumanizeFamily();
    UrlFamily();
    LinkFamily();
    LoggingFamily();
    IconFamily();
    if (g_failures == 0) std::printf("library consumer: all checks passed\n");
    return g_failures == 0 ? 0 : 1;
}
