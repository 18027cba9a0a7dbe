// TIniFile: an INI file read and written through the system's profile-string
// API, so every write reaches the file at once. TReadOnceIniFile: the same for a
// file the program only reads, each section read from the file once.
#pragma once

#include <map>
#include <vector>

#include "CustomIniFile.h"

class TIniFile : public TCustomIniFile {
public:
    explicit TIniFile(const AnsiString& fileName) : TCustomIniFile(fileName) {}

    bool SectionExists(const AnsiString& section) override;

protected:
    AnsiString ReadValue(const AnsiString& section, const AnsiString& key,
                         const AnsiString& def) override;
    void WriteValue(const AnsiString& section, const AnsiString& key,
                    const AnsiString& text) override;
};

// Reads answer as TIniFile's would, from each section's keys as the system's API gave them at
// the section's first use: one call of the API a section instead of one a key, which under
// Wine is what the hundreds of texts of the string file cost at start. A write goes to the file,
// and its section is read again at its next use.
class TReadOnceIniFile : public TIniFile {
public:
    explicit TReadOnceIniFile(const AnsiString& fileName) : TIniFile(fileName) {}

    bool SectionExists(const AnsiString& section) override;

protected:
    AnsiString ReadValue(const AnsiString& section, const AnsiString& key,
                         const AnsiString& def) override;
    void WriteValue(const AnsiString& section, const AnsiString& key,
                    const AnsiString& text) override;

private:
    struct Key {
        AnsiString name;  // lower case
        AnsiString value;
        bool hasValue;
    };
    using Keys = std::vector<Key>;
    const Keys& Section(const AnsiString& section);

    std::map<AnsiString, Keys> sections_;  // by lower-case name
};
