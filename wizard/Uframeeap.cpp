#include "Uframeeap.h"

#include "../classlib/Application.h"
#include "../core/Uadapter.h"
#include "../core/Ucontrolhelpers.h"
#include "../core/Udefine.h"
#include "Uwizardpage.h"

TFrameEap::TFrameEap(TComponent* owner, bool wpaPage, const ControlSpec* layout, size_t count)
    : TPropertyPageFrame(owner), wpaPage_(wpaPage), layout_(layout), layoutCount_(count) {
    SetBounds(0, 0, 572, 219);
    // Made in the rows' order, which is the tab order.
    ImgBG = Make<TImage>("ImgBG");
    CmbAuthen = MakeCombo("CmbAuthen");
    CmbAuthen->OnSelect = Bind(this, &TFrameEap::CmbAuthenSelect);
    EdtName = MakeEdit("EdtName");
    EdtPasswd = MakeEdit("EdtPasswd");
    EdtPasswd->SetPasswordChar('*');
    EdtServer = MakeEdit("EdtServer");
    CmbCert = MakeCombo("CmbCert");
    CmbInner = MakeCombo("CmbInner");
    if (wpaPage_) CmbEncry = MakeCombo("CmbEncry");
}

template <class T>
T* TFrameEap::Make(const char* name) {
    T* control = new T(this);
    control->Name = name;
    control->SetBoundsFrom(layout_, layoutCount_);
    control->SetParent(this);
    return control;
}

TEdit* TFrameEap::MakeEdit(const char* name) {
    TEdit* edit = Make<TEdit>(name);
    edit->SetMaxLength(kEapEditMaxLength);
    edit->SetTabStop(true);
    return edit;
}

TComboBox* TFrameEap::MakeCombo(const char* name) {
    TComboBox* combo = Make<TComboBox>(name);
    combo->SetTabStop(true);
    return combo;
}

TControl* TFrameEap::ControlOf(EapControl control) const {
    switch (control) {
        case kEapAuthen:
            return CmbAuthen;
        case kEapName:
            return EdtName;
        case kEapPasswd:
            return EdtPasswd;
        case kEapServer:
            return EdtServer;
        case kEapCert:
            return CmbCert;
        case kEapInner:
            return CmbInner;
        case kEapEncry:
            return CmbEncry;
        case kEapControlCount:
            break;
    }
    return nullptr;
}

void TFrameEap::InitPage() {
    const CCommonString& words = FAGlobalVar.Words;
    FillCombo(CmbAuthen, EapTypeChoices(words));
    FillCombo(CmbInner, EapInnerChoices(words));
    if (CmbEncry) FillCombo(CmbEncry, EapCipherChoices(words));
    TPropertyPageFrame::InitPage();
}

void TFrameEap::ClosePage() {
    FreeCertificateList(ClientCertificates);
    FreeCertificateList(CACertificates);
    TPropertyPageFrame::ClosePage();
}

void TFrameEap::ForgetCertificateItems() {
    CmbCert->Clear();
}

void TFrameEap::FreeCertificateList(std::vector<CertificateEntry>& list) {
    ForgetCertificateItems();
    std::vector<CertificateEntry>().swap(list);
}

void TFrameEap::LoadCertificateList(std::vector<CertificateEntry>& list, int32_t kind) {
    FreeCertificateList(list);
    if (Adapter) Adapter->GetCertificates(list, kind);
}

void TFrameEap::CmbAuthenSelect(TObject*) {
    if (CmbAuthen->ItemIndex() < 0) return;
    int32_t type = static_cast<int32_t>(SelectedComboValue(CmbAuthen, kEapTLS));
    if (TImage* background = Background(type)) ImgBG->Picture()->Assign(background->Picture());
    EapLayout layout = EapPageLayout(wpaPage_, type);
    for (int i = 0; i < kEapControlCount; ++i) {
        TControl* control = ControlOf(static_cast<EapControl>(i));
        if (!control) continue;
        control->SetBounds(kEapControlLeft, layout.Top[i], control->Width(), control->Height());
        control->SetVisible(layout.Shown[i]);
    }
    Application->ProcessMessages();
    FillCertificateCombo(type);
}

void TFrameEap::FillCertificateCombo(int32_t type) {
    ForgetCertificateItems();
    for (const CertificateItem& item :
         CertificateItems(FAGlobalVar.Words, type, ClientCertificates, CACertificates))
        CmbCert->Items()->AddObject(item.Text, const_cast<CertificateEntry*>(item.Entry));
    if (CertificateKindFor(type) == kCertAuthority && CmbCert->Items()->Count() > 0)
        CmbCert->SetItemIndex(0);
    // Every change of the EAP type asks for the password again.
    EdtPasswd->Clear();
}

bool TFrameEap::EnterPage(TPropertyPageFrame* other, int direction, int mode) {
    const WLProfile& profile = FAGlobalVar.EditProfile;
    LoadCertificateList(ClientCertificates, kCertClient);
    LoadCertificateList(CACertificates, kCertAuthority);
    SelectValueOrFirst(CmbAuthen, profile.MS8021xAuthMode);
    CmbAuthenSelect(CmbAuthen);

    StoredCertificate stored =
        StoredCertificateFor(profile, static_cast<int32_t>(SelectedComboValue(CmbAuthen, kEapTLS)));
    if (stored.Look && !SelectComboByNames(FAGlobalVar, CmbCert, stored.Name, stored.Issuer)) {
        bool first = stored.FirstWhenMissing && CmbCert->Items()->Count() > 0;
        CmbCert->SetItemIndex(first ? 0 : -1);
    }
    SelectValueOrFirst(CmbInner, profile.PeapEap);
    if (CmbEncry) SelectValueOrFirst(CmbEncry, profile.WPAEncryptionType);

    EdtName->SetText(TextField(profile.LoginName));
    EdtPasswd->SetText(TextField(profile.LoginPassword));
    EdtServer->SetText(TextField(profile.DomainName));
    return TPropertyPageFrame::EnterPage(other, direction, mode);
}

int TFrameEap::ShowPageError(int flags, const AnsiString& text) {
    return ShowWizardMessage(this, flags, text);
}

bool TFrameEap::ValidateEapLogin(int32_t type) {
    EapEntries entries;
    entries.Name = EdtName->Text();
    entries.Password = EdtPasswd->Text();
    entries.CertificateSelected = CmbCert->ItemIndex() >= 0;
    EapCheck check = CheckEapLogin(type, entries);
    if (check == EapCheck::Passed) return true;
    EapCheckMessage message = EapCheckMessageOf(check);
    if (auto* edit = dynamic_cast<TEdit*>(ControlOf(message.Focus))) {
        edit->Clear();
        if (edit->CanFocus()) edit->SetFocus();
    }
    ShowPageError(kMsgStop, ErrorText(message.Key, message.English));
    return false;
}

bool TFrameEap::LeavePage(TPropertyPageFrame* other, int direction, int mode) {
    // Back keeps PrevPage as it was: the page is left without the base operation.
    if (direction != kPageForward) return true;
    EapChoice choice;
    choice.Type = static_cast<int32_t>(SelectedComboValue(CmbAuthen, kEapTLS));
    if (!ValidateEapLogin(choice.Type)) return false;
    int index = CmbCert->ItemIndex();
    if (index >= 0 && index < CmbCert->Items()->Count())
        choice.Certificate = static_cast<const CertificateEntry*>(CmbCert->Items()->Objects(index));
    choice.Inner = static_cast<int32_t>(SelectedComboValue(CmbInner, kPeapMsChapV2));
    if (CmbEncry) choice.Cipher = static_cast<int32_t>(SelectedComboValue(CmbEncry, kCipherTKIP));
    choice.Entries.Name = EdtName->Text();
    choice.Entries.Password = EdtPasswd->Text();
    choice.Entries.Domain = EdtServer->Text();
    StoreEapChoice(FAGlobalVar.EditProfile, choice, wpaPage_);
    return TPropertyPageFrame::LeavePage(other, direction, mode);
}

void TFrameEap::AdapterChanged(CAdapter* adapter, int kind, int reserved) {
    if (kind == acAttached) Adapter = adapter;
    if (kind == acDetached) Adapter = nullptr;
    TPropertyPageFrame::AdapterChanged(adapter, kind, reserved);
}
