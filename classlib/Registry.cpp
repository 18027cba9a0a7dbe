#include "Registry.h"

#include <cstring>

static AnsiString Relative(const AnsiString& key) {
    return !key.empty() && key[0] == '\\' ? key.substr(1) : key;
}

bool TRegistry::KeyExists(const AnsiString& key) {
    HKEY h = nullptr;
    if (RegOpenKeyExA(root_, Relative(key).c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS) return false;
    RegCloseKey(h);
    return true;
}

bool TRegistry::OpenKeyReadOnly(const AnsiString& key) {
    CloseKey();
    return RegOpenKeyExA(root_, Relative(key).c_str(), 0, KEY_READ, &current_) == ERROR_SUCCESS;
}

bool TRegistry::OpenKey(const AnsiString& key, bool canCreate) {
    CloseKey();
    if (!canCreate)
        return RegOpenKeyExA(root_, Relative(key).c_str(), 0, KEY_ALL_ACCESS, &current_) ==
               ERROR_SUCCESS;
    return RegCreateKeyExA(root_, Relative(key).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                           KEY_ALL_ACCESS, nullptr, &current_, nullptr) == ERROR_SUCCESS;
}

AnsiString TRegistry::ReadString(const AnsiString& name) {
    if (!current_) return AnsiString();
    // The value may grow between the size query and the read: ask again.
    for (int attempt = 0; attempt < 4; ++attempt) {
        DWORD type = 0, size = 0;
        if (RegQueryValueExA(current_, name.c_str(), nullptr, &type, nullptr, &size) !=
                ERROR_SUCCESS ||
            (type != REG_SZ && type != REG_EXPAND_SZ))
            return AnsiString();
        AnsiString value(size, '\0');
        LONG r = RegQueryValueExA(current_, name.c_str(), nullptr, &type,
                                  reinterpret_cast<BYTE*>(&value[0]), &size);
        if (r == ERROR_MORE_DATA) continue;
        if (r != ERROR_SUCCESS) return AnsiString();
        // stored with or without its terminating NUL; the first NUL ends the text
        value.resize(size);
        value.resize(std::strlen(value.c_str()));
        return value;
    }
    return AnsiString();
}

void TRegistry::CloseKey() {
    if (current_) RegCloseKey(current_);
    current_ = nullptr;
}
