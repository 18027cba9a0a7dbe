#include "Uiprules.h"

namespace {

constexpr char kBackspace = 8;

bool AllDigits(const AnsiString& text) {
    for (char c : text)
        if (c < '0' || c > '9') return false;
    return true;
}

// The value of a text of digits, stopping at 256: a long text cannot overflow.
int OctetValue(const AnsiString& digits) {
    int value = 0;
    for (char c : digits) {
        value = value * 10 + (c - '0');
        if (value >= 256) return 256;
    }
    return value;
}

}  // namespace

TOctetKey ClassifyOctetKey(char key, const AnsiString& text) {
    if (key == '.') return TOctetKey::NextOctet;
    if (key == kBackspace) return TOctetKey::PassOn;
    if (key < '0' || key > '9') return TOctetKey::Swallow;
    if (key == '0' && text == "0") return TOctetKey::Swallow;
    return TOctetKey::Digit;
}

TOctetBox WidenForDigit(TOctetBox box, const TOctetCells& cells) {
    if (box.Width >= cells.Width) return box;
    return {box.Left - (cells.Width - 16) / 2, box.Width + (cells.Width - 8) / 2};
}

TOctetBox OctetBox(size_t length, int index, TOctetBox box, const TOctetCells& cells) {
    int cell = cells.FirstLeft + index * cells.Step;
    switch (length) {
        case 1:
            return {cell + (cells.Width - 8) / 2, 8};
        case 2:
            return {cell + (cells.Width - 16) / 2, 16};
        case 0:
        case 3:
            return {cell, cells.Width};
        default:
            return box;
    }
}

AnsiString NormalizeOctet(const AnsiString& text) {
    if (text.empty() || !AllDigits(text)) return "0";
    return OctetValue(text) >= 256 ? AnsiString("255") : text;
}

AnsiString NormalizeTypedOctet(const AnsiString& text) {
    return text.empty() ? text : NormalizeOctet(text);
}

TOctets SplitIPText(const AnsiString& text) {
    TOctets octets;
    AnsiString rest = text;
    for (size_t i = 0; i < 3; ++i) {
        size_t dot = rest.find('.');
        if (dot == AnsiString::npos) continue;  // no octet here; the rest stays whole
        octets[i] = rest.substr(0, dot);
        rest = rest.substr(dot + 1);
    }
    octets[3] = rest;
    return octets;
}

AnsiString JoinIPText(const TOctets& octets) {
    for (const AnsiString& octet : octets)
        if (octet.empty()) return "";
    return octets[0] + "." + octets[1] + "." + octets[2] + "." + octets[3];
}

AnsiString ProposedMask(const AnsiString& mask, const AnsiString& address) {
    if (!mask.empty() || address.empty()) return "";
    AnsiString first = NormalizeOctet(SplitIPText(address)[0]);
    int value = OctetValue(first);
    if (value < 128) return "255.0.0.0";
    if (value >= 192) return "255.255.255.0";
    return "255.255.0.0";
}

TStaticIPFault CheckStaticIP(const AnsiString& address, const AnsiString& mask) {
    if (address.empty()) return TStaticIPFault::Address;
    if (mask.empty()) return TStaticIPFault::Mask;
    return TStaticIPFault::None;
}

TStringText StaticIPFaultText(TStaticIPFault fault) {
    switch (fault) {
        case TStaticIPFault::Address:
            return {"ErIPAddress", "The IP address is incomplete. Please enter all four numbers."};
        case TStaticIPFault::Mask:
            return {"ErSubnetMask",
                    "The subnet mask is incomplete. Please enter all four numbers."};
        case TStaticIPFault::None:
            break;
    }
    return {nullptr, nullptr};
}
