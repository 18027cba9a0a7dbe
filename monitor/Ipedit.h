// The entry of one IPv4 address: four narrow octet edits over a skinned background that draws
// the frame and the dots. Only digits get in, '.' moves to the next octet, each edit is as wide
// as its digits so the octets sit centred in their cells, and an octet is forced into 0 to 255
// when the user leaves it. The address goes in and out as dotted text.
#pragma once

#include <array>
#include <cstdint>

#include "../classlib/ExtCtrls.h"
#include "../classlib/StdCtrls.h"
#include "Propertypageframeunit.h"

class TFrameIP : public TPropertyPageFrame {
public:
    explicit TFrameIP(TComponent* owner);

    // The four octets joined by ".", or the empty text when any of them is empty.
    AnsiString GetIPText() const;
    // Splits a dotted text into the four edits as it is (no range check) and lays them out.
    void SetIPText(const AnsiString& text);
    // All four octets together: white and enabled, or silver and disabled, over the matching
    // background.
    void SetEnabled(bool enabled) override;
    // Every octet that has text as leaving it would make it; empty octets stay empty. For a
    // page that reads the address while the focus may still be in an octet.
    void NormalizeTyped();

    TImage* ImgBG;
    TImage* ImgDisableBG;
    TEdit* EditIP1;
    TEdit* EditIP2;
    TEdit* EditIP3;
    TEdit* EditIP4;

    // Taken from the layout: the first cell's left, the step between cells, a cell's width.
    int32_t FirstLeft;
    int32_t OctetStep;
    int32_t OctetWidth;

private:
    // The handlers of all four edits; the sender tells which.
    void EditIPKeyPress(TObject* sender, char& key);
    void EditIPExit(TObject* sender);
    void FrameExit(TObject* sender);

    void FilterOctetKey(char& key, TEdit* edit);
    void NormalizeOctet(TEdit* edit);
    void LayoutOctet(TEdit* edit, int index);
    int IndexOf(const TObject* edit) const;

    std::array<TEdit*, 4> edits_;
};
