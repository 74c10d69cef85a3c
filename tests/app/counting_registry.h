// The Win32 registry behind the registry interface, watched: for the tests
// under Wine that no key handle stays open on any path.
#pragma once

#include <set>
#include <string>

#include "app/registry/Registry_win32.h"

// The Win32 registry with every key handle counted, one call (by its number,
// CloseKey not counted) made to fail, and the deletion of chosen keys refused.
class CountingRegistry final : public IRegistry {
public:
    int failAtCall = -1;
    int calls = 0;
    std::set<RegKey> open;
    int strayCloses = 0;  // closes of roots, unknown or already closed handles
    // Key names, as DeleteSubKey gets them, whose deletion is refused.
    std::set<CStringW> refusedDeletes;

    long CreateKey(RegKey parent, const char16_t* name, RegKey* pCreated) override {
        if (Fails()) return ERROR_ACCESS_DENIED;
        const long status = m_real.CreateKey(parent, name, pCreated);
        if (status == ERROR_SUCCESS) open.insert(*pCreated);
        return status;
    }
    long OpenKeyForRead(RegKey parent, const char16_t* keyPath, RegKey* pOpened) override {
        if (Fails()) return ERROR_ACCESS_DENIED;
        const long status = m_real.OpenKeyForRead(parent, keyPath, pOpened);
        if (status == ERROR_SUCCESS) open.insert(*pOpened);
        return status;
    }
    long SetStringValue(RegKey key, const char16_t* valueName, const char16_t* data,
                        std::uint32_t size) override {
        if (Fails()) return ERROR_ACCESS_DENIED;
        return m_real.SetStringValue(key, valueName, data, size);
    }
    long QueryValueSize(RegKey key, const char16_t* valueName, std::uint32_t* pSize) override {
        if (Fails()) return ERROR_ACCESS_DENIED;
        return m_real.QueryValueSize(key, valueName, pSize);
    }
    long QueryValue(RegKey key, const char16_t* valueName, unsigned char* buffer,
                    std::uint32_t* pSize) override {
        if (Fails()) return ERROR_ACCESS_DENIED;
        return m_real.QueryValue(key, valueName, buffer, pSize);
    }
    long CloseKey(RegKey key) override {
        if (open.erase(key) == 0) ++strayCloses;
        return m_real.CloseKey(key);
    }
    long EnumSubKey(RegKey key, std::uint32_t index, CStringW* pName) override {
        if (Fails()) return ERROR_ACCESS_DENIED;
        return m_real.EnumSubKey(key, index, pName);
    }
    long QueryKeyCounts(RegKey key, std::uint32_t* pSubKeys, std::uint32_t* pValues) override {
        if (Fails()) return ERROR_ACCESS_DENIED;
        return m_real.QueryKeyCounts(key, pSubKeys, pValues);
    }
    long DeleteSubKey(RegKey parent, const char16_t* name) override {
        if (Fails() || refusedDeletes.count(name) != 0) return ERROR_ACCESS_DENIED;
        return m_real.DeleteSubKey(parent, name);
    }

    long OpenKeyForWrite(RegKey parent, const char16_t* keyPath, RegKey* pOpened) override {
        if (Fails()) return ERROR_ACCESS_DENIED;
        const long status = m_real.OpenKeyForWrite(parent, keyPath, pOpened);
        if (status == ERROR_SUCCESS) open.insert(*pOpened);
        return status;
    }
    long EnumValue(RegKey key, std::uint32_t index, CStringW* pName, std::uint32_t* pType,
                   std::vector<unsigned char>* pData) override {
        if (Fails()) return ERROR_ACCESS_DENIED;
        return m_real.EnumValue(key, index, pName, pType, pData);
    }
    long ReadValue(RegKey key, const char16_t* valueName, std::uint32_t* pType,
                   std::vector<unsigned char>* pData) override {
        if (Fails()) return ERROR_ACCESS_DENIED;
        return m_real.ReadValue(key, valueName, pType, pData);
    }
    long SetValue(RegKey key, const char16_t* valueName, std::uint32_t type, const unsigned char* data,
                  std::uint32_t size) override {
        if (Fails()) return ERROR_ACCESS_DENIED;
        return m_real.SetValue(key, valueName, type, data, size);
    }
    long DeleteValue(RegKey key, const char16_t* valueName) override {
        if (Fails()) return ERROR_ACCESS_DENIED;
        return m_real.DeleteValue(key, valueName);
    }

private:
    bool Fails() { return calls++ == failAtCall; }
    CWin32Registry m_real;
};
