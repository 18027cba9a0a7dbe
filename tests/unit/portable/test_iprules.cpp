// The rules of the IP address entry and the wizard's IP settings: keys, octet sizes, what leaving
// an octet makes of it, the dotted text, the mask proposal and what a static choice needs.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "monitor/Uiprules.h"

namespace {

// The entry frame's cells: 4, 32, 60 and 88, each 22 wide.
const TOctetCells kCells = {4, 28, 22};

std::string Octets(const TOctets& o) {
    return "[" + o[0] + "|" + o[1] + "|" + o[2] + "|" + o[3] + "]";
}

}  // namespace

TEST(IPRules, KeysAnOctetTakes) {
    struct Case {
        char key;
        const char* text;
        TOctetKey expected;
    };
    const std::vector<Case> cases = {
        {'.', "12", TOctetKey::NextOctet}, {'.', "", TOctetKey::NextOctet},
        {'\b', "12", TOctetKey::PassOn},   {'\b', "", TOctetKey::PassOn},
        {'5', "", TOctetKey::Digit},       {'9', "25", TOctetKey::Digit},
        {'0', "", TOctetKey::Digit},       {'0', "1", TOctetKey::Digit},
        {'0', "10", TOctetKey::Digit},     {'0', "0", TOctetKey::Swallow},
        {'1', "0", TOctetKey::Digit},      {'a', "", TOctetKey::Swallow},
        {'-', "", TOctetKey::Swallow},     {' ', "1", TOctetKey::Swallow},
        {',', "1", TOctetKey::Swallow},    {'/', "", TOctetKey::Swallow},
        {':', "", TOctetKey::Swallow},     {'\r', "1", TOctetKey::Swallow},
        {'\x16', "", TOctetKey::Swallow},  {static_cast<char>(0xB2), "", TOctetKey::Swallow},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string("key ") + std::to_string(static_cast<int>(c.key)) + " on \"" +
                     c.text + "\"");
        EXPECT_EQ(ClassifyOctetKey(c.key, c.text), c.expected);
    }
}

TEST(IPRules, OctetBoxesByLengthAndWideningByDigit) {
    struct Case {
        size_t length;
        int index;
        TOctetBox expected;
    };
    const TOctetBox before = {50, 13};
    const std::vector<Case> cases = {
        {1, 0, {11, 8}},  {2, 0, {7, 16}},  {3, 0, {4, 22}}, {0, 0, {4, 22}}, {1, 1, {39, 8}},
        {2, 2, {63, 16}}, {3, 3, {88, 22}}, {1, 3, {95, 8}}, {4, 1, before},  {7, 2, before},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("length " + std::to_string(c.length) + " cell " + std::to_string(c.index));
        EXPECT_EQ(OctetBox(c.length, c.index, before, kCells), c.expected);
    }

    // One digit typed: 7 wider and 3 further left until the box is a cell wide.
    EXPECT_EQ(WidenForDigit({11, 8}, kCells), (TOctetBox{8, 15}));
    EXPECT_EQ(WidenForDigit({8, 15}, kCells), (TOctetBox{5, 22}));
    EXPECT_EQ(WidenForDigit({5, 22}, kCells), (TOctetBox{5, 22}));
    EXPECT_EQ(WidenForDigit({4, 30}, kCells), (TOctetBox{4, 30}));
    // Other cells: the halves truncate toward zero.
    const TOctetCells odd = {0, 30, 25};
    EXPECT_EQ(WidenForDigit({10, 8}, odd), (TOctetBox{6, 16}));
    EXPECT_EQ(OctetBox(1, 1, before, odd), (TOctetBox{38, 8}));
    EXPECT_EQ(OctetBox(2, 1, before, odd), (TOctetBox{34, 16}));
}

TEST(IPRules, LeavingAnOctet) {
    struct Case {
        const char* text;
        const char* left;   // NormalizeOctet
        const char* typed;  // NormalizeTypedOctet
    };
    const std::vector<Case> cases = {
        {"", "0", ""},
        {"0", "0", "0"},
        {"7", "7", "7"},
        {"05", "05", "05"},
        {"000", "000", "000"},
        {"255", "255", "255"},
        {"256", "255", "255"},
        {"300", "255", "255"},
        {"999", "255", "255"},
        {"0256", "255", "255"},
        {"99999999999999999999", "255", "255"},
        {"-5", "0", "0"},
        {" 12", "0", "0"},
        {"12 ", "0", "0"},
        {"+1", "0", "0"},
        {"1a", "0", "0"},
        {"0x1", "0", "0"},
        {"1.2", "0", "0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string("\"") + c.text + "\"");
        EXPECT_EQ(NormalizeOctet(c.text), c.left);
        EXPECT_EQ(NormalizeTypedOctet(c.text), c.typed);
    }
}

TEST(IPRules, DottedTextAndBack) {
    struct Case {
        const char* text;
        const char* octets;
        const char* joined;
    };
    const std::vector<Case> cases = {
        {"192.168.1.20", "[192|168|1|20]", "192.168.1.20"},
        {"0.0.0.0", "[0|0|0|0]", "0.0.0.0"},
        {"", "[|||]", ""},
        {"abc", "[|||abc]", ""},
        {"10", "[|||10]", ""},
        {"1.2", "[1|||2]", ""},
        {"1.2.3", "[1|2||3]", ""},
        {"1.2.3.4.5", "[1|2|3|4.5]", "1.2.3.4.5"},
        {"...", "[|||]", ""},
        {"1..3.4", "[1||3|4]", ""},
        {".2.3.4", "[|2|3|4]", ""},
        {"1.2.3.", "[1|2|3|]", ""},
        {"300.-5. 1.x", "[300|-5| 1|x]", "300.-5. 1.x"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string("\"") + c.text + "\"");
        TOctets octets = SplitIPText(c.text);
        EXPECT_EQ(Octets(octets), c.octets);
        EXPECT_EQ(JoinIPText(octets), c.joined);
    }
    // Any one octet empty makes the whole text empty.
    for (size_t empty = 0; empty < 4; ++empty) {
        TOctets octets = {"10", "20", "30", "40"};
        octets[empty].clear();
        EXPECT_EQ(JoinIPText(octets), "") << empty;
    }
}

TEST(IPRules, MaskProposedByTheFirstOctet) {
    struct Case {
        const char* mask;
        const char* address;
        const char* proposed;
    };
    const std::vector<Case> cases = {
        {"", "0.1.2.3", "255.0.0.0"},
        {"", "10.0.0.1", "255.0.0.0"},
        {"", "127.0.0.1", "255.0.0.0"},
        {"", "128.1.1.1", "255.255.0.0"},
        {"", "172.16.0.1", "255.255.0.0"},
        {"", "191.255.1.1", "255.255.0.0"},
        {"", "192.168.1.20", "255.255.255.0"},
        {"", "223.1.1.1", "255.255.255.0"},
        {"", "255.1.1.1", "255.255.255.0"},
        {"", "010.1.1.1", "255.0.0.0"},  // leading zeros: decimal, not octal
        {"", "0192.1.1.1", "255.255.255.0"},
        {"", "300.1.1.1", "255.255.255.0"},   // as leaving the octet makes it: 255
        {"", "-5.1.1.1", "255.0.0.0"},        // as leaving the octet makes it: 0
        {"", "", ""},                         // no address, no proposal
        {"255.255.0.0", "192.168.1.20", ""},  // a mask already there stays
        {"0.0.0.0", "10.0.0.1", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string("mask \"") + c.mask + "\" address \"" + c.address + "\"");
        EXPECT_EQ(ProposedMask(c.mask, c.address), c.proposed);
    }
}

TEST(IPRules, StaticChoiceNeedsAWholeAddressAndMask) {
    struct Case {
        const char* address;
        const char* mask;
        TStaticIPFault fault;
    };
    const std::vector<Case> cases = {
        {"192.168.1.20", "255.255.255.0", TStaticIPFault::None},
        {"0.0.0.0", "0.0.0.0", TStaticIPFault::None},
        {"", "255.255.255.0", TStaticIPFault::Address},
        {"", "", TStaticIPFault::Address},  // the address first
        {"192.168.1.20", "", TStaticIPFault::Mask},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.address) + " / " + c.mask);
        EXPECT_EQ(CheckStaticIP(c.address, c.mask), c.fault);
    }

    // Each refusal has its own text of section ErMsg; none for no fault.
    TStringText address = StaticIPFaultText(TStaticIPFault::Address);
    TStringText mask = StaticIPFaultText(TStaticIPFault::Mask);
    ASSERT_NE(address.Key, nullptr);
    ASSERT_NE(mask.Key, nullptr);
    EXPECT_STRNE(address.Key, mask.Key);
    EXPECT_NE(std::string(address.Default).find("IP address"), std::string::npos);
    EXPECT_NE(std::string(mask.Default).find("subnet mask"), std::string::npos);
    EXPECT_EQ(StaticIPFaultText(TStaticIPFault::None).Key, nullptr);
}
