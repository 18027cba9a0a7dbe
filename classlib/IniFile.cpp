#include "IniFile.h"

#include <windows.h>

#include <vector>

// The API cuts an answer to the buffer; grow until it fits (or give up at 1 MiB).
template <typename Read>
static AnsiString ReadGrowing(Read read, DWORD slack) {
    std::vector<char> buf(1024);
    for (;;) {
        DWORD n = read(buf.data(), static_cast<DWORD>(buf.size()));
        if (n + slack < buf.size() || buf.size() >= (1u << 20)) return AnsiString(buf.data(), n);
        buf.resize(buf.size() * 4);
    }
}

AnsiString TIniFile::ReadValue(const AnsiString& section, const AnsiString& key,
                               const AnsiString& def) {
    return ReadGrowing(
        [&](char* buf, DWORD size) {
            return GetPrivateProfileStringA(section.c_str(), key.c_str(), def.c_str(), buf, size,
                                            FileName().c_str());
        },
        1);
}

void TIniFile::WriteValue(const AnsiString& section, const AnsiString& key,
                          const AnsiString& text) {
    WritePrivateProfileStringA(section.c_str(), key.c_str(), text.c_str(), FileName().c_str());
}

bool TIniFile::SectionExists(const AnsiString& section) {
    // With no key named, the API answers the section's key names.
    AnsiString keys = ReadGrowing(
        [&](char* buf, DWORD size) {
            return GetPrivateProfileStringA(section.c_str(), nullptr, "", buf, size,
                                            FileName().c_str());
        },
        2);
    return !keys.empty();
}
