#include "IniFile.h"

#include <windows.h>

#include <cctype>
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

namespace {

AnsiString Lower(AnsiString text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

// The API's blanks around the names of sections and keys.
AnsiString TrimmedName(const AnsiString& name) {
    auto blank = [](char c) { return std::isspace(static_cast<unsigned char>(c)) || c == 0x1A; };
    size_t begin = 0, end = name.size();
    while (begin < end && blank(name[begin])) ++begin;
    while (end > begin && blank(name[end - 1])) --end;
    return name.substr(begin, end - begin);
}

// What the API answers for a value read by key: one pair of enclosing quotes dropped.
AnsiString Unquoted(const AnsiString& value) {
    if (value.size() >= 2 && (value[0] == '"' || value[0] == '\'') && value.back() == value[0])
        return value.substr(1, value.size() - 2);
    return value;
}

// and for a missing key: the default without its trailing spaces (its first character kept)
AnsiString TrimmedDefault(const AnsiString& def) {
    size_t end = def.size();
    while (end > 1 && def[end - 1] == ' ') --end;
    return def.substr(0, end);
}

}  // namespace

const TReadOnceIniFile::Keys& TReadOnceIniFile::Section(const AnsiString& section) {
    AnsiString name = Lower(section);
    auto cached = sections_.find(name);
    if (cached != sections_.end()) return cached->second;
    // "name=value" lines (comments left out), each ended by a NUL, the last by two
    AnsiString lines = ReadGrowing(
        [&](char* buf, DWORD size) {
            return GetPrivateProfileSectionA(section.c_str(), buf, size, FileName().c_str());
        },
        2);
    Keys keys;
    for (size_t at = 0; at < lines.size();) {
        size_t end = lines.find('\0', at);
        if (end == AnsiString::npos) end = lines.size();
        AnsiString line = lines.substr(at, end - at);
        at = end + 1;
        if (line.empty()) break;
        size_t eq = line.find('=');
        // a line without "=" names a key without a value: the API reads the default there
        keys.push_back({Lower(line.substr(0, eq)),
                        eq == AnsiString::npos ? AnsiString() : line.substr(eq + 1),
                        eq != AnsiString::npos});
    }
    return sections_[name] = std::move(keys);
}

AnsiString TReadOnceIniFile::ReadValue(const AnsiString& section, const AnsiString& key,
                                       const AnsiString& def) {
    AnsiString wanted = Lower(TrimmedName(key));
    // The section's lines leave comments out, which the API still reads as keys.
    if (!wanted.empty() && wanted[0] == ';') return TIniFile::ReadValue(section, key, def);
    // (A read by key finds its section without the blanks around the name; a section's read
    // does not.)
    for (const Key& entry : Section(TrimmedName(section)))
        if (entry.name == wanted)
            return entry.hasValue ? Unquoted(entry.value) : TrimmedDefault(def);
    return TrimmedDefault(def);
}

void TReadOnceIniFile::WriteValue(const AnsiString& section, const AnsiString& key,
                                  const AnsiString& text) {
    TIniFile::WriteValue(section, key, text);
    // read again at its next use, under either name
    sections_.erase(Lower(section));
    sections_.erase(Lower(TrimmedName(section)));
}

bool TReadOnceIniFile::SectionExists(const AnsiString& section) {
    return !Section(section).empty();
}
