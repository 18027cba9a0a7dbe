// An icon in the notification area: its picture from an image list, its tip,
// and the mouse events on it.
#pragma once

#include <windows.h>
// The shell's types after the base types.
#include <shellapi.h>

#include "Controls.h"
#include "ImgList.h"

class TTrayIcon : public TComponent {
public:
    explicit TTrayIcon(TComponent* owner);
    ~TTrayIcon() override;

    TImageList* Icons() const { return icons_; }
    void SetIcons(TImageList* icons);
    int IconIndex() const { return iconIndex_; }
    // The notification area is told only of a change of the icon or the tip.
    void SetIconIndex(int index);
    // Cut to what the notification area holds (127 characters); false when that is the tip
    // already.
    const AnsiString& Hint() const { return hint_; }
    bool SetHint(const AnsiString& hint);
    // Adds the icon to the notification area, or removes it.
    bool Visible() const { return visible_; }
    void SetVisible(bool visible);
    // False when the notification area refused the last change.
    bool Shown() const { return shown_; }

    // The window the icon reports to, and the message it reports with.
    HWND Handle() const { return window_.Handle(); }
    static constexpr UINT CallbackMessage = WM_APP + 0x2F0;

    // Where the icon's changes go: the shell's notification area (tests look in between).
    using ShellNotifyFunction = BOOL(WINAPI*)(DWORD action, NOTIFYICONDATAA* data);
    static ShellNotifyFunction ShellNotify;

    TNotifyEvent OnClick;  // left button released on the icon
    TNotifyEvent OnDblClick;
    TMouseEvent OnMouseDown;
    TMouseEvent OnMouseUp;

private:
    bool HandleMessage(TMessage& msg);
    bool Notify(DWORD action);
    void UpdateIcon();

    TUtilityWindow window_;
    TImageList* icons_ = nullptr;
    int iconIndex_ = 0;
    AnsiString hint_;
    bool visible_ = false;
    bool shown_ = false;
    HICON icon_ = nullptr;
    UINT taskbarCreated_ = 0;
};
