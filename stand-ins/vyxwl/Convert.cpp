#include "Convert.h"

#include <cctype>

namespace vyxsim {

int32_t FrequencyToChannel(uint32_t khz) {
    if (khz == 2484000) return 14;
    if (khz >= 2412000 && khz <= 2472000 && (khz - 2412000) % 5000 == 0)
        return static_cast<int32_t>((khz - 2412000) / 5000 + 1);
    if (khz > 5000000 && khz <= 5000000 + 5000 * 196 && khz % 5000 == 0)
        return static_cast<int32_t>((khz - 5000000) / 5000);
    return 0;
}

uint32_t ChannelToFrequency(int32_t channel, int32_t band) {
    if (band == 2) {
        return channel >= 1 && channel <= 196 ? 5000000 + 5000 * static_cast<uint32_t>(channel) : 0;
    }
    if (channel == 14) return 2484000;
    return channel >= 1 && channel <= 13 ? 2412000 + 5000 * static_cast<uint32_t>(channel - 1) : 0;
}

std::string IPText(const uint8_t ip[4]) {
    if (ip[0] == 0 && ip[1] == 0 && ip[2] == 0 && ip[3] == 0) return std::string();
    return std::to_string(ip[0]) + "." + std::to_string(ip[1]) + "." + std::to_string(ip[2]) + "." +
           std::to_string(ip[3]);
}

void ParseIP(const char* text, uint8_t ip[4]) {
    uint8_t out[4] = {0, 0, 0, 0};
    bool ok = text != nullptr;
    const char* p = text;
    for (int i = 0; ok && i < 4; ++i) {
        if (i > 0) {
            if (*p != '.')
                ok = false;
            else
                ++p;
        }
        unsigned value = 0;
        int digits = 0;
        while (ok && std::isdigit(static_cast<unsigned char>(*p))) {
            value = value * 10 + static_cast<unsigned>(*p - '0');
            if (value > 255) ok = false;
            ++p;
            ++digits;
        }
        if (digits == 0) ok = false;
        if (ok) out[i] = static_cast<uint8_t>(value);
    }
    if (ok && *p != '\0') ok = false;
    for (int i = 0; i < 4; ++i) ip[i] = ok ? out[i] : 0;
}

int WEPKeyDigits(int32_t keySizeCode) {
    switch (keySizeCode) {
        case 1:
            return 10;
        case 2:
            return 26;
        case 3:
            return 32;
        default:
            return 0;
    }
}

std::vector<std::string> PassphraseToWEPKeys(const std::string& passphrase, int32_t keySizeCode) {
    std::vector<std::string> keys;
    int digits = WEPKeyDigits(keySizeCode);
    if (passphrase.empty() || digits == 0) return keys;
    // FNV-1a of the passphrase, mixed with the size code, drives an xorshift32
    // whose top four bits give one hex digit each.
    uint32_t state = 2166136261u;
    for (unsigned char c : passphrase) state = (state ^ c) * 16777619u;
    state ^= static_cast<uint32_t>(keySizeCode) * 0x9E3779B9u;
    if (state == 0) state = 0x6D2B79F5u;
    static const char kHex[] = "0123456789ABCDEF";
    for (int k = 0; k < 4; ++k) {
        std::string key;
        for (int i = 0; i < digits; ++i) {
            state ^= state << 13;
            state ^= state >> 17;
            state ^= state << 5;
            key += kHex[state >> 28];
        }
        keys.push_back(key);
    }
    return keys;
}

std::string Trim(const std::string& text) {
    size_t b = 0, e = text.size();
    while (b < e && std::isspace(static_cast<unsigned char>(text[b]))) ++b;
    while (e > b && std::isspace(static_cast<unsigned char>(text[e - 1]))) --e;
    return text.substr(b, e - b);
}

bool EqualNoCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    }
    return true;
}

static int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool ParseInt(const std::string& raw, int64_t& value) {
    std::string text = Trim(raw);
    if (text.empty()) return false;
    int64_t v = 0;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        for (size_t i = 2; i < text.size(); ++i) {
            int d = HexValue(text[i]);
            if (d < 0) return false;
            v = v * 16 + d;
            if (v > 0xFFFFFFFFll) return false;
        }
        value = v;
        return true;
    }
    size_t i = text[0] == '-' ? 1 : 0;
    if (i == text.size()) return false;
    for (; i < text.size(); ++i) {
        if (!std::isdigit(static_cast<unsigned char>(text[i]))) return false;
        v = v * 10 + (text[i] - '0');
        if (v > 0xFFFFFFFFll) return false;
    }
    value = text[0] == '-' ? -v : v;
    return value >= -0x80000000ll;
}

bool ParseMac(const std::string& text, uint8_t mac[6]) {
    std::string digits;
    for (char c : text) {
        if (c == ':' || c == '-') continue;
        if (HexValue(c) < 0) return false;
        digits += c;
    }
    if (digits.size() != 12) return false;
    return DecodeHexBytes(digits, mac, 6) == 6;
}

std::vector<int32_t> ParseChannelList(const std::string& text) {
    std::vector<int32_t> channels;
    size_t start = 0;
    while (start <= text.size()) {
        size_t comma = text.find(',', start);
        if (comma == std::string::npos) comma = text.size();
        std::string item = Trim(text.substr(start, comma - start));
        start = comma + 1;
        if (item.empty()) continue;
        int64_t from = 0, to = 0, step = 1;
        size_t dash = item.find('-', 1);
        if (dash == std::string::npos) {
            if (ParseInt(item, from)) channels.push_back(static_cast<int32_t>(from));
            continue;
        }
        std::string rest = item.substr(dash + 1);
        size_t slash = rest.find('/');
        if (!ParseInt(item.substr(0, dash), from) || !ParseInt(rest.substr(0, slash), to) ||
            (slash != std::string::npos && !ParseInt(rest.substr(slash + 1), step)) || step < 1 ||
            to < from || to - from > 100000)
            continue;
        for (int64_t c = from; c <= to; c += step) channels.push_back(static_cast<int32_t>(c));
    }
    return channels;
}

std::string HexBytes(const uint8_t* bytes, size_t count) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string text;
    for (size_t i = 0; i < count; ++i) {
        text += kHex[bytes[i] >> 4];
        text += kHex[bytes[i] & 15];
    }
    return text;
}

size_t DecodeHexBytes(const std::string& text, uint8_t* bytes, size_t count) {
    size_t n = 0;
    for (; n < count && 2 * n + 1 < text.size(); ++n) {
        int hi = HexValue(text[2 * n]), lo = HexValue(text[2 * n + 1]);
        if (hi < 0 || lo < 0) break;
        bytes[n] = static_cast<uint8_t>(hi * 16 + lo);
    }
    return n;
}

}  // namespace vyxsim
