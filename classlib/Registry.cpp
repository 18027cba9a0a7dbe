#include "Registry.h"

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

void TRegistry::CloseKey() {
    if (current_) RegCloseKey(current_);
    current_ = nullptr;
}
