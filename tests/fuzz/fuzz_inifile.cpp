// The INI layer: integer texts against a plain reading of their rule, values
// through the profile-string API's rules and a fresh read of the file, and
// byte streams as hex.
#include <cctype>
#include <cstring>

#include "FakeIniFile.h"
#include "FuzzCheck.h"

namespace {

// The integer rule read plainly: optional sign and decimal digits, or "0x" and
// hex digits, at most eight of them; a number beyond 32 bits is out of range.
IniNumber ReferenceNumber(const std::string& t, int32_t& value) {
    if (t.size() > 2 && t[0] == '0' && (t[1] == 'x' || t[1] == 'X')) {
        for (size_t i = 2; i < t.size(); ++i)
            if (!std::isxdigit(static_cast<unsigned char>(t[i]))) return IniNumber::None;
        if (t.size() - 2 > 8) return IniNumber::OutOfRange;
        value = static_cast<int32_t>(std::stoul(t.substr(2), nullptr, 16));
        return IniNumber::Int32;
    }
    size_t digits = t.size() && (t[0] == '-' || t[0] == '+') ? 1 : 0;
    if (digits == t.size()) return IniNumber::None;
    for (size_t i = digits; i < t.size(); ++i)
        if (t[i] < '0' || t[i] > '9') return IniNumber::None;
    std::string number = t.substr(digits);
    number.erase(0, std::min(number.find_first_not_of('0'), number.size() - 1));
    if (number.size() > 10) return IniNumber::OutOfRange;
    long long v = std::stoll(number) * (t[0] == '-' ? -1 : 1);
    if (v < INT32_MIN || v > INT32_MAX) return IniNumber::OutOfRange;
    value = static_cast<int32_t>(v);
    return IniNumber::Int32;
}

void Numbers(const std::string& text) {
    int32_t got = 7, want = 7;
    IniNumber kind = ParseIniNumber(text, got);
    FUZZ_CHECK(kind == ReferenceNumber(text, want));
    if (kind != IniNumber::Int32) return;
    FUZZ_CHECK(got == want);
    int32_t again = 0;
    FUZZ_CHECK(ParseIniNumber(std::to_string(got), again) == IniNumber::Int32 && again == got);
    FakeIniFile ini;
    ini.WriteInteger("S", "K", got);
    FUZZ_CHECK(ini.ReadInteger("S", "K", got ^ 1) == got);
}

// A value written between two other sections reads back byte for byte, from
// the file object and from a fresh read of its text, and touches nothing else.
void Value(const std::string& value) {
    FakeIniFile ini;
    ini.WriteString("Before", "K", "kept");
    ini.WriteString("S", "K", value);
    ini.WriteString("After", "K", "kept");
    FUZZ_CHECK(ini.ReadString("S", "K", "default") == value);

    FakeIniFile fresh;
    fresh.LoadText(ini.Text());
    for (const char* s : {"Before", "S", "After"}) {
        FUZZ_CHECK(fresh.SectionCount(s) == 1);
        FUZZ_CHECK(fresh.Keys(s).size() == 1);
    }
    FUZZ_CHECK(fresh.ReadString("S", "K", "default") == value);
    FUZZ_CHECK(fresh.ReadString("Before", "K", "") == "kept");
    FUZZ_CHECK(fresh.ReadString("After", "K", "") == "kept");

    const std::string& raw = *ini.Find("S", "K");
    FUZZ_CHECK(raw.find_first_of(std::string("\r\n\0", 3)) == std::string::npos);
    // values that can go into a line are written as they always were
    if (value.find_first_of(std::string("\r\n\0", 3)) == std::string::npos &&
        DecodeIniValue(value) == value)
        FUZZ_CHECK(raw == QuoteIniValue(value));
}

void Bytes(const std::string& data) {
    const uint8_t* bytes = reinterpret_cast<const uint8_t*>(data.data());
    std::string hex = BytesToHex(bytes, data.size());
    FUZZ_CHECK(hex.size() == 2 * data.size());
    FUZZ_CHECK(HexToBytes(hex) == std::vector<uint8_t>(bytes, bytes + data.size()));

    // any text decodes to the bytes of its leading hex pairs
    std::vector<uint8_t> decoded = HexToBytes(data);
    std::string upper = data.substr(0, 2 * decoded.size());
    for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    FUZZ_CHECK(BytesToHex(decoded.data(), decoded.size()) == upper);
    if (decoded.size() * 2 + 1 < data.size())
        FUZZ_CHECK(!std::isxdigit(static_cast<unsigned char>(data[decoded.size() * 2])) ||
                   !std::isxdigit(static_cast<unsigned char>(data[decoded.size() * 2 + 1])));

    FakeIniFile ini;
    TMemoryStream out, in;
    out.Write(data.data(), data.size());
    ini.WriteBinaryStream("S", "K", out);
    FUZZ_CHECK(ini.ReadBinaryStream("S", "K", in) == data.size());
    FUZZ_CHECK(in.Size() == data.size());
    FUZZ_CHECK(data.empty() || std::memcmp(in.Memory(), data.data(), data.size()) == 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    int which = input.ConsumeIntegralInRange(0, 2);
    std::string rest = input.ConsumeRemainingBytesAsString();
    if (which == 0) Numbers(rest);
    if (which == 1) Value(rest);
    if (which == 2) Bytes(rest);
    return 0;
}
