// Base of every page (main window, wizard, quick connect dialog, setup) and of
// the IP address entry frame: the operations through which a window drives its pages.
#pragma once

#include "../classlib/Forms.h"
#include "../core/Umessages.h"

class CAdapter;

// Directions of EnterPage and LeavePage.
constexpr int kPageJump = 0;     // a tab switch or a jump
constexpr int kPageForward = 1;  // Next
constexpr int kPageBack = 2;     // Back

class TPropertyPageFrame : public TFrame {
public:
    explicit TPropertyPageFrame(TComponent* owner);

    // The page this one was entered from going forward, for Back.
    TPropertyPageFrame* PrevPage = nullptr;

    // Once, when the owning window prepares itself.
    virtual void InitPage();
    // When the owning window closes: let go of list items and threads.
    virtual void ClosePage();
    // Clears what the page shows.
    virtual void ResetPage();
    // Before the page is shown; false refuses the switch. Forward remembers other.
    virtual bool EnterPage(TPropertyPageFrame* other, int direction, int mode);
    // Before the page is hidden; false keeps the page. Back forgets PrevPage.
    virtual bool LeavePage(TPropertyPageFrame* other, int direction, int mode);
    // kind acAttached: an adapter was attached (with its worker); acDetached: it went.
    virtual void AdapterChanged(CAdapter* adapter, int kind, int reserved);
    // type aeStatusUpdated, aeControlSwitched (value 1 on, 0 off) or aeProfileApplied; value is
    // the broadcast's lParam.
    virtual void AdapterEvent(CAdapter* adapter, int type, int value);
};
