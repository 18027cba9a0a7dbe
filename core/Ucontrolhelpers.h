// Selecting a combo box item by the value stored with it: a whole-number code,
// or a certificate's name and issuer.
#pragma once

#include <cstdint>

#include "../classlib/AnsiString.h"

class CFAGlobalVar;
class TComboBox;

// Selects the first item whose stored value is value; false, and the selection
// left as it was, when none is.
bool SelectComboByValue(const CFAGlobalVar& settings, TComboBox* combo, intptr_t value);

// Selects the first item whose stored CertificateEntry has exactly this name and
// issuer (case counts); items storing no entry are skipped. False, and the
// selection left as it was, when none matches.
bool SelectComboByNames(const CFAGlobalVar& settings, TComboBox* combo, const AnsiString& name,
                        const AnsiString& issuer);
