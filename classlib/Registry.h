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
    // Opens with full access (KEY_ALL_ACCESS), creating the key first when
    // canCreate; an ordinary user's open of a machine key fails.
    bool OpenKey(const AnsiString& key, bool canCreate);
    // A text value of the open key; empty when it is missing or not text.
    AnsiString ReadString(const AnsiString& name);
    void CloseKey();

private:
    HKEY root_;
    HKEY current_ = nullptr;
};
