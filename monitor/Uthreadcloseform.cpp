#include "Uthreadcloseform.h"

#include <utility>

#include "../classlib/Application.h"
#include "../classlib/Forms.h"
#include "../core/Udefine.h"
#include "Uformbase.h"

CThreadCloseForm::CThreadCloseForm(DWORD sendTimeoutMs)
    : TThread(true), SendTimeoutMs(sendTimeoutMs) {}

DWORD CThreadCloseForm::Start(std::function<void()> onDone, DWORD sendTimeoutMs) {
    auto* thread = new CThreadCloseForm(sendTimeoutMs);
    thread->FreeOnTerminate = true;
    if (onDone) {
        TForm* mainForm = Application->MainForm();
        thread->OnTerminate = [mainForm, onDone = std::move(onDone)](TThread*) {
            // The handler acts on the main window: once that is freed, nobody is left to act on.
            if (mainForm && Application->MainForm() != mainForm) return;
            onDone();
        };
    }
    DWORD id = thread->ThreadID();
    thread->Resume();
    return id;
}

void CThreadCloseForm::Execute() {
    DWORD_PTR answer = 0;
    // A hung window of another program must not keep the thread for ever.
    SendMessageTimeoutA(HWND_BROADCAST, BroadcastMsgId, bmCloseDialogs, 0,
                        SMTO_NORMAL | SMTO_ABORTIFHUNG, SendTimeoutMs, &answer);
    Sleep(kPauseMs);
}
