// The pages of one window and the switch between them, for the main window's tabs and the
// wizard's Next and Back alike. A switch asks the current page to go and the new one to come;
// either may refuse, and then nothing changes. Once made, the new page is the only one showing,
// each page's tab shows whether it is the current one, and the page's focus control takes the
// focus when it can.
#pragma once

#include <functional>
#include <vector>

#include "Propertypageframeunit.h"

class TQXImage;
class TWinControl;

class TPageHost {
public:
    // Tab faces of the pages' tabs.
    static constexpr int kTabNormal = 0;
    static constexpr int kTabSelected = 1;

    // Names the page a forward move goes to; left is the page just left (null at the start).
    using TRoute = std::function<TPropertyPageFrame*(TPropertyPageFrame* left)>;

    // In the window's page order. tab and focus may be null.
    void Add(TPropertyPageFrame* page, TQXImage* tab = nullptr, TWinControl* focus = nullptr);
    std::vector<TPropertyPageFrame*> Pages() const;
    TPropertyPageFrame* Current() const { return current_; }

    // The owning window's mode, handed to every EnterPage and LeavePage.
    int Mode = 0;

    // A tab switch or a jump: the current page is told where it goes. False when either page
    // refuses or there is no page.
    bool Jump(TPropertyPageFrame* page);
    // Next: the current page leaves forward; then route names the target, which is entered
    // forward and so remembers the page left as its PrevPage.
    bool Forward(const TRoute& route);
    // Back: the current page leaves backward (forgetting its PrevPage) and the page it was
    // entered from comes back. False, with the page still current, when it has none.
    bool Back();

    // InitPage on every page, each hidden after; no page current.
    void InitPages();
    // Every page hidden and none current, without asking them (the wizard's finish page).
    void HideAll();
    void ClosePages();
    void AdapterChanged(CAdapter* adapter, int kind, int reserved);
    void AdapterEvent(CAdapter* adapter, int type, int value);

private:
    struct TEntry {
        TPropertyPageFrame* Page;
        TQXImage* Tab;
        TWinControl* Focus;
    };

    bool GoTo(TPropertyPageFrame* page, int direction);
    void ShowCurrent();

    std::vector<TEntry> entries_;
    TPropertyPageFrame* current_ = nullptr;
};
