// Launcher files and programs in memory, for the store's and the
// console program's tests.
#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

#include "app/launcher/LauncherFiles.h"
#include "memory_registry.h"

// The first bytes of a program: DOS header, "PE\0\0", file header, a 32-bit
// or 64-bit optional header with `subsystem`.
inline std::vector<unsigned char> ProgramHead(std::uint16_t subsystem, std::uint16_t characteristics = 0x0102,
                                       std::uint16_t magic = 0x10B, std::uint16_t optionalSize = 224) {
    std::vector<unsigned char> head(512, 0);
    auto put16 = [&](std::size_t at, std::uint16_t value) {
        head[at] = static_cast<unsigned char>(value);
        head[at + 1] = static_cast<unsigned char>(value >> 8);
    };
    head[0] = 'M';
    head[1] = 'Z';
    head[0x3C] = 0x40;
    head[0x40] = 'P';
    head[0x41] = 'E';
    put16(0x54, optionalSize);
    put16(0x56, characteristics);
    put16(0x58, magic);
    put16(0x58 + 68, subsystem);
    return head;
}

// Launcher files and programs in memory. Programs are files whose first
// bytes are given; a launcher written is a program of its kind.
class MemoryLauncherFiles final : public LauncherFiles {
public:
    std::map<std::string, std::vector<unsigned char>> files;  // by lower-case path
    std::set<std::string> locked;                             // cannot be written or removed
    bool refuseWrites = false;
    // The write or removal number `failChangeAt` (from 0) fails.
    int failChangeAt = -1;
    int changes = 0;
    int announcements = 0;
    std::map<std::string, std::string> variables{{"%PATHEXT%", ".COM;.EXE;.BAT"}};
    // Folders as their security stands, by lower-case path (missing when
    // not here); what was made or set, in order ("make <folder> <sddl>").
    std::map<std::string, FolderSecurityRead> folderSecurity;
    std::vector<std::string> securityCalls;
    bool refuseSecurity = false;  // as for a standard user

    static std::string Key(const CStringW& path) {
        CStringW lower = path;
        lower.MakeLower();
        return N(lower);
    }
    void PutProgram(const char* path, std::uint16_t subsystem) { files[Key(W(path))] = ProgramHead(subsystem); }
    bool Has(const std::string& path) const { return files.count(Key(W(path))) != 0; }
    ProgramKind KindAt(const std::string& path) const {
        const auto it = files.find(Key(W(path)));
        return it == files.end() ? ProgramKind::kNotAProgram : ProgramKindOf(it->second.data(), it->second.size());
    }

    CStringW Folder(RunScope scope) const override {
        return scope == RunScope::kCurrentUser ? u"C:\\Users\\me\\AppData\\Local\\Velmora\\bin"
                                               : u"C:\\ProgramData\\Velmora\\bin";
    }
    bool Exists(const CStringW& file) const override { return files.count(Key(file)) != 0; }
    std::set<std::string> folders;  // by lower-case path, besides those holding files
    bool FolderExists(const CStringW& folder) const override {
        const std::string key = Key(folder);
        if (folders.count(key) != 0) return true;
        for (const auto& [path, bytes] : files)
            if (path.rfind(key + "\\", 0) == 0) return true;
        return false;
    }
    bool ReadHead(const CStringW& file, std::vector<unsigned char>* pHead) const override {
        const auto it = files.find(Key(file));
        if (it == files.end()) return false;
        *pHead = it->second;
        return true;
    }
    bool ReadWhole(const CStringW& file, std::vector<unsigned char>* pBytes) const override {
        return ReadHead(file, pBytes);
    }
    bool WriteLauncher(const CStringW& file, ProgramKind kind) override {
        return WriteWhole(file, ProgramHead(kind == ProgramKind::kWindows ? 2 : 3));
    }
    bool WriteWhole(const CStringW& file, const std::vector<unsigned char>& bytes) override {
        if (changes++ == failChangeAt || refuseWrites || locked.count(Key(file)) != 0) return false;
        files[Key(file)] = bytes;
        return true;
    }
    bool Remove(const CStringW& file) override {
        if (changes++ == failChangeAt || locked.count(Key(file)) != 0) return false;
        files.erase(Key(file));
        return true;
    }
    std::vector<CStringW> FileNamesIn(const CStringW& folder) const override {
        const std::string prefix = Key(folder) + "\\";
        std::vector<CStringW> names;
        for (const auto& [path, bytes] : files) {
            if (path.rfind(prefix, 0) == 0 && path.find('\\', prefix.size()) == std::string::npos)
                names.push_back(W(path.substr(prefix.size())));
        }
        return names;
    }
    std::vector<CStringW> LauncherNames(RunScope scope) const override {
        const std::string folder = Key(Folder(scope)) + "\\";
        std::vector<CStringW> names;
        for (const auto& [path, bytes] : files) {
            if (path.rfind(folder, 0) == 0 && path.find('\\', folder.size()) == std::string::npos) {
                names.push_back(W(path.substr(folder.size(), path.size() - folder.size() - 4)));
            }
        }
        return names;
    }
    CStringW Expand(const CStringW& text) const override {
        const auto it = variables.find(N(text));
        return it == variables.end() ? text : W(it->second);
    }
    void AnnounceEnvironmentChange() override { ++announcements; }
    FolderSecurityRead ReadFolderSecurity(const CStringW& folder) const override {
        const auto it = folderSecurity.find(Key(folder));
        return it == folderSecurity.end() ? FolderSecurityRead{} : it->second;
    }
    bool MakeFolder(const CStringW& folder, const CStringW& sddl) override {
        return ChangeSecurity("make", folder, sddl);
    }
    bool SetFolderSecurity(const CStringW& folder, const CStringW& sddl) override {
        return ChangeSecurity("set", folder, sddl);
    }

private:
    bool ChangeSecurity(const char* call, const CStringW& folder, const CStringW& sddl) {
        securityCalls.push_back(std::string(call) + " " + N(folder) + " " + N(sddl));
        if (refuseSecurity) return false;
        folderSecurity[Key(folder)] = {FolderSecurityRead::kFolder, sddl};
        return true;
    }
};
