// An INI file in memory that writes like TIniFile and reads like the system's
// profile-string API does under Wine (the Wine tests check the same rules
// against the real API): the file is lines, split at CR and LF; names match
// without regard to case and the first section of a name is the one read; a
// value loses the blanks (tab to CR, space, Ctrl-Z) at its start when it is
// written and at both ends when the file is read, and one pair of enclosing
// matching quotes when it is answered; names and values end at a NUL. Keys
// keep the order in which they were first written.
#pragma once

#include <algorithm>
#include <cctype>
#include <cstddef>
#include <string>
#include <vector>

#include "classlib/CustomIniFile.h"

class FakeIniFile : public TCustomIniFile {
public:
    explicit FakeIniFile(const AnsiString& fileName = "fake.ini") : TCustomIniFile(fileName) {}

    bool SectionExists(const AnsiString& section) override {
        const Section* s = FindSection(section);
        return s && !s->keys.empty();
    }

    // The value as the file holds it, or nullptr.
    const AnsiString* Find(const AnsiString& section, const AnsiString& key) const {
        const Section* s = FindSection(section);
        if (!s) return nullptr;
        for (const Key& k : s->keys)
            if (SameName(k.name, key)) return &k.raw;
        return nullptr;
    }
    // Puts a value into the file as it would be typed there. A line break in
    // it ends the line: what follows is lines of their own, as the API finds
    // them when it reads the file again.
    void SetRaw(const AnsiString& section, const AnsiString& key, const AnsiString& raw) {
        Section& s = AddSection(section);
        auto k = std::find_if(s.keys.begin(), s.keys.end(),
                              [&](const Key& k) { return SameName(k.name, key); });
        if (k == s.keys.end()) k = s.keys.insert(s.keys.end(), Key{key, raw, true});
        k->raw = raw;
        k->hasValue = true;
        if (raw.find_first_of("\r\n") != AnsiString::npos) LoadText(Text());
    }
    void Erase(const AnsiString& section, const AnsiString& key) {
        Section& s = AddSection(section);
        s.keys.erase(std::remove_if(s.keys.begin(), s.keys.end(),
                                    [&](const Key& k) { return SameName(k.name, key); }),
                     s.keys.end());
    }
    // A section header with no keys under it, as "[name]" alone in a file.
    void AddEmptySection(const AnsiString& section) { AddSection(section); }
    std::vector<AnsiString> Keys(const AnsiString& section) const {
        std::vector<AnsiString> names;
        if (const Section* s = FindSection(section))
            for (const Key& k : s->keys) names.push_back(k.name);
        return names;
    }
    // How many sections have this name: more than one only from a broken line.
    size_t SectionCount(const AnsiString& section) const {
        return std::count_if(sections_.begin(), sections_.end(),
                             [&](const Section& s) { return SameName(s.name, section); });
    }

    // The file as it would lie on disk.
    AnsiString Text() const {
        AnsiString text;
        for (const Section& s : sections_) {
            if (!s.name.empty() || &s != &sections_.front()) text += "[" + s.name + "]\r\n";
            for (const Key& k : s.keys) text += k.name + (k.hasValue ? "=" + k.raw : "") + "\r\n";
        }
        return text;
    }
    // Reads a file's text as the API loads it: keys before the first header
    // belong to a section without a name, a line without '=' is a key without
    // a value, and a '[' line without a closing ']' is a key line.
    void LoadText(const AnsiString& text) {
        sections_.clear();
        Section* current = nullptr;
        size_t pos = 0;
        while (pos < text.size()) {
            size_t end = text.find_first_of("\r\n", pos);
            if (end == AnsiString::npos) end = text.size();
            AnsiString line = Trim(text.substr(pos, end - pos));
            pos = end + 1;
            if (line.empty()) continue;
            size_t close = line.rfind(']');
            if (line[0] == '[' && close != AnsiString::npos && close > 0) {
                AnsiString name = line.substr(1, close - 1);
                sections_.push_back(Section{name.substr(0, name.find('\0')), {}});
                current = &sections_.back();
                continue;
            }
            // the API's texts end at a NUL: names and values are read up to one
            line = line.substr(0, line.find('\0'));
            if (!current) {
                sections_.push_back(Section{"", {}});
                current = &sections_.back();
            }
            size_t eq = line.find('=');
            if (eq == AnsiString::npos) {
                current->keys.push_back(Key{line, "", false});
            } else {
                current->keys.push_back(
                    Key{Trim(line.substr(0, eq)), Trim(line.substr(eq + 1)), true});
            }
        }
    }

protected:
    AnsiString ReadValue(const AnsiString& section, const AnsiString& key,
                         const AnsiString& def) override {
        const Section* s = FindSection(section);
        if (s)
            for (const Key& k : s->keys)
                if (SameName(k.name, key)) return k.hasValue ? Unquote(k.raw) : def;
        return def;
    }
    void WriteValue(const AnsiString& section, const AnsiString& key,
                    const AnsiString& text) override {
        AnsiString value = text.substr(0, text.find('\0'));  // the API takes a C string
        size_t first = value.find_first_not_of(kBlanks);
        SetRaw(section, key, first == AnsiString::npos ? AnsiString() : value.substr(first));
    }

private:
    struct Key {
        AnsiString name;
        AnsiString raw;
        bool hasValue;
    };
    struct Section {
        AnsiString name;
        std::vector<Key> keys;
    };
    std::vector<Section> sections_;

    static constexpr const char* kBlanks = " \t\n\v\f\r\x1a";

    static bool SameName(const AnsiString& a, const AnsiString& b) {
        if (a.size() != b.size()) return false;
        for (size_t i = 0; i < a.size(); ++i)
            if (std::tolower(static_cast<unsigned char>(a[i])) !=
                std::tolower(static_cast<unsigned char>(b[i])))
                return false;
        return true;
    }
    static AnsiString Trim(const AnsiString& s) {
        size_t first = s.find_first_not_of(kBlanks);
        if (first == AnsiString::npos) return AnsiString();
        return s.substr(first, s.find_last_not_of(kBlanks) - first + 1);
    }
    static AnsiString Unquote(const AnsiString& raw) {
        AnsiString v = Trim(raw);
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
