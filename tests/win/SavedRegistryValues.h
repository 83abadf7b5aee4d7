// Puts chosen values of the product's registry keys back as they were before a test,
// and removes the product keys the test created.
#pragma once

#include "RegistryTestUtil.h"

#include <string>
#include <utility>
#include <vector>

class SavedRegistryValues {
public:
    // Each entry: key path under HKEY_LOCAL_MACHINE and value name.
    explicit SavedRegistryValues(std::vector<std::pair<std::string, std::string>> values) {
        for (const char* pszKey : kKeys)
            m_keysExisted.push_back(regtest::KeyExists(HKEY_LOCAL_MACHINE, pszKey));
        for (auto& [strKey, strName] : values) {
            regtest::RawValue raw = regtest::GetRaw(HKEY_LOCAL_MACHINE, strKey, strName.c_str());
            m_saved.push_back({std::move(strKey), std::move(strName), std::move(raw)});
        }
    }
    ~SavedRegistryValues() {
        for (const Saved& saved : m_saved) {
            if (saved.raw.nError == ERROR_SUCCESS)
                regtest::SetRaw(HKEY_LOCAL_MACHINE, saved.strKey, saved.strName.c_str(),
                                saved.raw.dwType, saved.raw.data);
            else
                regtest::DeleteValue(HKEY_LOCAL_MACHINE, saved.strKey, saved.strName.c_str());
        }
        // Deepest first, so a parent goes only after its children were dealt with.
        for (size_t i = std::size(kKeys); i-- > 0;)
            if (!m_keysExisted[i])
                regtest::DeleteTree(HKEY_LOCAL_MACHINE, kKeys[i]);
    }
    SavedRegistryValues(const SavedRegistryValues&) = delete;
    SavedRegistryValues& operator=(const SavedRegistryValues&) = delete;

private:
    static constexpr const char* kKeys[] = {
        "SOFTWARE\\VeltraneSystems",
        "SOFTWARE\\VeltraneSystems\\Quillon",
        "SOFTWARE\\VeltraneSystems\\Quillon\\Configuration",
        "SOFTWARE\\VeltraneSystems\\Quillon\\Debug",
    };
    struct Saved {
        std::string strKey;
        std::string strName;
        regtest::RawValue raw;
    };
    std::vector<bool> m_keysExisted;
    std::vector<Saved> m_saved;
};
