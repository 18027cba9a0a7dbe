// The names of the subkeys of a registry key, as the registry enumerates them: what the driver
// library's profile store holds, for the tests that look at it.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

inline std::vector<std::string> SubkeyNames(HKEY root, const std::string& path) {
    std::vector<std::string> names;
    HKEY key;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return names;
    char name[256];
    DWORD len = sizeof(name);
    for (DWORD i = 0;
         RegEnumKeyExA(key, i, name, &len, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
         ++i, len = sizeof(name))
        names.push_back(name);
    RegCloseKey(key);
    return names;
}
