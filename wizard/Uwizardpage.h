// What the profile wizard's pages and its window share: the message dialog over the window a
// control lies on, valued drop-down lists, the skinned buttons' faces, whether the program
// controls the adapter (Uformmain's ControlOnFor), and the driver library's pure conversions.
#pragma once

#include <cstdint>
#include <vector>

#include "../classlib/AnsiString.h"
#include "../classlib/Controls.h"
#include "../classlib/ExtCtrls.h"
#include "../core/Uvyxwllib.h"
#include "../monitor/Uformmain.h"
#include "../monitor/Uprofilelogic.h"  // the message flags, the profile messages
#include "Uwizardrules.h"

class TComboBox;
class TEdit;
class TTrifaceBtn;
class TPropertyPageFrame;

// The message dialog centred over the window of control (or on the screen while that is not
// showing); the button's result.
int ShowWizardMessage(TControl* control, int flags, const AnsiString& text);
// A text of the string file's section "ErMsg".
AnsiString ErrorText(const char* key, const char* english);

// The value of a list's selected item; fallback when nothing is selected.
intptr_t SelectedComboValue(TComboBox* combo, intptr_t fallback);
// The list emptied and filled with the choices, each item carrying its value.
void FillCombo(TComboBox* combo, const std::vector<WizardChoice>& choices);
// Selects the item of value, else the first item when there is one.
void SelectValueOrFirst(TComboBox* combo, intptr_t value);

// A key pressed in a masked passphrase or key edit: shown in plain when the key replaces the
// whole text (selected again, so that the key replaces it), or when the edit is empty. Ctrl+V
// is pasted here (key becomes 0) and shows the text only when the paste changed it.
void UnmaskForKey(TEdit* edit, char& key);

// A page placed on parent at its row of the layout table, hidden, in the pages' font.
void PlaceWizardPage(TPropertyPageFrame* page, TWinControl* parent, const ControlSpec* layout,
                     size_t count, const char* name);

// Normal face, and the hover face that also serves as the pressed one unless a pressed face
// is given.
void SetButtonFaces(TTrifaceBtn* button, TImage* normal, TImage* hover, TImage* down = nullptr);

// VYXWL_IPDataToStr of a 4-byte address into a buffer cleared for this call, so a failed
// conversion shows nothing rather than an earlier address.
AnsiString DriverIpText(const uint8_t* address);
