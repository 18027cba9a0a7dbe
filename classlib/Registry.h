// TRegistry: keys of one root of the system registry.
#pragma once

#include <windows.h>

#include "AnsiString.h"

class TRegistry {
public:
    explicit TRegistry(HKEY rootKey = HKEY_CURRENT_USER) : root_(rootKey) {}
    ~TRegistry() { CloseKey(); }
    TRegistry(const TRegistry&) = delete;
    TRegistry& operator=(const TRegistry&) = delete;

    HKEY RootKey() const { return root_; }
    // True when the key can be opened for reading.
    bool KeyExists(const AnsiString& key);
    bool OpenKeyReadOnly(const AnsiString& key);
    void CloseKey();

private:
    HKEY root_;
    HKEY current_ = nullptr;
};
