// The text prompt: one line of text (a profile name) with OK and Cancel. Made
// once at start and reused; each use starts with SetPromptText.
#pragma once

#include "../classlib/StdCtrls.h"
#include "Uformbase.h"
#include "Uprofilelogic.h"

class TFormAskInfo : public TFormBase {
public:
    explicit TFormAskInfo(TComponent* owner);

    // Title the message title, prompt and input empty, button captions from
    // "BtnCaption" with their current captions as defaults.
    bool PrepareForm(int arg) override;
    // Resets the dialog, then sets its caption and the prompt.
    void SetPromptText(const AnsiString& caption, const AnsiString& prompt);
    // The input without leading and trailing blanks and control characters.
    AnsiString GetInputText() const;

    void WndProc(TMessage& msg) override;

    TLabel* LbPrompt;
    TEdit* EdtInput;
    TButton* BtnOk;
    TButton* BtnCancel;

private:
    void BtnOkClick(TObject* sender);
    void BtnCancelClick(TObject* sender);
};

extern TFormAskInfo* FormAskInfo;

// The profile name question of the profile page and the link information page: the prompt
// centred over owner (when there is one) with the texts of prompt, run until the checks of
// prompt take a name (its Ask is the prompt's own). True with the name to use.
bool AskProfileNameOver(TForm* owner, ProfileNamePrompt prompt, AnsiString& name);
