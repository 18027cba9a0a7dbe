// Top-level windows (TForm) and child containers (TFrame). Each registers its
// window class under its own class name, so other programs find a
// TFormProgress window by class "TFormProgress" and its caption.
#pragma once

#include <windows.h>

#include <functional>
#include <utility>

#include "Controls.h"

class TButton;

enum TBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog };
// Where a form shows the first time (and after Position is set again).
enum TPosition { poDesigned, poScreenCenter, poMainFormCenter };
enum TCloseAction { caNone, caHide };

constexpr int mrNone = 0;
constexpr int mrOk = 1;
constexpr int mrCancel = 2;
constexpr int mrYes = 6;
constexpr int mrNo = 7;

using TCloseEvent = std::function<void(TObject* sender, TCloseAction& action)>;

// A child window holding its own controls; derived frames are built in their
// constructor and may override WndProc.
class TFrame : public TWinControl {
public:
    explicit TFrame(TComponent* owner);

protected:
    void CreateParams(TCreateParams& params) override;
};

// Defaults: no border, font "MS Sans Serif" height -11, button face colour.
// Make forms with Application->CreateForm or NewForm, which run OnCreate once
// the whole object exists; the window is made after that, when first needed.
class TForm : public TWinControl {
public:
    explicit TForm(TComponent* owner);
    ~TForm() override;

    // OnCreate; NewForm and CreateForm call it. Its exceptions go to their caller.
    void AfterConstruction();
    // OnDestroy, then the owned components.
    void BeforeDestruction() override;

    TBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TBorderStyle style);
    TPosition Position() const { return position_; }
    void SetPosition(TPosition position);
    // Placing a form by code turns Position to poDesigned.
    void SetBounds(int left, int top, int width, int height) override;
    int ClientWidth() const override;
    int ClientHeight() const override;
    void SetClientWidth(int width);
    void SetClientHeight(int height);

    void SetVisible(bool visible) override;
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }
    // OnClose decides: a modal run ends with mrCancel, otherwise the form hides;
    // closing the main form ends the program.
    void Close();
    // Disables the program's other windows, shows the form and serves messages
    // until ModalResult is set; the form is hidden again before it returns.
    int ShowModal();
    // A modal run in the place of another shown form of the program: that form
    // hides once this one has shown, and shows again (put in its place by
    // `place` first) before this one hides, so that the activation passes
    // between the two. Hidden first, the active form would hand the activation
    // to another program's window, and this one would open without the keys.
    int ShowModalInPlaceOf(TForm* other, const std::function<void()>& place);
    int ModalResult() const { return modalResult_; }
    void SetModalResult(int result) { modalResult_ = result; }
    bool InModalRun() const { return modalRuns_ > 0; }
    TWinControl* ActiveControl();

    TNotifyEvent OnCreate;
    TNotifyEvent OnShow;
    TCloseEvent OnClose;
    TNotifyEvent OnDestroy;

    void WndProc(TMessage& msg) override;

protected:
    void CreateParams(TCreateParams& params) override;
    // Refuses to make the window before OnCreate: the class name would be a base's.
    void CreateHandle() override;

private:
    void ApplyPosition();
    void SizeForClient(int width, int height);
    void StyleFor(DWORD& style, DWORD& exStyle) const;
    // Width and height of the frame around the client area that the border style gives.
    SIZE FrameSize() const;
    int RunModal(TForm* other, const std::function<void()>& place);
    TButton* DefaultButton();
    // The shown, enabled button that Esc presses; null when there is none.
    TButton* CancelButton();

    TBorderStyle borderStyle_ = bsNone;
    TPosition position_ = poDesigned;
    int modalResult_ = mrNone;
    int modalRuns_ = 0;
    bool created_ = false;
    bool destroyed_ = false;
};

// The form that holds control, or null.
TForm* GetParentForm(TControl* control);

// Makes a form (owned by owner, which frees it) and runs its OnCreate.
template <class T, class... Args>
T* NewForm(TComponent* owner, Args&&... args) {
    T* form = new T(owner, std::forward<Args>(args)...);
    form->AfterConstruction();
    return form;
}
