#include "Upagehost.h"

#include "Qximage.h"

void TPageHost::Add(TPropertyPageFrame* page, TQXImage* tab, TWinControl* focus) {
    entries_.push_back(TEntry{page, tab, focus});
}

std::vector<TPropertyPageFrame*> TPageHost::Pages() const {
    std::vector<TPropertyPageFrame*> pages;
    for (const TEntry& e : entries_) pages.push_back(e.Page);
    return pages;
}

bool TPageHost::Jump(TPropertyPageFrame* page) {
    if (current_ && !current_->LeavePage(page, kPageJump, Mode)) return false;
    return GoTo(page, kPageJump);
}

bool TPageHost::Forward(const TRoute& route) {
    if (current_ && !current_->LeavePage(nullptr, kPageForward, Mode)) return false;
    return GoTo(route ? route(current_) : nullptr, kPageForward);
}

bool TPageHost::Back() {
    if (!current_) return false;
    // Leaving backward clears it.
    TPropertyPageFrame* back = current_->PrevPage;
    if (!current_->LeavePage(nullptr, kPageBack, Mode)) return false;
    return GoTo(back, kPageBack);
}

bool TPageHost::GoTo(TPropertyPageFrame* page, int direction) {
    if (!page || !page->EnterPage(current_, direction, Mode)) return false;
    current_ = page;
    ShowCurrent();
    return true;
}

void TPageHost::ShowCurrent() {
    // The old page goes before the new one shows, so the two never show together.
    for (const TEntry& e : entries_)
        if (e.Page != current_) e.Page->Hide();
    current_->Show();
    for (const TEntry& e : entries_) {
        if (e.Tab) e.Tab->SetImageIndex(e.Page == current_ ? kTabSelected : kTabNormal);
        if (e.Page == current_ && e.Focus && e.Focus->CanFocus()) e.Focus->SetFocus();
    }
}

void TPageHost::InitPages() {
    for (const TEntry& e : entries_) {
        e.Page->InitPage();
        e.Page->Hide();
    }
    current_ = nullptr;
}

void TPageHost::HideAll() {
    for (const TEntry& e : entries_) e.Page->Hide();
    current_ = nullptr;
}

void TPageHost::ClosePages() {
    for (const TEntry& e : entries_) e.Page->ClosePage();
}

void TPageHost::AdapterChanged(CAdapter* adapter, int kind, int reserved) {
    for (const TEntry& e : entries_) e.Page->AdapterChanged(adapter, kind, reserved);
}

void TPageHost::AdapterEvent(CAdapter* adapter, int type, int value) {
    for (const TEntry& e : entries_) e.Page->AdapterEvent(adapter, type, value);
}
