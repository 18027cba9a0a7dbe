#include "Uformbase.h"

#include <utility>

#include "../core/Udefine.h"

TFormBase::TFormBase(TComponent* owner) : TForm(owner) {
    SetBorderStyle(bsNone);
    SetPosition(poScreenCenter);
    Font()->SetName("MS Sans Serif");
    Font()->SetHeight(-11);
    SetClientWidth(268);
    SetClientHeight(197);
}

bool TFormBase::PrepareForm(int arg) {
    (void)arg;
    return true;
}

void TFormBase::SetBroadcast(WPARAM code, TBroadcastHandler handler, TBaseHandling then) {
    broadcasts_[code] = TBroadcastEntry{std::move(handler), then};
}

void TFormBase::WndProc(TMessage& msg) {
    if (BroadcastMsgId == 0 || msg.Msg != BroadcastMsgId) {
        TForm::WndProc(msg);
        return;
    }
    auto found = broadcasts_.find(msg.WParam);
    if (found != broadcasts_.end()) {
        // A copy: the handler may register another one for its own code.
        TBroadcastEntry entry = found->second;
        LRESULT answer = entry.Handler(msg.LParam);
        if (entry.Then == TBaseHandling::Skip) {
            msg.Result = answer;
            return;
        }
    }
    if (msg.WParam == bmCloseDialogs) {
        SetModalResult(mrCancel);
        // A code sent from another thread is served inside the modal loop's peek,
        // which then waits for the next message: give it one so it sees the result.
        if (InModalRun()) PostMessageA(Handle(), WM_NULL, 0, 0);
        msg.Result = 0;
        return;
    }
    TForm::WndProc(msg);
}
