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
    void Clear() {
        bytes_.clear();
        pos_ = 0;
    }
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

    // A text written here reads back byte for byte (EncodeIniValue).
    AnsiString ReadString(const AnsiString& section, const AnsiString& key, const AnsiString& def);
    void WriteString(const AnsiString& section, const AnsiString& key, const AnsiString& value);
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
    size_t ReadBinaryStream(const AnsiString& section, const AnsiString& key,
                            TMemoryStream& stream);
    void WriteBinaryStream(const AnsiString& section, const AnsiString& key,
                           const TMemoryStream& stream);

protected:
    // The value as the file's reader answers it (def when the key is missing),
    // and the text that goes behind "key=" in the file.
    virtual AnsiString ReadValue(const AnsiString& section, const AnsiString& key,
                                 const AnsiString& def) = 0;
    virtual void WriteValue(const AnsiString& section, const AnsiString& key,
                            const AnsiString& text) = 0;

private:
    AnsiString fileName_;
};

// What an integer text of the settings files holds.
enum class IniNumber {
    None,        // no number: not an optional sign and decimal digits, nor "0x" and hex digits
    Int32,       // a number within 32 bits (hex taken as 32 bits)
    OutOfRange,  // a number, but beyond 32 bits
};
IniNumber ParseIniNumber(const AnsiString& text, int32_t& value);
// Integer text as the settings files hold it: optional sign and decimal
// digits, or "0x"/"0X" and up to eight hex digits (taken as 32 bits).
bool TryParseIniInteger(const AnsiString& text, int32_t& value);

// Upper-case hex pairs, and back: decoding stops at the first pair that is
// not two hex digits.
AnsiString BytesToHex(const uint8_t* data, size_t count);
std::vector<uint8_t> HexToBytes(const AnsiString& text);

// The profile-string API trims blanks (tab to CR, space, Ctrl-Z) around a value
// and drops one pair of enclosing quotes when it reads. A value that would
// lose something that way is wrapped in double quotes; every other value is
// returned unchanged.
AnsiString QuoteIniValue(const AnsiString& value);

// A value as it goes into the file, and back from what the API answers. A line
// break or NUL cannot go into a line of the file, so a value holding one is
// written "hex:" and its bytes in upper-case hex; so is a value that would
// otherwise read back as such a form. Every other value is only quoted.
AnsiString EncodeIniValue(const AnsiString& value);
AnsiString DecodeIniValue(const AnsiString& text);
