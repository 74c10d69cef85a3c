// The registry walk of RegWriteString and RegReadString against a fake
// registry that counts every open and close and can fail any step.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

#include "app/CommandText.h"
#include "app/RegistryAccess.h"

namespace {

constexpr RegKey kRoot = 0x80000002;
constexpr long kOk = 0;
constexpr long kFileNotFound = 2;
constexpr long kAccessDenied = 5;
constexpr long kMoreData = 234;

struct StoredValue {
    std::string data;
    std::uint32_t declaredSize;
};

class FakeRegistry final : public IRegistry {
public:
    // Keys by full path below the root ("" is the root), their values by name.
    std::map<std::string, std::map<std::string, StoredValue>> keys{{"", {}}};
    int opens = 0;
    int closes = 0;
    int badCloses = 0;  // the root, unknown or already closed handles
    int calls = 0;      // every call except CloseKey
    int failAtCall = -1;
    long failure = kAccessDenied;
    // Data appended to a value between the size query and the read.
    std::string growBeforeRead;

    long CreateKey(RegKey parent, const char* name, RegKey* pCreated) override {
        if (Fails()) return failure;
        const std::string path = Join(PathOf(parent), name);
        keys[path];
        *pCreated = Open(path);
        return kOk;
    }
    long OpenKeyForRead(RegKey parent, const char* keyPath, RegKey* pOpened) override {
        if (Fails()) return failure;
        const std::string path = Join(PathOf(parent), keyPath);
        if (keys.count(path) == 0) return kFileNotFound;
        *pOpened = Open(path);
        return kOk;
    }
    long SetStringValue(RegKey key, const char* valueName, const char* data, std::uint32_t size) override {
        if (Fails()) return failure;
        keys[PathOf(key)][valueName] = {std::string(data, size), size};
        return kOk;
    }
    long QueryValueSize(RegKey key, const char* valueName, std::uint32_t* pSize) override {
        if (Fails()) return failure;
        StoredValue* value = Find(key, valueName);
        if (value == nullptr) return kFileNotFound;
        *pSize = value->declaredSize;
        value->data += growBeforeRead;
        return kOk;
    }
    long QueryValue(RegKey key, const char* valueName, char* buffer, std::uint32_t* pSize) override {
        if (Fails()) return failure;
        StoredValue* value = Find(key, valueName);
        if (value == nullptr) return kFileNotFound;
        if (value->data.size() > *pSize) {
            *pSize = static_cast<std::uint32_t>(value->data.size());
            return kMoreData;
        }
        value->data.copy(buffer, value->data.size());
        *pSize = static_cast<std::uint32_t>(value->data.size());
        return kOk;
    }
    long CloseKey(RegKey key) override {
        if (open.erase(key) == 0) {
            ++badCloses;
            return 6;
        }
        ++closes;
        return kOk;
    }

    void Put(const std::string& path, const std::string& name, const std::string& data) {
        keys[path][name] = {data, static_cast<std::uint32_t>(data.size())};
    }
    bool Balanced() const { return opens == closes && badCloses == 0 && open.empty(); }

private:
    bool Fails() { return calls++ == failAtCall; }
    static std::string Join(const std::string& parent, const std::string& name) {
        return parent.empty() ? name : parent + "\\" + name;
    }
    std::string PathOf(RegKey key) const {
        if (key == kRoot) return "";
        auto it = open.find(key);
        return it == open.end() ? "<closed>" : it->second;
    }
    RegKey Open(const std::string& path) {
        ++opens;
        const RegKey key = nextKey++;
        open[key] = path;
        return key;
    }
    StoredValue* Find(RegKey key, const char* valueName) {
        auto k = keys.find(PathOf(key));
        if (k == keys.end()) return nullptr;
        auto v = k->second.find(valueName);
        return v == k->second.end() ? nullptr : &v->second;
    }

    std::map<RegKey, std::string> open;
    RegKey nextKey = 0x100;
};

const std::string kAppPaths = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths";

TEST(RegWriteStringTest, CreatesEveryKeyAndStoresTheTextWithItsZero) {
    FakeRegistry reg;
    ASSERT_TRUE(RegWriteString(reg, kRoot, BuildCommandKeyPath("edit2"), "", "C:\\Tools\\ed.exe"));
    const StoredValue& value = reg.keys.at(kAppPaths + "\\edit2.exe").at("");
    EXPECT_EQ(value.data, std::string("C:\\Tools\\ed.exe", 16));
    EXPECT_EQ(value.declaredSize, 16u);
    EXPECT_EQ(reg.opens, 6);
    EXPECT_TRUE(reg.Balanced());
}

TEST(RegWriteStringTest, BackslashInTheNameMakesNestedKeys) {
    for (const char* name : {"tools\\ed", "tools\\\\ed"}) {
        FakeRegistry reg;
        ASSERT_TRUE(RegWriteString(reg, kRoot, BuildCommandKeyPath(name), "", "C:\\Tools\\ed.exe")) << name;
        EXPECT_EQ(reg.keys.count(kAppPaths + "\\tools"), 1u);
        EXPECT_EQ(reg.keys.at(kAppPaths + "\\tools\\ed.exe").at("").data,
                  std::string("C:\\Tools\\ed.exe", 16));
        EXPECT_EQ(reg.keys.at(kAppPaths + "\\tools").count(""), 0u) << "nothing stored in the middle key";
        EXPECT_TRUE(reg.Balanced());
    }
}

TEST(RegWriteStringTest, ReplacesTheDefaultValueAndKeepsOthers) {
    FakeRegistry reg;
    reg.Put(kAppPaths + "\\edit2.exe", "", "C:\\Old\\old.exe");
    reg.Put(kAppPaths + "\\edit2.exe", "Path", "C:\\Old");
    ASSERT_TRUE(RegWriteString(reg, kRoot, BuildCommandKeyPath("edit2"), "", "C:\\New\\new.exe"));
    EXPECT_EQ(reg.keys.at(kAppPaths + "\\edit2.exe").at("").data, std::string("C:\\New\\new.exe", 15));
    EXPECT_EQ(reg.keys.at(kAppPaths + "\\edit2.exe").at("Path").data, "C:\\Old");
}

TEST(RegWriteStringTest, FailureAtAnyStepClosesEveryKeyAndKeepsEarlierKeys) {
    // Six key steps and one value step.
    for (int step = 0; step < 7; ++step) {
        FakeRegistry reg;
        reg.failAtCall = step;
        EXPECT_FALSE(RegWriteString(reg, kRoot, BuildCommandKeyPath("edit2"), "", "C:\\Tools\\ed.exe"))
            << "step " << step;
        EXPECT_TRUE(reg.Balanced()) << "step " << step << ": " << reg.opens << " opens, " << reg.closes
                                    << " closes, " << reg.badCloses << " bad closes";
        EXPECT_EQ(reg.opens, step < 6 ? step : 6) << "step " << step;
        EXPECT_EQ(static_cast<int>(reg.keys.size()), 1 + reg.opens) << "keys created before the failure stay";
    }
}

TEST(RegWriteStringTest, EmptyPathWritesTheRootValueWithoutClosingTheRoot) {
    FakeRegistry reg;
    EXPECT_TRUE(RegWriteString(reg, kRoot, " \\ \\", "name", "x"));
    EXPECT_EQ(reg.keys.at("").at("name").data, std::string("x", 2));
    EXPECT_TRUE(reg.Balanced());
    EXPECT_EQ(reg.opens, 0);
}

TEST(RegReadStringTest, ReadsTheTextUpToTheFirstZero) {
    FakeRegistry reg;
    reg.Put("k", "", std::string("C:\\Velmora.exe\0", 15));
    reg.Put("k", "embedded", std::string("abc\0def\0", 8));
    reg.Put("k", "unterminated", "no zero at the end");
    reg.Put("k", "empty", "");
    EXPECT_EQ(RegReadString(reg, kRoot, "k", ""), CString("C:\\Velmora.exe"));
    EXPECT_EQ(RegReadString(reg, kRoot, "k", "embedded"), CString("abc"));
    EXPECT_EQ(RegReadString(reg, kRoot, "k", "unterminated"), CString("no zero at the end"));
    EXPECT_EQ(RegReadString(reg, kRoot, "k", "empty"), CString());
    EXPECT_TRUE(reg.Balanced());
    EXPECT_EQ(reg.opens, 4);
}

TEST(RegReadStringTest, EveryProblemGivesTheEmptyStringAndClosesTheKey) {
    {
        FakeRegistry reg;
        EXPECT_EQ(RegReadString(reg, kRoot, "missing", ""), CString());
        EXPECT_TRUE(reg.Balanced());
    }
    {
        FakeRegistry reg;
        reg.Put("k", "other", "x");
        EXPECT_EQ(RegReadString(reg, kRoot, "k", ""), CString());
        EXPECT_EQ(reg.opens, 1);
        EXPECT_TRUE(reg.Balanced());
    }
    {
        // The value grew between the size query and the read.
        FakeRegistry reg;
        reg.Put("k", "", "short");
        reg.growBeforeRead = " and now much longer";
        EXPECT_EQ(RegReadString(reg, kRoot, "k", ""), CString());
        EXPECT_TRUE(reg.Balanced());
    }
    {
        FakeRegistry reg;
        reg.keys["k"][""] = {"x", kMaxRegistryValueBytes + 1};
        EXPECT_EQ(RegReadString(reg, kRoot, "k", ""), CString());
        EXPECT_TRUE(reg.Balanced());
    }
    for (int step = 0; step < 3; ++step) {
        FakeRegistry reg;
        reg.Put("k", "", "value");
        reg.failAtCall = step;
        EXPECT_EQ(RegReadString(reg, kRoot, "k", ""), CString()) << "step " << step;
        EXPECT_TRUE(reg.Balanced()) << "step " << step;
    }
}

}  // namespace
