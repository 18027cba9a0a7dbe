// The wizard's IP settings page: an address from DHCP, or a static address, mask, gateway and two
// DNS servers, stored in the NetworkInfo part of EditProfile with the flag that has the adapter
// worker apply them. The wizard shows it only on the Windows versions that take IP settings
// from the driver library.
#pragma once

#include <array>

#include "../classlib/ExtCtrls.h"
#include "../classlib/StdCtrls.h"
#include "../monitor/Ipedit.h"
#include "../monitor/Propertypageframeunit.h"

class TFrameNetwork : public TPropertyPageFrame {
public:
    explicit TFrameNetwork(TComponent* owner);

    void InitPage() override;
    // Loads the five addresses and the DHCP or static choice from EditProfile.
    bool EnterPage(TPropertyPageFrame* other, int direction, int mode) override;
    // Forward: a static choice needs a whole address and mask (else the page stays, with a
    // message); then the choice and the five addresses go into EditProfile. Back stores nothing.
    bool LeavePage(TPropertyPageFrame* other, int direction, int mode) override;
    void EnableIPFields(bool enabled);

    TImage* ImgBG;
    TRadioButton* RBtnDHCP;
    TLabel* LbDHCP;
    TRadioButton* RBtnIP;
    TLabel* LbIP;
    TFrameIP* FmIPIP;
    TFrameIP* FmIPMask;
    TFrameIP* FmIPGateway;
    TFrameIP* FmIPDNS1;
    TFrameIP* FmIPDNS2;

private:
    // Address, mask, gateway, DNS 1 and DNS 2, the order they are read and stored in.
    std::array<TFrameIP*, 5> AddressFrames() const;

    void RBtnIPClick(TObject* sender);
    void FmIPMaskEnter(TObject* sender);
    void LbDHCPClick(TObject* sender);
    void LbIPClick(TObject* sender);
    void ImgBGClick(TObject* sender);

    // False, with the frame at fault focused and the user told, when a static choice lacks a
    // whole address or mask.
    bool StaticSettingsComplete();
    void ShowPageError(int flags, const AnsiString& text);
};
