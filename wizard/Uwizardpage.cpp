#include "Uwizardpage.h"

#include "../classlib/Application.h"
#include "../classlib/StdCtrls.h"
#include "../core/Ucontrolhelpers.h"
#include "../core/Udefine.h"
#include "../core/Uvyxwllib.h"
#include "../monitor/Propertypageframeunit.h"
#include "../monitor/Trifacebtn.h"
#include "../monitor/Uformmain.h"
#include "../monitor/Uformmessage.h"
#include "Ukeyrules.h"

int ShowWizardMessage(TControl* control, int flags, const AnsiString& text) {
    TAutoFree<TFormMessage> dialog(NewForm<TFormMessage>(Application));
    return ShowMessageBox(dialog.get(), control ? GetParentForm(control) : nullptr, flags, text);
}

AnsiString ErrorText(const char* key, const char* english) {
    return FAGlobalVar.ReadTextString("ErMsg", key, english);
}

intptr_t SelectedComboValue(TComboBox* combo, intptr_t fallback) {
    int index = combo->ItemIndex();
    if (index < 0 || index >= combo->Items()->Count()) return fallback;
    return combo->Items()->Value(index);
}

void FillCombo(TComboBox* combo, const std::vector<WizardChoice>& choices) {
    combo->Clear();
    for (const WizardChoice& choice : choices) combo->Items()->AddValue(choice.Text, choice.Value);
}

void SelectValueOrFirst(TComboBox* combo, intptr_t value) {
    if (SelectComboByValue(FAGlobalVar, combo, value)) return;
    if (combo->Items()->Count() > 0) combo->SetItemIndex(0);
}

void UnmaskForKey(TEdit* edit, char& key) {
    AnsiString text = edit->Text();
    switch (MaskedKeyAction(key, text.size(), static_cast<size_t>(edit->SelLength()))) {
        case TMaskedKey::Keep:
            return;
        case TMaskedKey::Unmask:
            edit->SetPasswordChar(0);
            if (!text.empty()) edit->SelectAll();
            return;
        case TMaskedKey::UnmaskIfPasted:
            // The edit would paste on this key: paste here instead, to see what it did.
            key = 0;
            edit->PasteFromClipboard();
            if (edit->Text() != text) edit->SetPasswordChar(0);
            return;
    }
}

void PlaceWizardPage(TPropertyPageFrame* page, TWinControl* parent, const ControlSpec* layout,
                     size_t count, const char* name) {
    page->Name = name;
    page->SetBoundsFrom(layout, count);
    page->Font()->SetName("Arial");
    page->Font()->SetSize(8);
    page->SetParent(parent);
    page->Hide();
}

void SetButtonFaces(TTrifaceBtn* button, TImage* normal, TImage* hover, TImage* down) {
    button->SetFaces(normal->Picture()->Bitmap());
    button->SetFacesOver(hover->Picture()->Bitmap());
    button->SetFacesDown((down ? down : hover)->Picture()->Bitmap());
}

AnsiString DriverIpText(const uint8_t* address) {
    char text[260] = {};
    if (DriverLib.VYXWL_IPDataToStr) DriverLib.VYXWL_IPDataToStr(address, text);
    text[sizeof(text) - 1] = '\0';
    return text;
}
