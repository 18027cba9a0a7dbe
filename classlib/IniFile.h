// TIniFile: an INI file read and written through the system's profile-string
// API, so every write reaches the file at once.
#pragma once

#include "CustomIniFile.h"

class TIniFile : public TCustomIniFile {
public:
    explicit TIniFile(const AnsiString& fileName) : TCustomIniFile(fileName) {}

    AnsiString ReadString(const AnsiString& section, const AnsiString& key,
                          const AnsiString& def) override;
    // Values that the API would trim or unquote on reading are quoted.
    void WriteString(const AnsiString& section, const AnsiString& key,
                     const AnsiString& value) override;
    bool SectionExists(const AnsiString& section) override;
};
