// Pop-up menus built from their items each time they open.
#pragma once

#include <windows.h>

#include <initializer_list>
#include <utility>
#include <vector>

#include "Controls.h"

class TPopupMenu;

class TMenuItem : public TComponent {
public:
    explicit TMenuItem(TComponent* owner);
    ~TMenuItem() override;

    // "-" makes a separator.
    AnsiString Caption;
    bool Visible = true;
    bool Enabled = true;

    void Click();
    TNotifyEvent OnClick;

private:
    friend class TPopupMenu;
    TPopupMenu* menu_ = nullptr;
};

class TPopupMenu : public TComponent {
public:
    explicit TPopupMenu(TComponent* owner);
    ~TPopupMenu() override;

    void Add(TMenuItem* item);
    void Remove(TMenuItem* item);
    int Count() const { return static_cast<int>(items_.size()); }
    TMenuItem* Items(int index) const { return items_.at(static_cast<size_t>(index)); }

    // Shows the visible items at a screen point and waits for the choice; the
    // chosen item's OnClick runs before it returns.
    void Popup(int x, int y);
    // The menu while it is open, else null.
    HMENU Handle() const { return menu_; }

private:
    std::vector<TMenuItem*> items_;
    TUtilityWindow window_;
    HMENU menu_ = nullptr;
};

// Each item's caption read by the key beside it, with the caption it has as the default.
void ReadTexts(const TTextReader& read,
               std::initializer_list<std::pair<TMenuItem*, const char*>> items);
