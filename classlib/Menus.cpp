#include "Menus.h"

#include <algorithm>

TMenuItem::TMenuItem(TComponent* owner) : TComponent(owner) {}

TMenuItem::~TMenuItem() {
    if (menu_) menu_->Remove(this);
}

void TMenuItem::Click() {
    if (OnClick) OnClick(this);
}

TPopupMenu::TPopupMenu(TComponent* owner)
    : TComponent(owner), window_(this, [](TMessage&) { return false; }) {}

TPopupMenu::~TPopupMenu() {
    for (TMenuItem* item : items_) item->menu_ = nullptr;
}

void TPopupMenu::Add(TMenuItem* item) {
    if (!item || item->menu_ == this) return;
    if (item->menu_) item->menu_->Remove(item);
    items_.push_back(item);
    item->menu_ = this;
}

void TPopupMenu::Remove(TMenuItem* item) {
    auto it = std::find(items_.begin(), items_.end(), item);
    if (it == items_.end()) return;
    items_.erase(it);
    item->menu_ = nullptr;
}

void TPopupMenu::Popup(int x, int y) {
    if (menu_) return;  // already open
    menu_ = CreatePopupMenu();
    if (!menu_) throw Exception("Cannot create a menu");
    // Items are named by their position; the command 0 means no choice.
    std::vector<TMenuItem*> shown;
    for (TMenuItem* item : items_) {
        if (!item->Visible) continue;
        shown.push_back(item);
        UINT_PTR id = shown.size();
        if (item->Caption == "-") {
            AppendMenuA(menu_, MF_SEPARATOR, id, nullptr);
        } else {
            AppendMenuA(menu_, MF_STRING | (item->Enabled ? MF_ENABLED : MF_GRAYED), id,
                        item->Caption.c_str());
        }
    }
    HWND owner = window_.Handle();
    // The menu closes on a click elsewhere only when its owner is in front.
    SetForegroundWindow(owner);
    UINT chosen = static_cast<UINT>(TrackPopupMenu(
        menu_, TPM_RETURNCMD | TPM_NONOTIFY | TPM_RIGHTBUTTON, x, y, 0, owner, nullptr));
    PostMessageA(owner, WM_NULL, 0, 0);
    DestroyMenu(menu_);
    menu_ = nullptr;
    if (chosen >= 1 && chosen <= shown.size()) {
        TMenuItem* item = shown[chosen - 1];
        // The item may have gone while the menu was open.
        if (std::find(items_.begin(), items_.end(), item) != items_.end()) item->Click();
    }
}

void ReadTexts(const TTextReader& read,
               std::initializer_list<std::pair<TMenuItem*, const char*>> items) {
    for (const auto& item : items) item.first->Caption = read(item.second, item.first->Caption);
}
