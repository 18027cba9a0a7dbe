#include "Pagelicenseunit.h"

#include <windows.h>

#include "Setupsettings.h"

namespace {

const ControlSpec kLayout[] = {
    {"RichEditLicense", 52, 124, 472, 135},
};

}  // namespace

TLicensePage::TLicensePage(TComponent* owner) : TSetupPage(owner, "ImgLicensePage") {
    RichEditLicense = NewControl<TRichEdit>(this, this, kLayout, "RichEditLicense");
    RichEditLicense->SetReadOnly(true);
    RichEditLicense->SetWordWrap(false);
    TFont* font = RichEditLicense->Font();
    font->SetName("MS Sans Serif");
    font->SetSize(8);
    font->SetCharset(CHINESEBIG5_CHARSET);
}

void TLicensePage::InitPage() {
    RichEditLicense->Clear();
    AnsiString path = ProgramDirectory() + SetupSettings.EULA;
    if (FileExists(path)) RichEditLicense->LoadFromFile(path);
    TSetupPage::InitPage();
}
