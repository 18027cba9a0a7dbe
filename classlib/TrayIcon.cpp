#include "TrayIcon.h"

#include <shellapi.h>

#include <cstring>

namespace {
const size_t kTipLength = sizeof(NOTIFYICONDATAA::szTip) - 1;
}

TTrayIcon::TTrayIcon(TComponent* owner)
    : TComponent(owner), window_(this, [this](TMessage& msg) { return HandleMessage(msg); }) {
    // Sent when the taskbar (re)starts: the icon is added again.
    taskbarCreated_ = RegisterWindowMessageA("TaskbarCreated");
}

TTrayIcon::~TTrayIcon() {
    if (shown_) Notify(NIM_DELETE);
    if (icon_) DestroyIcon(icon_);
}

TTrayIcon::ShellNotifyFunction TTrayIcon::ShellNotify = Shell_NotifyIconA;

void TTrayIcon::SetIcons(TImageList* icons) {
    icons_ = icons;
    UpdateIcon();
}

void TTrayIcon::SetIconIndex(int index) {
    // The notification area redraws at every change it is told of.
    if (index == iconIndex_ && icon_) return;
    iconIndex_ = index;
    UpdateIcon();
}

void TTrayIcon::UpdateIcon() {
    HICON old = icon_;
    icon_ = icons_ ? icons_->GetIcon(iconIndex_) : nullptr;
    if (visible_) Notify(NIM_MODIFY);
    if (old) DestroyIcon(old);
}

bool TTrayIcon::SetHint(const AnsiString& hint) {
    AnsiString cut = hint.substr(0, kTipLength);
    if (cut == hint_) return false;
    hint_ = cut;
    if (visible_) Notify(NIM_MODIFY);
    return true;
}

void TTrayIcon::SetVisible(bool visible) {
    if (visible == visible_) return;
    visible_ = visible;
    if (visible) {
        shown_ = Notify(NIM_ADD);
    } else {
        Notify(NIM_DELETE);
        shown_ = false;
    }
}

bool TTrayIcon::Notify(DWORD action) {
    NOTIFYICONDATAA data = {};
    data.cbSize = NOTIFYICONDATAA_V2_SIZE;  // the tip of 128 characters, known since Windows 2000
    data.hWnd = window_.Handle();
    data.uID = 1;
    data.uFlags = NIF_MESSAGE | NIF_TIP | (icon_ ? NIF_ICON : 0);
    data.uCallbackMessage = CallbackMessage;
    data.hIcon = icon_;
    std::memcpy(data.szTip, hint_.c_str(), hint_.size() + 1);  // cut by SetHint
    bool ok = ShellNotify(action, &data) != FALSE;
    if (action == NIM_MODIFY && !ok && visible_) {
        ok = ShellNotify(NIM_ADD, &data) != FALSE;  // lost by the taskbar meanwhile
    }
    if (action != NIM_DELETE) shown_ = ok;
    return ok;
}

bool TTrayIcon::HandleMessage(TMessage& msg) {
    if (msg.Msg == taskbarCreated_ && taskbarCreated_) {
        // A new taskbar has lost the icon; an icon still there is brought up to date.
        if (visible_ && !Notify(NIM_ADD)) Notify(NIM_MODIFY);
        return false;
    }
    if (msg.Msg != CallbackMessage) return false;
    POINT p;
    GetCursorPos(&p);
    TShiftState shift = KeyboardShiftState();
    switch (static_cast<UINT>(msg.LParam)) {
        case WM_LBUTTONDOWN:
            if (OnMouseDown) OnMouseDown(this, mbLeft, shift | ssLeft, p.x, p.y);
            break;
        case WM_LBUTTONUP:
            if (OnMouseUp) OnMouseUp(this, mbLeft, shift, p.x, p.y);
            if (OnClick) OnClick(this);
            break;
        case WM_LBUTTONDBLCLK:
            if (OnDblClick) OnDblClick(this);
            break;
        case WM_RBUTTONDOWN:
            if (OnMouseDown) OnMouseDown(this, mbRight, shift | ssRight, p.x, p.y);
            break;
        case WM_RBUTTONUP:
            if (OnMouseUp) OnMouseUp(this, mbRight, shift, p.x, p.y);
            break;
        default:
            break;
    }
    return true;
}
