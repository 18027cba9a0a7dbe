// An INI file in memory that writes like TIniFile and reads like the system's
// profile-string API: names match without regard to case, and a stored value
// loses the blanks and tabs around it and one pair of enclosing matching
// quotes. Keys keep the order in which they were first written.
#pragma once

#include <algorithm>
#include <cctype>
#include <cstddef>
#include <string>
#include <utility>
#include <vector>

#include "classlib/CustomIniFile.h"

class FakeIniFile : public TCustomIniFile {
public:
    explicit FakeIniFile(const AnsiString& fileName = "fake.ini") : TCustomIniFile(fileName) {}

    AnsiString ReadString(const AnsiString& section, const AnsiString& key,
                          const AnsiString& def) override {
        const AnsiString* raw = Find(section, key);
        return raw ? Unquote(*raw) : def;
    }
    void WriteString(const AnsiString& section, const AnsiString& key,
                     const AnsiString& value) override {
        SetRaw(section, key, QuoteIniValue(value));
    }
    bool SectionExists(const AnsiString& section) override {
        const Section* s = FindSection(section);
        return s && !s->keys.empty();
    }

    // The value as the file holds it, or nullptr.
    const AnsiString* Find(const AnsiString& section, const AnsiString& key) const {
        const Section* s = FindSection(section);
        if (!s) return nullptr;
        for (const auto& kv : s->keys)
            if (SameName(kv.first, key)) return &kv.second;
        return nullptr;
    }
    // Puts a value into the file as it would be typed there.
    void SetRaw(const AnsiString& section, const AnsiString& key, const AnsiString& raw) {
        Section& s = AddSection(section);
        for (auto& kv : s.keys)
            if (SameName(kv.first, key)) {
                kv.second = raw;
                return;
            }
        s.keys.emplace_back(key, raw);
    }
    void Erase(const AnsiString& section, const AnsiString& key) {
        Section& s = AddSection(section);
        s.keys.erase(std::remove_if(s.keys.begin(), s.keys.end(),
                                    [&](const auto& kv) { return SameName(kv.first, key); }),
                     s.keys.end());
    }
    // A section header with no keys under it, as "[name]" alone in a file.
    void AddEmptySection(const AnsiString& section) { AddSection(section); }
    std::vector<AnsiString> Keys(const AnsiString& section) const {
        std::vector<AnsiString> names;
        if (const Section* s = FindSection(section))
            for (const auto& kv : s->keys) names.push_back(kv.first);
        return names;
    }

private:
    struct Section {
        AnsiString name;
        std::vector<std::pair<AnsiString, AnsiString>> keys;
    };
    std::vector<Section> sections_;

    static bool SameName(const AnsiString& a, const AnsiString& b) {
        if (a.size() != b.size()) return false;
        for (size_t i = 0; i < a.size(); ++i)
            if (std::tolower(static_cast<unsigned char>(a[i])) !=
                std::tolower(static_cast<unsigned char>(b[i])))
                return false;
        return true;
    }
    static AnsiString Unquote(const AnsiString& raw) {
        size_t first = raw.find_first_not_of(" \t");
        if (first == AnsiString::npos) return AnsiString();
        AnsiString v = raw.substr(first, raw.find_last_not_of(" \t") - first + 1);
        if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
            v = v.substr(1, v.size() - 2);
        return v;
    }
    const Section* FindSection(const AnsiString& name) const {
        for (const Section& s : sections_)
            if (SameName(s.name, name)) return &s;
        return nullptr;
    }
    Section& AddSection(const AnsiString& name) {
        for (Section& s : sections_)
            if (SameName(s.name, name)) return s;
        sections_.push_back(Section{name, {}});
        return sections_.back();
    }
};
