#include "CustomIniFile.h"

#include <cstring>

void TMemoryStream::Write(const void* data, size_t count) {
    const uint8_t* p = static_cast<const uint8_t*>(data);
    if (pos_ + count > bytes_.size()) bytes_.resize(pos_ + count);
    if (count) std::memcpy(bytes_.data() + pos_, p, count);
    pos_ += count;
}

size_t TMemoryStream::Read(void* data, size_t count) {
    size_t left = bytes_.size() - pos_;
    if (count > left) count = left;
    if (count) std::memcpy(data, bytes_.data() + pos_, count);
    pos_ += count;
    return count;
}

static int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

IniNumber ParseIniNumber(const AnsiString& text, int32_t& value) {
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        uint32_t v = 0;
        for (size_t i = 2; i < text.size(); ++i) {
            int d = HexDigit(text[i]);
            if (d < 0) return IniNumber::None;
            v = (v << 4) | static_cast<uint32_t>(d);
        }
        if (text.size() > 10) return IniNumber::OutOfRange;
        value = static_cast<int32_t>(v);
        return IniNumber::Int32;
    }
    size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
    if (i == text.size()) return IniNumber::None;
    int64_t v = 0;
    bool tooLarge = false;
    for (; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9') return IniNumber::None;
        // past 32 bits the digits only need to be digits
        if (!tooLarge) v = v * 10 + (text[i] - '0');
        if (v > 2147483648LL) tooLarge = true;
    }
    if (negative) v = -v;
    if (tooLarge || v > INT32_MAX || v < INT32_MIN) return IniNumber::OutOfRange;
    value = static_cast<int32_t>(v);
    return IniNumber::Int32;
}

bool TryParseIniInteger(const AnsiString& text, int32_t& value) {
    return ParseIniNumber(text, value) == IniNumber::Int32;
}

AnsiString BytesToHex(const uint8_t* data, size_t count) {
    static const char kDigits[] = "0123456789ABCDEF";
    AnsiString s;
    s.reserve(count * 2);
    for (size_t i = 0; i < count; ++i) {
        s += kDigits[data[i] >> 4];
        s += kDigits[data[i] & 15];
    }
    return s;
}

std::vector<uint8_t> HexToBytes(const AnsiString& text) {
    std::vector<uint8_t> bytes;
    for (size_t i = 0; i + 1 < text.size(); i += 2) {
        int hi = HexDigit(text[i]), lo = HexDigit(text[i + 1]);
        if (hi < 0 || lo < 0) break;
        bytes.push_back(static_cast<uint8_t>(hi << 4 | lo));
    }
    return bytes;
}

// Ctrl-Z counts as a blank too: the API strips it with the others.
static bool IsIniBlank(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r') || c == '\x1a';
}
static bool IsIniQuote(char c) {
    return c == '"' || c == '\'';
}

AnsiString QuoteIniValue(const AnsiString& value) {
    if (value.empty()) return value;
    char first = value.front(), last = value.back();
    if (IsIniBlank(first) || IsIniBlank(last) || IsIniQuote(first) || IsIniQuote(last))
        return "\"" + value + "\"";
    return value;
}

static const char kHexForm[] = "hex:";
static const size_t kHexFormLength = sizeof kHexForm - 1;

static int UpperHexDigit(char c) {
    return c >= 'a' && c <= 'f' ? -1 : HexDigit(c);
}

// The bytes of a "hex:" form as the encoder writes it (upper-case digits).
static bool ReadHexForm(const AnsiString& text, AnsiString& bytes) {
    if (text.size() <= kHexFormLength || (text.size() - kHexFormLength) % 2 != 0 ||
        text.compare(0, kHexFormLength, kHexForm) != 0)
        return false;
    bytes.clear();
    for (size_t i = kHexFormLength; i < text.size(); i += 2) {
        int hi = UpperHexDigit(text[i]), lo = UpperHexDigit(text[i + 1]);
        if (hi < 0 || lo < 0) return false;
        bytes += static_cast<char>(hi << 4 | lo);
    }
    return true;
}

// Only these values change their form: one that cannot go into a line, and
// one that would be taken for a "hex:" form when read back as it is.
static bool NeedsHexForm(const AnsiString& value) {
    return value.find_first_of(AnsiString("\r\n\0", 3)) != AnsiString::npos ||
           DecodeIniValue(value) != value;
}

AnsiString DecodeIniValue(const AnsiString& text) {
    AnsiString bytes;
    return ReadHexForm(text, bytes) && NeedsHexForm(bytes) ? bytes : text;
}

AnsiString EncodeIniValue(const AnsiString& value) {
    if (!NeedsHexForm(value)) return QuoteIniValue(value);
    return kHexForm + BytesToHex(reinterpret_cast<const uint8_t*>(value.data()), value.size());
}

AnsiString TCustomIniFile::ReadString(const AnsiString& section, const AnsiString& key,
                                      const AnsiString& def) {
    return DecodeIniValue(ReadValue(section, key, def));
}

void TCustomIniFile::WriteString(const AnsiString& section, const AnsiString& key,
                                 const AnsiString& value) {
    WriteValue(section, key, EncodeIniValue(value));
}

int32_t TCustomIniFile::ReadInteger(const AnsiString& section, const AnsiString& key, int32_t def) {
    int32_t v;
    return TryParseIniInteger(ReadString(section, key, AnsiString()), v) ? v : def;
}

void TCustomIniFile::WriteInteger(const AnsiString& section, const AnsiString& key, int32_t value) {
    WriteString(section, key, std::to_string(value));
}

bool TCustomIniFile::ReadBool(const AnsiString& section, const AnsiString& key, bool def) {
    return ReadInteger(section, key, def ? 1 : 0) != 0;
}

void TCustomIniFile::WriteBool(const AnsiString& section, const AnsiString& key, bool value) {
    WriteString(section, key, value ? "1" : "0");
}

size_t TCustomIniFile::ReadBinaryStream(const AnsiString& section, const AnsiString& key,
                                        TMemoryStream& stream) {
    std::vector<uint8_t> bytes = HexToBytes(ReadString(section, key, AnsiString()));
    if (!bytes.empty()) stream.Write(bytes.data(), bytes.size());
    return bytes.size();
}

void TCustomIniFile::WriteBinaryStream(const AnsiString& section, const AnsiString& key,
                                       const TMemoryStream& stream) {
    WriteString(section, key, BytesToHex(stream.Memory(), stream.Size()));
}
