#include "Propertypageframeunit.h"

TPropertyPageFrame::TPropertyPageFrame(TComponent* owner) : TFrame(owner) {
    SetVisible(false);
    SetBounds(0, 0, 331, 167);
}

void TPropertyPageFrame::InitPage() {}

void TPropertyPageFrame::ClosePage() {}

void TPropertyPageFrame::ResetPage() {}

bool TPropertyPageFrame::EnterPage(TPropertyPageFrame* other, int direction, int mode) {
    (void)mode;
    if (direction == kPageForward) PrevPage = other;
    return true;
}

bool TPropertyPageFrame::LeavePage(TPropertyPageFrame* other, int direction, int mode) {
    (void)other;
    (void)mode;
    if (direction == kPageBack) PrevPage = nullptr;
    return true;
}

void TPropertyPageFrame::AdapterChanged(CAdapter* adapter, int kind, int reserved) {
    (void)adapter;
    (void)kind;
    (void)reserved;
}

void TPropertyPageFrame::AdapterEvent(CAdapter* adapter, int type, int value) {
    (void)adapter;
    (void)type;
    (void)value;
}
