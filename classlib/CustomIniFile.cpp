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

bool TryParseIniInteger(const AnsiString& text, int32_t& value) {
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        if (text.size() > 10) return false;
        uint32_t v = 0;
        for (size_t i = 2; i < text.size(); ++i) {
            int d = HexDigit(text[i]);
            if (d < 0) return false;
            v = (v << 4) | static_cast<uint32_t>(d);
        }
        value = static_cast<int32_t>(v);
        return true;
    }
    size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
    if (i == text.size()) return false;
    int64_t v = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9') return false;
        v = v * 10 + (text[i] - '0');
        if (v > 2147483648LL) return false;
    }
    if (negative) v = -v;
    if (v > INT32_MAX || v < INT32_MIN) return false;
    value = static_cast<int32_t>(v);
    return true;
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

static bool IsIniBlank(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }
static bool IsIniQuote(char c) { return c == '"' || c == '\''; }

AnsiString QuoteIniValue(const AnsiString& value) {
    if (value.empty()) return value;
    char first = value.front(), last = value.back();
    if (IsIniBlank(first) || IsIniBlank(last) || IsIniQuote(first) || IsIniQuote(last))
        return "\"" + value + "\"";
    return value;
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
