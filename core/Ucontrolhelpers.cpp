#include "Ucontrolhelpers.h"

#include "../classlib/StdCtrls.h"
#include "Udefine.h"
#include "Uvyxwltypes.h"

bool SelectComboByValue(const CFAGlobalVar& settings, TComboBox* combo, intptr_t value) {
    (void)settings;
    TStrings* items = combo->Items();
    for (int i = 0; i < items->Count(); ++i) {
        if (items->Value(i) == value) {
            combo->SetItemIndex(i);
            return true;
        }
    }
    return false;
}

bool SelectComboByNames(const CFAGlobalVar& settings, TComboBox* combo, const AnsiString& name,
                        const AnsiString& issuer) {
    (void)settings;
    TStrings* items = combo->Items();
    for (int i = 0; i < items->Count(); ++i) {
        const auto* entry = static_cast<const CertificateEntry*>(items->Objects(i));
        if (!entry) continue;
        if (TextField(entry->Name) == name && TextField(entry->Issuer) == issuer) {
            combo->SetItemIndex(i);
            return true;
        }
    }
    return false;
}
