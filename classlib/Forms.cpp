#include "Forms.h"

#include <vector>

#include "Application.h"
#include "StdCtrls.h"

// TFrame

TFrame::TFrame(TComponent* owner) : TWinControl(owner) {
    parentColor_ = true;
}

void TFrame::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    params.Style |= WS_CLIPCHILDREN;
    params.ExStyle |= WS_EX_CONTROLPARENT;  // Tab walks into the frame's controls
}

// TForm

TForm::TForm(TComponent* owner) : TWinControl(owner) {
    visible_ = false;
    width_ = 320;
    height_ = 240;
}

TForm::~TForm() {
    Application->FormGone(this);
}

void TForm::AfterConstruction() {
    if (created_) return;
    created_ = true;
    if (OnCreate) OnCreate(this);
}

void TForm::BeforeDestruction() {
    if (!destroyed_) {
        destroyed_ = true;
        if (OnDestroy) Guarded(this, [this] { OnDestroy(this); });
    }
    TWinControl::BeforeDestruction();
}

void TForm::StyleFor(DWORD& style, DWORD& exStyle) const {
    exStyle = WS_EX_CONTROLPARENT;
    switch (borderStyle_) {
        case bsNone:
            style = WS_POPUP;
            break;
        case bsSingle:
            style = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
            break;
        case bsSizeable:
            style = WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
            break;
        case bsDialog:
            style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
            exStyle |= WS_EX_DLGMODALFRAME;
            break;
    }
}

void TForm::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    DWORD style = 0, exStyle = 0;
    StyleFor(style, exStyle);
    params.Style = style | WS_CLIPCHILDREN | (enabled_ ? 0 : WS_DISABLED);
    params.ExStyle = exStyle;
    params.WndParent = Application->Handle();  // owned: no taskbar button of its own
}

void TForm::CreateHandle() {
    if (!created_)
        throw Exception(
            Format("%s: window wanted before OnCreate; make forms with NewForm or "
                   "Application->CreateForm",
                   ClassName().c_str()));
    TWinControl::CreateHandle();
}

void TForm::SetBorderStyle(TBorderStyle style) {
    if (style == borderStyle_) return;
    int width = ClientWidth(), height = ClientHeight();
    borderStyle_ = style;
    if (HandleAllocated()) {
        DWORD newStyle = 0, newExStyle = 0;
        StyleFor(newStyle, newExStyle);
        const DWORD frameBits =
            WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
        HWND hwnd = Handle();
        LONG_PTR current = GetWindowLongPtrA(hwnd, GWL_STYLE);
        SetWindowLongPtrA(hwnd, GWL_STYLE,
                          (current & ~static_cast<LONG_PTR>(frameBits)) | newStyle);
        LONG_PTR currentEx = GetWindowLongPtrA(hwnd, GWL_EXSTYLE);
        SetWindowLongPtrA(hwnd, GWL_EXSTYLE,
                          (currentEx & ~static_cast<LONG_PTR>(WS_EX_DLGMODALFRAME)) | newExStyle);
        SetWindowPos(hwnd, nullptr, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    }
    SizeForClient(width, height);
}

void TForm::SetPosition(TPosition position) {
    position_ = position;
}

void TForm::SetBounds(int left, int top, int width, int height) {
    if (left != left_ || top != top_) position_ = poDesigned;
    TWinControl::SetBounds(left, top, width, height);
}

SIZE TForm::FrameSize() const {
    DWORD style = 0, exStyle = 0;
    StyleFor(style, exStyle);
    RECT frame = {0, 0, 0, 0};
    AdjustWindowRectEx(&frame, style, FALSE, exStyle);
    return {frame.right - frame.left, frame.bottom - frame.top};
}

int TForm::ClientWidth() const {
    if (HandleAllocated()) return TWinControl::ClientWidth();
    return width_ - FrameSize().cx;
}

int TForm::ClientHeight() const {
    if (HandleAllocated()) return TWinControl::ClientHeight();
    return height_ - FrameSize().cy;
}

void TForm::SetClientWidth(int width) {
    SizeForClient(width, ClientHeight());
}

void TForm::SetClientHeight(int height) {
    SizeForClient(ClientWidth(), height);
}

void TForm::SizeForClient(int width, int height) {
    RECT r = {0, 0, width, height};
    if (HandleAllocated()) {
        HWND hwnd = Handle();
        AdjustWindowRectEx(&r, static_cast<DWORD>(GetWindowLongPtrA(hwnd, GWL_STYLE)), FALSE,
                           static_cast<DWORD>(GetWindowLongPtrA(hwnd, GWL_EXSTYLE)));
    } else {
        SIZE frame = FrameSize();
        r.right += frame.cx;
        r.bottom += frame.cy;
    }
    TWinControl::SetBounds(left_, top_, r.right - r.left, r.bottom - r.top);
}

void TForm::ApplyPosition() {
    int x = 0, y = 0;
    switch (position_) {
        case poScreenCenter:
            x = (Screen->Width() - width_) / 2;
            y = (Screen->Height() - height_) / 2;
            break;
        case poMainFormCenter: {
            TForm* main = Application->MainForm();
            if (main && main != this && main->Visible()) {
                x = main->Left() + (main->Width() - width_) / 2;
                y = main->Top() + (main->Height() - height_) / 2;
            } else {
                x = (Screen->Width() - width_) / 2;
                y = (Screen->Height() - height_) / 2;
            }
            break;
        }
        default:
            return;
    }
    TWinControl::SetBounds(x, y, width_, height_);
    position_ = poDesigned;  // only the first showing is placed
}

void TForm::SetVisible(bool visible) {
    if (visible) {
        HWND hwnd = Handle();
        if (Visible()) {
            SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
            return;
        }
        ApplyPosition();
        if (OnShow) OnShow(this);
        visible_ = true;
        ShowWindow(hwnd, SW_SHOW);
        ShowingChanged();
    } else {
        visible_ = false;
        if (!HandleAllocated() || !IsWindowVisible(Handle())) return;
        ShowWindow(Handle(), SW_HIDE);
        ShowingChanged();
    }
}

void TForm::Close() {
    if (InModalRun()) {
        modalResult_ = mrCancel;  // the modal run asks OnClose
        return;
    }
    TCloseAction action = caHide;
    if (OnClose) OnClose(this, action);
    if (action == caNone) return;
    if (Application->MainForm() == this) {
        Application->Terminate();
    } else {
        Hide();
    }
}

namespace {

struct DisabledWindows {
    HWND keep;
    std::vector<HWND> windows;
};

BOOL CALLBACK DisableWindow(HWND hwnd, LPARAM param) {
    auto* list = reinterpret_cast<DisabledWindows*>(param);
    if (hwnd != list->keep && IsWindowVisible(hwnd) && IsWindowEnabled(hwnd)) {
        EnableWindow(hwnd, FALSE);
        list->windows.push_back(hwnd);
    }
    return TRUE;
}

// The other windows of the program stay disabled for the length of a modal
// run, also when the run ends by an exception; afterwards the window and the
// control that were active before have the activation and the focus again.
class ModalScope {
public:
    ModalScope(HWND form, int& runs) : runs_(runs), active_(GetActiveWindow()), focus_(GetFocus()) {
        disabled_.keep = form;
        EnumThreadWindows(GetCurrentThreadId(), DisableWindow,
                          reinterpret_cast<LPARAM>(&disabled_));
        ++runs_;
    }
    // Before the form hides, so that the system hands the activation back to
    // them rather than to another program's window.
    void EnableOwners() {
        for (HWND hwnd : disabled_.windows)
            if (IsWindow(hwnd)) EnableWindow(hwnd, TRUE);
        disabled_.windows.clear();
    }
    ~ModalScope() {
        --runs_;
        EnableOwners();
        if (active_ && IsWindow(active_) && IsWindowVisible(active_)) SetActiveWindow(active_);
        if (focus_ && IsWindow(focus_) && IsWindowVisible(focus_) && IsWindowEnabled(focus_))
            SetFocus(focus_);
    }
    ModalScope(const ModalScope&) = delete;
    ModalScope& operator=(const ModalScope&) = delete;

private:
    int& runs_;
    HWND active_;
    HWND focus_;
    DisabledWindows disabled_;
};

}  // namespace

int TForm::ShowModal() {
    return RunModal(nullptr, nullptr);
}

int TForm::ShowModalInPlaceOf(TForm* other, const std::function<void()>& place) {
    return RunModal(other, place);
}

int TForm::RunModal(TForm* other, const std::function<void()>& place) {
    if (Visible() || !enabled_ || InModalRun())
        throw Exception("Cannot make a visible window modal");
    if (HWND captured = GetCapture()) {
        SendMessageA(captured, WM_CANCELMODE, 0, 0);
        ReleaseCapture();
    }
    modalResult_ = mrNone;
    HWND hwnd = Handle();
    {
        ModalScope scope(hwnd, modalRuns_);
        try {
            Show();
            if (other) other->Hide();
            for (;;) {
                if (Application->Terminated()) modalResult_ = mrCancel;
                if (modalResult_ != mrNone) {
                    TCloseAction action = caHide;
                    if (OnClose) OnClose(this, action);
                    if (action != caNone || Application->Terminated()) break;
                    modalResult_ = mrNone;
                }
                Application->HandleMessage();
            }
        } catch (...) {
            scope.EnableOwners();
            if (other) other->Show();
            Hide();
            throw;
        }
        scope.EnableOwners();
        if (other) {
            if (place) place();
            other->Show();
        }
        Hide();
    }
    return modalResult_;
}

TWinControl* TForm::ActiveControl() {
    return FocusedChild();
}

namespace {

// The first shown, enabled button among the form's controls that pred takes.
template <class Pred>
TButton* FindButton(TWinControl* form, Pred pred) {
    std::vector<TWinControl*> pending = {form};
    while (!pending.empty()) {
        TWinControl* container = pending.back();
        pending.pop_back();
        for (int i = 0; i < container->ControlCount(); ++i) {
            auto* child = dynamic_cast<TWinControl*>(container->Controls(i));
            if (!child) continue;
            auto* button = dynamic_cast<TButton*>(child);
            if (button && pred(button) && button->Enabled() && button->Visible()) return button;
            pending.push_back(child);
        }
    }
    return nullptr;
}

}  // namespace

TButton* TForm::DefaultButton() {
    if (auto* focused = dynamic_cast<TButton*>(FocusedChild()))
        if (focused->Enabled()) return focused;
    return FindButton(this, [](TButton* button) { return button->Default(); });
}

TButton* TForm::CancelButton() {
    return FindButton(this, [](TButton* button) { return button->Cancel(); });
}

void TForm::WndProc(TMessage& msg) {
    switch (msg.Msg) {
        case WM_CLOSE:
            Close();  // the system's handling would destroy the window
            return;
        case WM_ACTIVATE:
            if (LOWORD(msg.WParam) != WA_INACTIVE) {
                TWinControl* active = FocusedChild();
                if (active && active != this && active->CanFocus()) {
                    ::SetFocus(active->Handle());
                    return;
                }
            }
            break;
        case DM_GETDEFID:
            if (TButton* button = DefaultButton()) {
                msg.Result = MAKELRESULT(GetDlgCtrlID(button->Handle()), DC_HASDEFID);
                return;
            }
            break;
        case WM_COMMAND:
            // Return from the dialog manager names the default button by id only
            // when it sits inside a frame or panel.
            if (msg.LParam == 0 && HIWORD(msg.WParam) == BN_CLICKED) {
                TButton* button = DefaultButton();
                if (button && GetDlgCtrlID(button->Handle()) == LOWORD(msg.WParam)) {
                    button->Click();
                    return;
                }
                // Esc: the dialog manager asks for IDCANCEL, which no control of ours has.
                TButton* cancel = LOWORD(msg.WParam) == IDCANCEL ? CancelButton() : nullptr;
                if (cancel) {
                    cancel->Click();
                    return;
                }
            }
            break;
        default:
            break;
    }
    TWinControl::WndProc(msg);
}

TForm* GetParentForm(TControl* control) {
    if (!control) return nullptr;
    while (control->Parent()) control = control->Parent();
    return dynamic_cast<TForm*>(control);
}
