// INI files by section, key and default. The reads and writes that need no
// file system live here; TIniFile (IniFile.h) puts them on the system's
// profile-string API.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "AnsiString.h"

// A growable block of bytes with a position, as the binary-stream helpers use it.
class TMemoryStream {
public:
    void Clear() { bytes_.clear(); pos_ = 0; }
    void Write(const void* data, size_t count);
    size_t Read(void* data, size_t count);
    size_t Size() const { return bytes_.size(); }
    size_t Position() const { return pos_; }
    void SetPosition(size_t pos) { pos_ = pos < bytes_.size() ? pos : bytes_.size(); }
    const uint8_t* Memory() const { return bytes_.data(); }

private:
    std::vector<uint8_t> bytes_;
    size_t pos_ = 0;
};

class TCustomIniFile {
public:
    explicit TCustomIniFile(const AnsiString& fileName) : fileName_(fileName) {}
    virtual ~TCustomIniFile() = default;
    TCustomIniFile(const TCustomIniFile&) = delete;
    TCustomIniFile& operator=(const TCustomIniFile&) = delete;

    const AnsiString& FileName() const { return fileName_; }

    virtual AnsiString ReadString(const AnsiString& section, const AnsiString& key,
                                  const AnsiString& def) = 0;
    virtual void WriteString(const AnsiString& section, const AnsiString& key,
                             const AnsiString& value) = 0;
    // A section exists when it holds at least one key.
    virtual bool SectionExists(const AnsiString& section) = 0;

    // Decimal, or hexadecimal after "0x"/"0X"; anything else gives def.
    int32_t ReadInteger(const AnsiString& section, const AnsiString& key, int32_t def);
    void WriteInteger(const AnsiString& section, const AnsiString& key, int32_t value);
    // Integers, true when not 0; written "1" or "0".
    bool ReadBool(const AnsiString& section, const AnsiString& key, bool def);
    void WriteBool(const AnsiString& section, const AnsiString& key, bool value);
    // Bytes as upper-case hex pairs. Reading appends the decoded bytes to the
    // stream and answers how many there were.
    size_t ReadBinaryStream(const AnsiString& section, const AnsiString& key, TMemoryStream& stream);
    void WriteBinaryStream(const AnsiString& section, const AnsiString& key,
                           const TMemoryStream& stream);

private:
    AnsiString fileName_;
};

// Integer text as the settings files hold it: optional sign and decimal
// digits, or "0x"/"0X" and up to eight hex digits (taken as 32 bits).
bool TryParseIniInteger(const AnsiString& text, int32_t& value);

// Upper-case hex pairs, and back: decoding stops at the first pair that is
// not two hex digits.
AnsiString BytesToHex(const uint8_t* data, size_t count);
std::vector<uint8_t> HexToBytes(const AnsiString& text);

// The profile-string API trims blanks around a value and drops one pair of
// enclosing quotes when it reads. A value that would lose something that way
// is wrapped in double quotes; every other value is returned unchanged.
AnsiString QuoteIniValue(const AnsiString& value);
