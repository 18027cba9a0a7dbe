// The library's pure conversions and the small text parsers of its scenario
// and profile files. No window or kernel object in here.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vyxsim {

// Channel number of a centre frequency in kHz: 2.4 GHz channels 1 to 14,
// 5 GHz channels 1 to 196; 0 for anything off those grids.
int32_t FrequencyToChannel(uint32_t khz);

// The other way, for the channels FrequencyToChannel knows; band 2 (802.11a)
// means 5 GHz. 0 for a channel the band does not have.
uint32_t ChannelToFrequency(int32_t channel, int32_t band);

// Dotted text of a four-byte address, first byte first; the all-zero address
// has no text (the empty text).
std::string IPText(const uint8_t ip[4]);

// Four decimal octets 0 to 255 separated by dots; anything else is 0.0.0.0.
void ParseIP(const char* text, uint8_t ip[4]);

// Hex digits of a WEP key size code: 1 -> 10, 2 -> 26, 3 -> 32; 0 for others.
int WEPKeyDigits(int32_t keySizeCode);

// Four keys of WEPKeyDigits(code) upper-case hex digits from a passphrase;
// see README.md for the generator. Empty when the passphrase is empty or the
// code is unknown.
std::vector<std::string> PassphraseToWEPKeys(const std::string& passphrase, int32_t keySizeCode);

// "0x" or "0X" then hex digits, or an optional '-' then decimal digits; blanks
// around are allowed. False for anything else or a value beyond 32 bits.
bool ParseInt(const std::string& text, int64_t& value);

// Twelve hex digits, ':' and '-' between them ignored.
bool ParseMac(const std::string& text, uint8_t mac[6]);

// A channel list: numbers, ranges "a-b" and stepped ranges "a-b/s",
// separated by commas. Malformed items are skipped.
std::vector<int32_t> ParseChannelList(const std::string& text);

// Upper-case hex, two digits a byte, no separators.
std::string HexBytes(const uint8_t* bytes, size_t count);

// Decodes hex digit pairs (either case) into at most count bytes; answers how
// many were decoded, stopping at the first pair that is not hex.
size_t DecodeHexBytes(const std::string& text, uint8_t* bytes, size_t count);

std::string Trim(const std::string& text);
bool EqualNoCase(const std::string& a, const std::string& b);

}  // namespace vyxsim
