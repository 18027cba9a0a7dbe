#include "Uformprogress.h"

#include "../core/Udefine.h"
#include "Uformlayout.h"
#include "Uformres.h"
#include "Uskinwindow.h"

namespace {

const ControlSpec kLayout[] = {
    {"ImgBg", 0, 0, 296, 85},
};

constexpr int kSteps = 5;

TPicture* StepPicture(int step) {
    TImage* const pictures[kSteps] = {FormRes->ImgProgress0, FormRes->ImgProgress1,
                                      FormRes->ImgProgress2, FormRes->ImgProgress3,
                                      FormRes->ImgProgress4};
    return pictures[step]->Picture();
}

}  // namespace

TFormProgress::TFormProgress(TComponent* owner) : TFormBase(owner) {
    ImgBg = NewControl<TImage>(this, this, kLayout, "ImgBg");
    TimerClose = NewComponent<TTimer>(this, "TimerClose");
    TimerClose->SetEnabled(false);
    TimerClose->OnTimer = Bind(this, &TFormProgress::TimerCloseTimer);
    OnCreate = Bind(this, &TFormProgress::FormCreate);
}

void TFormProgress::FormCreate(TObject*) {
    MakeBorderless(this, StepPicture(0), 15);
    // The steps stop with the run that the base handling ends.
    OnBroadcast(
        bmCloseDialogs, [this](LPARAM) { TimerClose->SetEnabled(false); }, TBaseHandling::Run);
}

bool TFormProgress::PrepareForm(int arg) {
    ImgBg->Picture()->Assign(StepPicture(0));
    return TFormBase::PrepareForm(arg);
}

void TFormProgress::TimerCloseTimer(TObject*) {
    intptr_t step = ++TimerClose->Tag;
    if (step < kSteps) {
        ImgBg->Picture()->Assign(StepPicture(static_cast<int>(step)));
        return;
    }
    TimerClose->SetEnabled(false);
    SetModalResult(mrOk);
}

void ShowProgress(TFormProgress* form, TForm* owner, uint32_t durationMs) {
    form->PrepareForm(static_cast<int>(durationMs));
    CentreOver(form, owner);
    form->TimerClose->Tag = 0;
    form->TimerClose->SetInterval(ProgressInterval(durationMs));
    form->TimerClose->SetEnabled(true);
    form->ShowModal();
}
