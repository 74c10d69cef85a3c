// Shortcut files in memory for the Explorer entries' tests: each shortcut
// file with its target, the programs that exist, and steps made to fail.
#pragma once

#include <map>
#include <set>
#include <string>

#include "app/platform/ExplorerEntries.h"
#include "gbk_text.h"

struct MemoryShortcutFiles final : ShortcutFiles {
    std::string sendTo = "C:\\Users\\u\\SendTo";
    std::map<std::string, std::string> shortcuts;  // file -> target, GBK
    std::set<std::string> programs;                // the programs that exist
    bool refuseWrite = false;
    bool refuseRemove = false;

    CStringW SendToFolder() override { return W(sendTo); }
    bool ReadTarget(const CStringW& file, CStringW* pTarget) override {
        const auto it = shortcuts.find(N(file));
        if (it == shortcuts.end()) return false;
        *pTarget = W(it->second);
        return true;
    }
    bool Write(const CStringW& file, const CStringW& target) override {
        if (refuseWrite) return false;
        shortcuts[N(file)] = N(target);
        return true;
    }
    bool Remove(const CStringW& file) override { return !refuseRemove && shortcuts.erase(N(file)) == 1; }
    bool ProgramExists(const CStringW& path) override { return programs.count(N(path)) != 0; }
};
