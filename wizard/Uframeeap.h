// What the wizard's WPA and RADIUS pages share: the 802.1x login with an EAP type (TLS or
// PEAP), a certificate from the adapter, the inner method of PEAP, the login name, password and
// domain; on the WPA page also the cipher. Each page gives its own design places.
#pragma once

#include <cstddef>
#include <vector>

#include "../classlib/ExtCtrls.h"
#include "../classlib/StdCtrls.h"
#include "../core/Uvyxwltypes.h"
#include "../monitor/Propertypageframeunit.h"
#include "Ueaprules.h"

class TFrameEap : public TPropertyPageFrame {
public:
    // Fills the EAP type, inner method and (WPA page) cipher lists.
    void InitPage() override;
    // Lets go of the certificate lists, the list's items first.
    void ClosePage() override;
    // Reads the certificates anew and shows the profile's 802.1x fields.
    bool EnterPage(TPropertyPageFrame* other, int direction, int mode) override;
    // Forward: the checks, then the 802.1x fields; any other direction stores nothing.
    bool LeavePage(TPropertyPageFrame* other, int direction, int mode) override;
    void AdapterChanged(CAdapter* adapter, int kind, int reserved) override;

    // The EAP type chosen: places, background, certificate list, the password emptied.
    void CmbAuthenSelect(TObject* sender);
    void FillCertificateCombo(int32_t type);
    void LoadCertificateList(std::vector<CertificateEntry>& list, int32_t kind);
    void FreeCertificateList(std::vector<CertificateEntry>& list);
    bool ValidateEapLogin(int32_t type);
    int ShowPageError(int flags, const AnsiString& text);

    TImage* ImgBG;
    TComboBox* CmbAuthen;
    TEdit* EdtName;
    TEdit* EdtPasswd;
    TEdit* EdtServer;
    TComboBox* CmbCert;
    TComboBox* CmbInner;
    TComboBox* CmbEncry = nullptr;  // the WPA page's only

    CAdapter* Adapter = nullptr;
    std::vector<CertificateEntry> ClientCertificates;
    std::vector<CertificateEntry> CACertificates;

protected:
    // layout: the page's design places (its PEAP places), by control name.
    TFrameEap(TComponent* owner, bool wpaPage, const ControlSpec* layout, size_t count);
    // The background of an EAP type.
    virtual TImage* Background(int32_t type) const = 0;

private:
    template <class T>
    T* Make(const char* name);
    TEdit* MakeEdit(const char* name);
    TComboBox* MakeCombo(const char* name);
    TControl* ControlOf(EapControl control) const;
    // The list's items refer into the certificate lists: emptied before those change.
    void ForgetCertificateItems();

    bool wpaPage_;
    const ControlSpec* layout_;
    size_t layoutCount_;
};
