// Base of every window of the monitor.
//
// TFormBase adds PrepareForm, run before a window is shown, takes the codes of the broadcast
// message to one handler a code, and ends any modal run of the window with result 2 when the
// close-dialogs code arrives.
#pragma once

#include <windows.h>

#include <functional>
#include <map>
#include <type_traits>
#include <utility>

#include "../classlib/Forms.h"
#include "../core/Umessages.h"

// What follows a broadcast code's handler.
enum class TBaseHandling {
    Skip,  // nothing
    Run,   // the base form's own handling too: bmCloseDialogs ends a modal run
};

// A code's handler; what it returns is the message's answer to a sender that waits for it.
using TBroadcastHandler = std::function<LRESULT(LPARAM lParam)>;

class TFormBase : public TForm {
public:
    explicit TFormBase(TComponent* owner);

    // Prepares the window before it is shown; arg is the window's own (message
    // flags, wizard mode, progress duration). False: the window is not to be shown.
    // Overrides do their own work and end by calling this one.
    virtual bool PrepareForm(int arg);

    // One handler a code of BroadcastMsgId; a later one for the same code replaces it. A handler
    // that returns nothing answers 0.
    template <class F>
    void OnBroadcast(WPARAM code, F handler, TBaseHandling then = TBaseHandling::Skip) {
        if constexpr (std::is_void_v<std::invoke_result_t<F&, LPARAM>>) {
            SetBroadcast(
                code,
                [handler = std::move(handler)](LPARAM lParam) mutable -> LRESULT {
                    handler(lParam);
                    return 0;
                },
                then);
        } else {
            SetBroadcast(code, TBroadcastHandler(std::move(handler)), then);
        }
    }

    // A broadcast code goes to its handler. The base handling, for codes without one and after
    // those that ask for it: bmCloseDialogs sets the modal result to 2 and goes no further,
    // everything else goes to the form's handling.
    void WndProc(TMessage& msg) override;

private:
    void SetBroadcast(WPARAM code, TBroadcastHandler handler, TBaseHandling then);

    struct TBroadcastEntry {
        TBroadcastHandler Handler;
        TBaseHandling Then;
    };
    std::map<WPARAM, TBroadcastEntry> broadcasts_;
};
