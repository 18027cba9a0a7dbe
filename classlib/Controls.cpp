#include "Controls.h"

#include <windowsx.h>

#include <algorithm>
#include <unordered_map>

#include "Application.h"
#include "GdiScopes.h"

static TScreen theScreen;
TScreen* Screen = &theScreen;

namespace {

// The windows of this process and their controls. Every message routed to a control looks it
// up: kept here, not in a window property, which Wine reads from its server each time.
class TControlWindows {
public:
    void Add(HWND hwnd, TWinControl* control) {
        TScopedLock guard(lock_);
        controls_[hwnd] = control;
    }
    void Remove(HWND hwnd) {
        TScopedLock guard(lock_);
        controls_.erase(hwnd);
    }
    TWinControl* Find(HWND hwnd) {
        TScopedLock guard(lock_);
        auto found = controls_.find(hwnd);
        return found == controls_.end() ? nullptr : found->second;
    }

private:
    TCriticalSection lock_;  // a window may be looked up from another thread
    std::unordered_map<HWND, TWinControl*> controls_;
};

TControlWindows& ControlWindows() {
    static TControlWindows windows;
    return windows;
}

// The control the mouse is over, for enter and leave notices.
TControl* gMouseControl = nullptr;

UINT NextControlId() {
    static UINT next = 100;  // clear of IDOK, IDCANCEL and friends
    return next++;
}

HCURSOR CursorHandle(TCursor cursor) {
    switch (cursor) {
        case crArrow:
            return LoadCursorA(nullptr, IDC_ARROW);
        case crHandPoint:
            return LoadCursorA(nullptr, IDC_HAND);
        case crHourGlass:
            return LoadCursorA(nullptr, IDC_WAIT);
        default:
            return nullptr;
    }
}

bool IsMouseMessage(UINT msg) {
    return msg >= WM_MOUSEMOVE && msg <= WM_MBUTTONDBLCLK;
}

bool IsButtonDown(UINT msg) {
    return msg == WM_LBUTTONDOWN || msg == WM_RBUTTONDOWN || msg == WM_MBUTTONDOWN ||
           msg == WM_LBUTTONDBLCLK || msg == WM_RBUTTONDBLCLK || msg == WM_MBUTTONDBLCLK;
}

bool IsButtonUp(UINT msg) {
    return msg == WM_LBUTTONUP || msg == WM_RBUTTONUP || msg == WM_MBUTTONUP;
}

void RegisterOwnClass(const AnsiString& name, WNDPROC proc) {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof(wc);
    if (GetClassInfoExA(instance, name.c_str(), &wc)) return;
    wc = {};
    wc.cbSize = sizeof(wc);
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = proc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.lpszClassName = name.c_str();
    if (!RegisterClassExA(&wc))
        throw Exception(Format("Cannot register window class %s", name.c_str()));
}

}  // namespace

// Shift states and the screen

TShiftState KeysToShiftState(WPARAM keys) {
    TShiftState shift = 0;
    if (keys & MK_SHIFT) shift |= ssShift;
    if (keys & MK_CONTROL) shift |= ssCtrl;
    if (keys & MK_LBUTTON) shift |= ssLeft;
    if (keys & MK_RBUTTON) shift |= ssRight;
    if (keys & MK_MBUTTON) shift |= ssMiddle;
    if (GetKeyState(VK_MENU) < 0) shift |= ssAlt;
    return shift;
}

TShiftState KeyboardShiftState() {
    TShiftState shift = 0;
    if (GetKeyState(VK_SHIFT) < 0) shift |= ssShift;
    if (GetKeyState(VK_MENU) < 0) shift |= ssAlt;
    if (GetKeyState(VK_CONTROL) < 0) shift |= ssCtrl;
    return shift;
}

void TScreen::SetCursor(TCursor cursor) {
    cursor_ = cursor;
    HCURSOR handle = CursorHandle(cursor);
    ::SetCursor(handle ? handle : LoadCursorA(nullptr, IDC_ARROW));
}

// TControl

TControl::TControl(TComponent* owner) : TComponent(owner) {
    font_.OnChange = [this] {
        if (!takingParentFont_) parentFont_ = false;
        FontChanged();
    };
}

TControl::~TControl() {
    if (gMouseControl == this) gMouseControl = nullptr;
    font_.OnChange = nullptr;
    if (parent_) parent_->RemoveControl(this);
}

void TControl::SetParent(TWinControl* parent) {
    if (parent == parent_) return;
    if (parent_) parent_->RemoveControl(this);
    if (!parent) return;
    parent_ = parent;
    if (parentFont_) TakeParentFont();
    parent->InsertControl(this);
}

void TControl::TakeParentFont() {
    if (!parent_) return;
    takingParentFont_ = true;
    font_.Assign(parent_->font_);
    takingParentFont_ = false;
}

void TControl::SetParentFont(bool parentFont) {
    parentFont_ = parentFont;
    if (parentFont_) TakeParentFont();
}

void TControl::SetBounds(int left, int top, int width, int height) {
    if (left == left_ && top == top_ && width == width_ && height == height_) return;
    Invalidate();
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
    Invalidate();
    BoundsChanged();
}

void TControl::SetBoundsFrom(const ControlSpec* table, size_t count) {
    for (size_t i = 0; i < count; ++i) {
        if (Name == table[i].Name) {
            SetBounds(table[i].Left, table[i].Top, table[i].Width, table[i].Height);
            if (table[i].Text) SetCaption(table[i].Text);
            return;
        }
    }
    throw Exception(Format("%s is not in the layout", Name.c_str()));
}

void ReadTexts(const TTextReader& read, std::initializer_list<TControl*> controls) {
    for (TControl* control : controls) control->SetCaption(read(control->Name, control->Caption()));
}

void TControl::SetVisible(bool visible) {
    if (visible == visible_) return;
    if (!visible) Invalidate();
    visible_ = visible;
    if (visible) Invalidate();
}

void TControl::SetEnabled(bool enabled) {
    if (enabled == enabled_) return;
    enabled_ = enabled;
    Perform(CM_ENABLEDCHANGED, 0, 0);
    Invalidate();
}

AnsiString TControl::Caption() const {
    return caption_;
}

void TControl::SetCaption(const AnsiString& caption) {
    if (caption == Caption()) return;
    caption_ = caption;
    TextChanged();
}

TColor TControl::Color() const {
    if (parentColor_ && parent_) return parent_->Color();
    return color_;
}

void TControl::SetColor(TColor color) {
    parentColor_ = false;
    if (color == color_) return;
    color_ = color;
    ColorChanged();
}

void TControl::Click() {
    if (OnClick) OnClick(this);
}

void TControl::DblClick() {
    if (OnDblClick) OnDblClick(this);
}

void TControl::Invalidate() {
    if (auto* self = dynamic_cast<TWinControl*>(this)) {
        if (self->handle_) InvalidateRect(self->handle_, nullptr, FALSE);
    } else if (parent_ && parent_->handle_) {
        RECT r = BoundsRect();
        InvalidateRect(parent_->handle_, &r, FALSE);
    }
}

void TControl::Repaint() {
    Invalidate();
    if (auto* self = dynamic_cast<TWinControl*>(this)) {
        if (self->handle_) UpdateWindow(self->handle_);
    } else if (parent_ && parent_->handle_) {
        UpdateWindow(parent_->handle_);
    }
}

void TControl::BringToFront() {
    if (!parent_) return;
    auto& list = parent_->controls_;
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
    list.push_back(this);
    Invalidate();
}

POINT TControl::ClientToScreen(POINT p) const {
    if (auto* self = dynamic_cast<const TWinControl*>(this)) {
        if (self->handle_) {
            ::ClientToScreen(self->handle_, &p);
            return p;
        }
    }
    p.x += left_;
    p.y += top_;
    return parent_ ? parent_->ClientToScreen(p) : p;
}

LRESULT TControl::Perform(UINT msg, WPARAM wParam, LPARAM lParam) {
    TMessage m = {msg, wParam, lParam, 0};
    WndProc(m);
    return m.Result;
}

void TControl::WndProc(TMessage& msg) {
    switch (msg.Msg) {
        case CM_MOUSEENTER:
            MouseEnter();
            return;
        case CM_MOUSELEAVE:
            MouseLeave();
            return;
        default:
            if (IsMouseMessage(msg.Msg)) HandleMouseMessage(msg);
            break;
    }
    DefaultHandler(msg);
}

void TControl::HandleMouseMessage(TMessage& msg) {
    int x = GET_X_LPARAM(msg.LParam);
    int y = GET_Y_LPARAM(msg.LParam);
    TShiftState shift = KeysToShiftState(msg.WParam);
    auto* self = dynamic_cast<TWinControl*>(this);
    auto capture = [&](bool on) {
        if (!clickEvents_ || !self || !self->handle_) return;
        if (on) {
            SetCapture(self->handle_);
        } else if (GetCapture() == self->handle_) {
            ReleaseCapture();
        }
    };
    switch (msg.Msg) {
        case WM_LBUTTONDOWN:
            if (clickEvents_) clicked_ = true;
            capture(true);
            MouseDown(mbLeft, shift, x, y);
            break;
        case WM_LBUTTONDBLCLK:
            capture(true);
            if (clickEvents_) DblClick();
            MouseDown(mbLeft, shift | ssDouble, x, y);
            break;
        case WM_LBUTTONUP:
            capture(false);
            if (clicked_) {
                clicked_ = false;
                if (x >= 0 && y >= 0 && x < width_ && y < height_) Click();
            }
            MouseUp(mbLeft, shift, x, y);
            break;
        case WM_RBUTTONDOWN:
        case WM_RBUTTONDBLCLK:
            MouseDown(mbRight, shift | (msg.Msg == WM_RBUTTONDBLCLK ? TShiftState(ssDouble) : 0), x,
                      y);
            break;
        case WM_RBUTTONUP:
            MouseUp(mbRight, shift, x, y);
            break;
        case WM_MBUTTONDOWN:
        case WM_MBUTTONDBLCLK:
            MouseDown(mbMiddle, shift | (msg.Msg == WM_MBUTTONDBLCLK ? TShiftState(ssDouble) : 0),
                      x, y);
            break;
        case WM_MBUTTONUP:
            MouseUp(mbMiddle, shift, x, y);
            break;
        case WM_MOUSEMOVE:
            MouseMove(shift, x, y);
            break;
        default:
            break;
    }
}

void TControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    if (OnMouseDown) OnMouseDown(this, button, shift, x, y);
}

void TControl::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    if (OnMouseUp) OnMouseUp(this, button, shift, x, y);
}

void TControl::MouseMove(TShiftState shift, int x, int y) {
    if (OnMouseMove) OnMouseMove(this, shift, x, y);
}

void TControl::MouseEnter() {
    if (OnMouseEnter) OnMouseEnter(this);
}

void TControl::MouseLeave() {
    if (OnMouseLeave) OnMouseLeave(this);
}

void TControl::FontChanged() {
    Invalidate();
    Perform(CM_FONTCHANGED, 0, 0);
}

// TWinControl

TWinControl::TWinControl(TComponent* owner) : TControl(owner) {}

TWinControl::~TWinControl() {
    // Messages sent while the windows go (focus, destroy) reach no handler: the
    // objects behind the handlers may be half gone.
    MarkDestroying();
    for (TControl* control : controls_) control->parent_ = nullptr;
    controls_.clear();
    if (handle_) DestroyWindow(handle_);
    if (handle_) Detach();
}

void TWinControl::BeforeDestruction() {
    // Freeing the owned controls moves the focus among the others; their
    // handlers may belong to objects already gone.
    MarkDestroying();
    TControl::BeforeDestruction();
}

void TWinControl::MarkDestroying() {
    destroying_ = true;
    for (TControl* control : controls_)
        if (auto* child = dynamic_cast<TWinControl*>(control)) child->MarkDestroying();
}

TWinControl* TWinControl::FromHandle(HWND hwnd) {
    // Only windows of this process are listed, and each leaves the list as it is destroyed.
    return hwnd ? ControlWindows().Find(hwnd) : nullptr;
}

HWND TWinControl::Handle() {
    if (!handle_ && !destroying_) {
        if (parent_) parent_->Handle();  // makes this window with its own
        if (!handle_) CreateHandle();
    }
    return handle_;
}

void TWinControl::CreateParams(TCreateParams& params) {
    params.WinClassName = ClassName();
    params.Caption = caption_;
    params.Style = WS_CHILD | WS_CLIPSIBLINGS | (visible_ ? WS_VISIBLE : 0) |
                   (enabled_ ? 0 : WS_DISABLED) | (tabStop_ ? WS_TABSTOP : 0);
    params.X = left_;
    params.Y = top_;
    params.Width = width_;
    params.Height = height_;
    params.WndParent = parent_ ? parent_->Handle() : nullptr;
}

void TWinControl::CreateHandle() {
    TCreateParams params;
    CreateParams(params);
    if ((params.Style & WS_CHILD) && !params.WndParent)
        throw Exception(Format("Control '%s' has no parent window", Name.c_str()));
    if (handle_) return;  // made while the parent's handle was made
    ownClass_ = !params.SystemClass;
    if (ownClass_) RegisterOwnClass(params.WinClassName, ClassWndProc);
    HMENU id = (params.Style & WS_CHILD)
                   ? reinterpret_cast<HMENU>(static_cast<UINT_PTR>(NextControlId()))
                   : nullptr;
    HWND hwnd = CreateWindowExA(params.ExStyle, params.WinClassName.c_str(), params.Caption.c_str(),
                                params.Style, params.X, params.Y, params.Width,
                                params.Height + ExtraWindowHeight(), params.WndParent, id,
                                GetModuleHandleA(nullptr), ownClass_ ? this : nullptr);
    if (!hwnd)
        throw Exception(Format("Cannot create a window of class %s (error %lu)",
                               params.WinClassName.c_str(), GetLastError()));
    if (!ownClass_) {
        Attach(hwnd);
        defProc_ = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(SubclassWndProc)));
    }
    SendMessageA(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(Font()->Handle()), FALSE);
    InitializeHandle();
    for (TControl* control : std::vector<TControl*>(controls_)) {
        auto* child = dynamic_cast<TWinControl*>(control);
        if (child && !child->handle_) CreateChildHandle(child);
    }
    UpdateBoundsFromWindow();
    // A window made later than its siblings takes the place among them that its order gives
    // it, as if it had been made with them: the first child lies on top.
    if (!parent_ || !(params.Style & WS_CHILD)) return;
    HWND above = HWND_TOP;
    bool late = false;
    bool before = true;
    for (TControl* control : parent_->controls_) {
        auto* sibling = dynamic_cast<TWinControl*>(control);
        if (control == this) {
            before = false;
        } else if (sibling && sibling->handle_) {
            if (before) above = sibling->handle_;
            else late = true;
        }
    }
    if (late) SetWindowPos(hwnd, above, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TWinControl::CreateChildHandle(TWinControl* child) {
    if (child->WaitsToBeSeen() && !(child->visible_ && IsWindowVisible(handle_))) return;
    child->CreateHandle();
}

void TWinControl::Attach(HWND hwnd) {
    handle_ = hwnd;
    ControlWindows().Add(hwnd, this);
}

void TWinControl::Detach() {
    if (!handle_) return;
    ControlWindows().Remove(handle_);
    if (!ownClass_ && defProc_)
        SetWindowLongPtrA(handle_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(defProc_));
    handle_ = nullptr;
}

LRESULT CALLBACK TWinControl::ClassWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* control = ControlWindows().Find(hwnd);
    if (!control && msg == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
        control = static_cast<TWinControl*>(create->lpCreateParams);
        if (control) {
            control->Attach(hwnd);
            control->defProc_ = DefWindowProcA;
        }
    }
    if (!control) return DefWindowProcA(hwnd, msg, wParam, lParam);
    return control->Route(msg, wParam, lParam);
}

LRESULT CALLBACK TWinControl::SubclassWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* control = ControlWindows().Find(hwnd);
    if (!control) return DefWindowProcA(hwnd, msg, wParam, lParam);
    return control->Route(msg, wParam, lParam);
}

LRESULT TWinControl::Route(UINT msg, WPARAM wParam, LPARAM lParam) {
    TMessage m = {msg, wParam, lParam, 0};
    if (destroying_) {
        DefaultHandler(m);
    } else {
        Guarded(this, [&] {
            if (msg == WM_MOUSEMOVE || msg == WM_MOUSELEAVE) TrackMouse(m);
            WndProc(m);
        });
    }
    if (msg == WM_NCDESTROY) Detach();
    return m.Result;
}

void TWinControl::DefaultHandler(TMessage& msg) {
    // The library's own messages mean nothing to the window's procedure.
    if (msg.Msg >= CM_BASE && msg.Msg < CN_BASE + 0x400) return;
    if (handle_ && defProc_)
        msg.Result = CallWindowProcA(defProc_, handle_, msg.Msg, msg.WParam, msg.LParam);
}

void TWinControl::WndProc(TMessage& msg) {
    switch (msg.Msg) {
        case WM_COMMAND:
        case WM_NOTIFY:
        case WM_DRAWITEM:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORLISTBOX:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLORSTATIC:
            if (Reflect(msg)) return;
            break;
        case WM_SETFOCUS:
            DefaultHandler(msg);
            NotifyFocus();
            return;
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN: {
            WORD key = static_cast<WORD>(msg.WParam);
            KeyDown(key, KeyboardShiftState());
            if (key == 0) return;  // swallowed
            msg.WParam = key;
            break;
        }
        case WM_CHAR: {
            char key = static_cast<char>(msg.WParam);
            KeyPress(key);
            if (key == 0) return;  // swallowed
            msg.WParam = static_cast<unsigned char>(key);
            break;
        }
        case WM_SETCURSOR:
            if (SetCursorFor(msg)) return;
            break;
        case WM_CAPTURECHANGED:
            captureControl_ = nullptr;
            break;
        case WM_WINDOWPOSCHANGED:
            DefaultHandler(msg);
            UpdateBoundsFromWindow();
            return;
        case WM_ERASEBKGND:
            if (ownClass_) {
                msg.Result = 1;  // the paint covers everything
                return;
            }
            break;
        case WM_PAINT:
            if (ownClass_) {
                PaintHandler(nullptr, nullptr);
                return;
            }
            break;
        case WM_PRINTCLIENT:
            if (ownClass_) {
                PaintHandler(reinterpret_cast<HDC>(msg.WParam), nullptr);
                return;
            }
            break;
        default:
            if (IsMouseMessage(msg.Msg) && RouteMouseToGraphic(msg)) return;
            break;
    }
    TControl::WndProc(msg);
}

bool TWinControl::Reflect(TMessage& msg) {
    HWND child = nullptr;
    switch (msg.Msg) {
        case WM_COMMAND:
            child = reinterpret_cast<HWND>(msg.LParam);
            break;
        case WM_NOTIFY:
            child = reinterpret_cast<NMHDR*>(msg.LParam)->hwndFrom;
            break;
        case WM_DRAWITEM: {
            auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(msg.LParam);
            if (item->CtlType == ODT_MENU) return false;
            child = item->hwndItem;
            break;
        }
        default:
            child = reinterpret_cast<HWND>(msg.LParam);
            break;
    }
    if (!child || child == handle_) return false;
    auto* control = ControlWindows().Find(child);
    if (!control || control->destroying_) return false;
    TMessage reflected = {CN_BASE + msg.Msg, msg.WParam, msg.LParam, 0};
    Guarded(control, [&] { control->WndProc(reflected); });
    bool colour = msg.Msg >= WM_CTLCOLORMSGBOX && msg.Msg <= WM_CTLCOLORSTATIC;
    if (colour && reflected.Result == 0) return false;  // the system's colours
    msg.Result = reflected.Result;
    return true;
}

void TWinControl::KeyDown(WORD& key, TShiftState shift) {
    if (OnKeyDown) OnKeyDown(this, key, shift);
}

void TWinControl::KeyPress(char& key) {
    if (OnKeyPress) OnKeyPress(this, key);
}

void TWinControl::DoEnter() {
    if (OnEnter) OnEnter(this);
}

void TWinControl::DoExit() {
    if (OnExit) OnExit(this);
}

TWinControl* TWinControl::TopLevel() {
    TWinControl* control = this;
    while (control->parent_) control = control->parent_;
    return control;
}

void TWinControl::NotifyFocus() {
    TWinControl* root = TopLevel();
    TWinControl* previous = root->focusedControl_;
    if (previous == this) return;
    root->focusedControl_ = this;
    std::vector<TWinControl*> leaving, entering;
    for (TWinControl* c = previous; c; c = c->parent_) leaving.push_back(c);
    for (TWinControl* c = this; c; c = c->parent_) entering.push_back(c);
    // Drop the shared ancestors: they neither lose nor gain the focus.
    while (!leaving.empty() && !entering.empty() && leaving.back() == entering.back()) {
        leaving.pop_back();
        entering.pop_back();
    }
    for (TWinControl* c : leaving) c->DoExit();
    for (auto it = entering.rbegin(); it != entering.rend(); ++it) (*it)->DoEnter();
    root->BroadcastFocusChanged(this);
}

void TWinControl::BroadcastFocusChanged(TWinControl* focused) {
    FocusChanged(focused);
    for (TControl* control : std::vector<TControl*>(controls_))
        if (auto* child = dynamic_cast<TWinControl*>(control))
            child->BroadcastFocusChanged(focused);
}

void TWinControl::ForgetFocus(TControl* leaving) {
    TWinControl* root = TopLevel();
    for (TWinControl* c = root->focusedControl_; c; c = c->parent_) {
        if (c == leaving) {
            root->focusedControl_ = nullptr;
            return;
        }
    }
}

bool TWinControl::Focused() const {
    return handle_ && GetFocus() == handle_;
}

bool TWinControl::CanFocus() const {
    for (const TWinControl* c = this; c; c = c->parent_)
        if (!c->Visible() || !c->enabled_) return false;
    return true;
}

void TWinControl::SetFocus() {
    if (CanFocus()) ::SetFocus(Handle());
}

void TWinControl::SetTabStop(bool tabStop) {
    tabStop_ = tabStop;
    tabStopSet_ = true;
    if (!handle_) return;
    LONG_PTR style = GetWindowLongPtrA(handle_, GWL_STYLE);
    style = tabStop ? (style | WS_TABSTOP) : (style & ~static_cast<LONG_PTR>(WS_TABSTOP));
    SetWindowLongPtrA(handle_, GWL_STYLE, style);
}

void TWinControl::InsertControl(TControl* control) {
    controls_.push_back(control);
    control->parent_ = this;
    if (auto* child = dynamic_cast<TWinControl*>(control)) {
        if (child->handle_) {
            ::SetParent(child->handle_, Handle());
        } else if (handle_) {
            CreateChildHandle(child);
        }
    } else {
        control->Invalidate();
    }
}

void TWinControl::RemoveControl(TControl* control) {
    auto it = std::find(controls_.begin(), controls_.end(), control);
    if (it == controls_.end()) return;
    control->Invalidate();
    ForgetFocus(control);
    controls_.erase(it);
    if (captureControl_ == control) {
        captureControl_ = nullptr;
        if (handle_ && GetCapture() == handle_) ReleaseCapture();
    }
    control->parent_ = nullptr;
    if (auto* child = dynamic_cast<TWinControl*>(control)) {
        if (child->handle_) DestroyWindow(child->handle_);
    }
}

TControl* TWinControl::GraphicControlAt(int x, int y, bool allowDisabled) const {
    for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
        TControl* control = *it;
        if (dynamic_cast<TWinControl*>(control)) continue;
        if (!control->visible_ || (!allowDisabled && !control->enabled_)) continue;
        RECT r = control->BoundsRect();
        POINT p = {x, y};
        if (PtInRect(&r, p)) return control;
    }
    return nullptr;
}

bool TWinControl::RouteMouseToGraphic(TMessage& msg) {
    int x = GET_X_LPARAM(msg.LParam);
    int y = GET_Y_LPARAM(msg.LParam);
    TControl* target = captureControl_;
    if (!target) target = GraphicControlAt(x, y, false);
    if (!target) return false;
    if (IsButtonDown(msg.Msg) && !captureControl_ && handle_) {
        captureControl_ = target;
        SetCapture(handle_);
    }
    TMessage local = msg;
    local.LParam =
        MAKELPARAM(static_cast<WORD>(x - target->left_), static_cast<WORD>(y - target->top_));
    Guarded(target, [&] { target->WndProc(local); });
    msg.Result = local.Result;
    const WPARAM buttons = MK_LBUTTON | MK_RBUTTON | MK_MBUTTON;
    if (IsButtonUp(msg.Msg) && (msg.WParam & buttons) == 0 && captureControl_) {
        captureControl_ = nullptr;
        if (handle_ && GetCapture() == handle_) ReleaseCapture();
    }
    return true;
}

void TWinControl::TrackMouse(TMessage& msg) {
    if (msg.Msg == WM_MOUSEMOVE) {
        int x = GET_X_LPARAM(msg.LParam);
        int y = GET_Y_LPARAM(msg.LParam);
        RECT client;
        GetClientRect(handle_, &client);
        POINT p = {x, y};
        TControl* over = nullptr;
        if (PtInRect(&client, p)) {
            over = GraphicControlAt(x, y, true);
            if (!over) over = this;
        }
        if (over != gMouseControl) {
            TControl* old = gMouseControl;
            gMouseControl = over;
            if (old) Guarded(old, [&] { old->Perform(CM_MOUSELEAVE, 0, 0); });
            if (over && gMouseControl == over)
                Guarded(over, [&] { over->Perform(CM_MOUSEENTER, 0, 0); });
        }
        TRACKMOUSEEVENT track = {sizeof(track), TME_LEAVE, handle_, 0};
        TrackMouseEvent(&track);
    } else if (gMouseControl) {
        TControl* old = gMouseControl;
        bool mine = old == this || (old->parent_ == this && !dynamic_cast<TWinControl*>(old));
        if (mine) {
            gMouseControl = nullptr;
            Guarded(old, [&] { old->Perform(CM_MOUSELEAVE, 0, 0); });
        }
    }
}

bool TWinControl::SetCursorFor(TMessage& msg) {
    if (LOWORD(msg.LParam) != HTCLIENT || reinterpret_cast<HWND>(msg.WParam) != handle_)
        return false;
    TCursor cursor = Screen->Cursor();
    if (cursor == crDefault) {
        POINT p;
        GetCursorPos(&p);
        ScreenToClient(handle_, &p);
        TControl* graphic = GraphicControlAt(p.x, p.y, true);
        if (graphic) cursor = graphic->Cursor();
        if (cursor == crDefault) cursor = Cursor();
    }
    HCURSOR handle = CursorHandle(cursor);
    if (!handle) return false;
    ::SetCursor(handle);
    msg.Result = TRUE;
    return true;
}

void TWinControl::PaintHandler(HDC target, const RECT*) {
    PaintScope paint(handle_, target);
    if (IsRectEmpty(&paint.area())) return;
    BufferScope buffer(paint.dc(), paint.area());
    PaintBackground(buffer.dc(), paint.area());
}

void TWinControl::PaintBackground(HDC dc, const RECT& area) {
    SavedDC saved(dc);
    IntersectClipRect(dc, area.left, area.top, area.right, area.bottom);
    FillRect(dc, &area, ColorBrush());
    {
        BoundCanvas bound(&canvas_, dc);
        Paint();
    }
    for (TControl* control : std::vector<TControl*>(controls_)) {
        auto* graphic = dynamic_cast<TGraphicControl*>(control);
        if (!graphic || !graphic->visible_) continue;
        RECT bounds = graphic->BoundsRect(), common;
        if (!IntersectRect(&common, &bounds, &area)) continue;
        SavedDC child(dc);
        POINT origin;
        GetViewportOrgEx(dc, &origin);
        SetViewportOrgEx(dc, origin.x + graphic->left_, origin.y + graphic->top_, nullptr);
        IntersectClipRect(dc, 0, 0, graphic->width_, graphic->height_);
        BoundCanvas bound(&graphic->canvas_, dc);
        graphic->Paint();
    }
}

HBRUSH TWinControl::ColorBrush() {
    COLORREF color = ColorToRGB(Color());
    if (!brush_ || color != brushColor_) {
        brush_.Reset(CreateSolidBrush(color));
        brushColor_ = color;
    }
    return brush_.Get();
}

void TWinControl::UpdateBoundsFromWindow() {
    if (!handle_) return;
    RECT r;
    GetWindowRect(handle_, &r);
    if (GetWindowLongPtrA(handle_, GWL_STYLE) & WS_CHILD)
        MapWindowPoints(nullptr, GetParent(handle_), reinterpret_cast<POINT*>(&r), 2);
    left_ = r.left;
    top_ = r.top;
    width_ = r.right - r.left;
    height_ = r.bottom - r.top;
}

void TWinControl::SetBounds(int left, int top, int width, int height) {
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
    if (handle_)
        SetWindowPos(handle_, nullptr, left, top, width, height + ExtraWindowHeight(),
                     SWP_NOZORDER | SWP_NOACTIVATE);
    BoundsChanged();
}

bool TWinControl::Visible() const {
    if (handle_) return (GetWindowLongPtrA(handle_, GWL_STYLE) & WS_VISIBLE) != 0;
    return visible_;
}

void TWinControl::SetVisible(bool visible) {
    visible_ = visible;
    if (!handle_) {
        if (visible && parent_ && parent_->handle_) parent_->CreateChildHandle(this);
        return;
    }
    bool was = IsWindowVisible(handle_) != FALSE;
    ShowWindow(handle_, visible ? SW_SHOWNA : SW_HIDE);
    if (was != (IsWindowVisible(handle_) != FALSE)) ShowingChanged();
}

void TWinControl::ShowingChanged() {
    for (TControl* control : std::vector<TControl*>(controls_)) {
        auto* child = dynamic_cast<TWinControl*>(control);
        if (!child) continue;
        if (child->HandleAllocated()) {
            child->ShowingChanged();
        } else if (handle_) {
            CreateChildHandle(child);  // one that waited to be seen
        }
    }
}

void TWinControl::SetEnabled(bool enabled) {
    if (enabled == enabled_) return;
    enabled_ = enabled;
    if (handle_) EnableWindow(handle_, enabled ? TRUE : FALSE);
    Perform(CM_ENABLEDCHANGED, 0, 0);
}

AnsiString TWinControl::Caption() const {
    if (!handle_) return caption_;
    int length = GetWindowTextLengthA(handle_);
    AnsiString text(static_cast<size_t>(length) + 1, '\0');
    length = GetWindowTextA(handle_, &text[0], length + 1);
    text.resize(static_cast<size_t>(length > 0 ? length : 0));
    return text;
}

void TWinControl::TextChanged() {
    if (handle_) SetWindowTextA(handle_, caption_.c_str());
    if (ownClass_) Invalidate();
}

void TWinControl::FontChanged() {
    if (handle_)
        SendMessageA(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(Font()->Handle()), TRUE);
    TControl::FontChanged();
    for (TControl* control : controls_)
        if (control->parentFont_) control->TakeParentFont();
}

void TWinControl::ColorChanged() {
    if (handle_) InvalidateRect(handle_, nullptr, TRUE);
    for (TControl* control : controls_)
        if (control->parentColor_) control->ColorChanged();
}

void TWinControl::BringToFront() {
    // Among windows the first of the list lies on top, as windows made in order lie: first it
    // goes, so that a sibling whose window is made later goes below it.
    if (parent_) {
        auto& list = parent_->controls_;
        list.erase(std::remove(list.begin(), list.end(), this), list.end());
        list.insert(list.begin(), this);
    }
    Invalidate();
    if (handle_)
        SetWindowPos(handle_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

int TWinControl::ClientWidth() const {
    if (!handle_) return width_;
    RECT r;
    GetClientRect(handle_, &r);
    return r.right;
}

int TWinControl::ClientHeight() const {
    if (!handle_) return height_;
    RECT r;
    GetClientRect(handle_, &r);
    return r.bottom;
}

// TGraphicControl

TGraphicControl::TGraphicControl(TComponent* owner) : TControl(owner) {
    clickEvents_ = true;
}
