// %NAME% expansion: known, unknown, unpaired and too long.
#include "icons/path_variables.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <string>

namespace velmora {
namespace {

struct Buffer {
    char text[kPathBufferSize + 8];
    explicit Buffer(const std::string& s) {
        std::memset(text, 'Z', sizeof text);  // guard bytes past the 260
        std::memcpy(text, s.c_str(), s.size() + 1);
    }
    bool GuardIntact() const {
        for (std::size_t i = kPathBufferSize; i < sizeof text; ++i)
            if (text[i] != 'Z') return false;
        return true;
    }
};

const std::map<std::string, std::string> kVariables = {
    {"SystemRoot", "C:\\windows"},
    {"EMPTYISH", "x"},
    {"LONG", std::string(200, 'L')},
    {"\xB2\xE2", "\xCA\xD4"},  // GBK name and value
};

bool Lookup(const std::string& name, std::string& value) {
    const auto it = kVariables.find(name);
    if (it == kVariables.end()) return false;
    value = it->second;
    return true;
}

TEST(ExpandPathVariables, ExpandsAndDrops) {
    const struct {
        const char* in;
        int result;
        const char* out;
    } cases[] = {
        {"%SystemRoot%\\notepad.exe", 0, "C:\\windows\\notepad.exe"},
        {"%SystemRoot%\\%EMPTYISH%.exe", 0, "C:\\windows\\x.exe"},
        {"C:\\%NOSUCH%\\a.exe", 0, "C:\\\\a.exe"},               // unknown names disappear
        {"a%%b.exe", 0, "ab.exe"},                               // empty name is never set
        {"%NOSUCH%", 0, "%NOSUCH%"},                             // empty result leaves the path
        {"C:\\100%.exe", -1, "C:\\100%.exe"},                    // single "%"
        {"%SystemRoot%\\50%.exe", -1, "%SystemRoot%\\50%.exe"},  // third "%" unpaired
        {"C:\\plain.exe", -1, "C:\\plain.exe"},
        {"%\xB2\xE2%\\a", 0, "\xCA\xD4\\a"},
    };
    for (const auto& c : cases) {
        Buffer b(c.in);
        EXPECT_EQ(ExpandPathVariables(b.text, Lookup), c.result) << c.in;
        EXPECT_STREQ(b.text, c.out) << c.in;
    }
}

TEST(ExpandPathVariables, RefusesWhatDoesNotFit) {
    // 200 + 59 = 259 bytes: fits with its terminating zero.
    Buffer fits("%LONG%" + std::string(59, 'a'));
    EXPECT_EQ(ExpandPathVariables(fits.text, Lookup), 0);
    EXPECT_EQ(std::strlen(fits.text), 259u);
    // One byte more would need 261 bytes: refused, path untouched.
    const std::string longer = "%LONG%" + std::string(60, 'a');
    Buffer refused(longer);
    EXPECT_EQ(ExpandPathVariables(refused.text, Lookup), -1);
    EXPECT_EQ(refused.text, longer);
    EXPECT_TRUE(refused.GuardIntact());
    Buffer twice("%LONG%%LONG%");
    EXPECT_EQ(ExpandPathVariables(twice.text, Lookup), -1);
    EXPECT_STREQ(twice.text, "%LONG%%LONG%");
    EXPECT_TRUE(twice.GuardIntact());
    // A path not terminated within its buffer is refused.
    char unterminated[kPathBufferSize];
    std::memset(unterminated, '%', sizeof unterminated);
    EXPECT_EQ(ExpandPathVariables(unterminated, Lookup), -1);
    EXPECT_EQ(ExpandPathVariables(nullptr, Lookup), -1);
}

TEST(ExpandPathVariables, ProcessEnvironment) {
    ::setenv("VELMORA_ICON_TEST_DIR", "/opt/velmora", 1);
    ::unsetenv("VELMORA_ICON_TEST_UNSET");
    Buffer b("%VELMORA_ICON_TEST_DIR%/%VELMORA_ICON_TEST_UNSET%a.exe");
    EXPECT_EQ(ExpandPathVariables(b.text), 0);
    EXPECT_STREQ(b.text, "/opt/velmora/a.exe");
    ::setenv("VELMORA_ICON_TEST_DIR", std::string(300, 'v').c_str(), 1);
    Buffer tooLong("%VELMORA_ICON_TEST_DIR%");
    EXPECT_EQ(ExpandPathVariables(tooLong.text), -1);  // does not fit: refused
    EXPECT_STREQ(tooLong.text, "%VELMORA_ICON_TEST_DIR%");
}

}  // namespace
}  // namespace velmora
