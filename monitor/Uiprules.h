// The rules of an IPv4 address typed into four octet edits, and of the wizard's IP settings:
// which keys an octet takes, how its edit is sized to its digits, what leaving it makes of its
// text, the dotted text and back, the mask a first octet suggests, and what a static choice
// needs before it is stored.
#pragma once

#include <array>
#include <cstddef>

#include "../classlib/AnsiString.h"

// What a key typed into an octet edit does.
enum class TOctetKey {
    Swallow,    // dropped
    NextOctet,  // '.': dropped, and the focus moves to the next octet
    PassOn,     // backspace: goes to the edit as it is
    Digit,      // goes to the edit, which widens for it
};
// The key as typed into an edit that holds text (a second leading zero is refused).
TOctetKey ClassifyOctetKey(char key, const AnsiString& text);

// Where an octet edit sits in its frame.
struct TOctetBox {
    int Left;
    int Width;
};
inline bool operator==(const TOctetBox& a, const TOctetBox& b) {
    return a.Left == b.Left && a.Width == b.Width;
}
// The cells of the four octets: the first cell's left, the step to the next, a cell's width
// (which holds three digits).
struct TOctetCells {
    int FirstLeft;
    int Step;
    int Width;
};

// The box widened for one more digit; a box already a cell wide stays as it is.
TOctetBox WidenForDigit(TOctetBox box, const TOctetCells& cells);
// The box for a text of length characters in cell index: narrowed and centred for one and
// two digits, the whole cell for none and three, unchanged for any other length.
TOctetBox OctetBox(size_t length, int index, TOctetBox box, const TOctetCells& cells);

// What leaving an edit makes of its text: empty "0", a number of 256 or more "255", a text
// that is not all digits (a pasted "-5" or " 12") "0"; any other text stays, leading zeros too.
AnsiString NormalizeOctet(const AnsiString& text);
// The same for an octet that has text; an empty one stays empty, so an address not typed out
// stays incomplete.
AnsiString NormalizeTypedOctet(const AnsiString& text);

using TOctets = std::array<AnsiString, 4>;
// Splits at the first three dots; a text with fewer puts what follows the last dot found (or
// the whole text) into the fourth octet and leaves the octets between empty.
TOctets SplitIPText(const AnsiString& text);
// The dotted form, or the empty text when any octet is empty.
AnsiString JoinIPText(const TOctets& octets);

// The mask proposed when the mask frame is entered: by the address's first octet, "255.0.0.0"
// below 128, "255.255.0.0" up to 191, "255.255.255.0" from 192. Empty (no proposal) when a
// mask is already there or the address is not complete.
AnsiString ProposedMask(const AnsiString& mask, const AnsiString& address);

// Why a static choice cannot be stored as it stands.
enum class TStaticIPFault { None, Address, Mask };
// address and mask as their frames give them (empty when any octet is empty).
TStaticIPFault CheckStaticIP(const AnsiString& address, const AnsiString& mask);

// A text of the string file: its key and built-in default.
struct TStringText {
    const char* Key;
    const char* Default;
};
// The refusal's message, section "ErMsg"; key null for TStaticIPFault::None.
TStringText StaticIPFaultText(TStaticIPFault fault);
