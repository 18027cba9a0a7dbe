// TIniFile: an INI file read and written through the system's profile-string
// API, so every write reaches the file at once.
#pragma once

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
