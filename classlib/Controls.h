// The window core: controls, windowed controls over Win32 windows, windowless (graphic)
// controls painted by their parent, message routing. Components are in Classes.h.
//
// Windows are made when first needed (a form's when it is first shown or its
// handle is asked for), so a derived class's CreateParams and class name count.
// Notifications a parent receives for a child (WM_COMMAND, WM_NOTIFY,
// WM_DRAWITEM, WM_CTLCOLOR...) are passed on to the child as CN_ messages. No
// C++ exception leaves a window procedure: it goes to Application's handler.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <vector>

#include "AnsiString.h"
#include "Classes.h"
#include "Graphics.h"
#include "Handles.h"
#include "SysUtils.h"
#include "UtilityWindow.h"

// Messages of the class library itself.
constexpr UINT CM_BASE = 0xB000;
constexpr UINT CM_ENABLEDCHANGED = CM_BASE + 12;
constexpr UINT CM_FONTCHANGED = CM_BASE + 14;
constexpr UINT CM_MOUSEENTER = CM_BASE + 19;
constexpr UINT CM_MOUSELEAVE = CM_BASE + 20;
// A parent's notification passed on to the child it concerns.
constexpr UINT CN_BASE = 0xBC00;
constexpr UINT CN_COMMAND = CN_BASE + WM_COMMAND;
constexpr UINT CN_NOTIFY = CN_BASE + WM_NOTIFY;
constexpr UINT CN_DRAWITEM = CN_BASE + WM_DRAWITEM;
constexpr UINT CN_CTLCOLOREDIT = CN_BASE + WM_CTLCOLOREDIT;
constexpr UINT CN_CTLCOLORLISTBOX = CN_BASE + WM_CTLCOLORLISTBOX;
constexpr UINT CN_CTLCOLORBTN = CN_BASE + WM_CTLCOLORBTN;
constexpr UINT CN_CTLCOLORSTATIC = CN_BASE + WM_CTLCOLORSTATIC;

enum : uint32_t {
    ssShift = 1,
    ssAlt = 2,
    ssCtrl = 4,
    ssLeft = 8,
    ssRight = 16,
    ssMiddle = 32,
    ssDouble = 64
};
using TShiftState = uint32_t;
// The keys and buttons of a mouse message's wParam, with the Alt key's state.
TShiftState KeysToShiftState(WPARAM keys);
// Shift, Alt and Ctrl as they are now.
TShiftState KeyboardShiftState();

// The state of an owner-drawn item, as a set; the bits are those of the ODS_ flags.
enum : uint32_t {
    odSelected = 0x01,
    odGrayed = 0x02,
    odDisabled = 0x04,
    odChecked = 0x08,
    odFocused = 0x10,
    odDefault = 0x20
};
using TOwnerDrawState = uint32_t;

enum TMouseButton { mbLeft, mbRight, mbMiddle };
enum TCursor { crDefault, crArrow, crHandPoint, crHourGlass };

using TNotifyEvent = std::function<void(TObject* sender)>;
using TMouseEvent =
    std::function<void(TObject* sender, TMouseButton button, TShiftState shift, int x, int y)>;
using TMouseMoveEvent = std::function<void(TObject* sender, TShiftState shift, int x, int y)>;
// Setting key to 0 swallows the key.
using TKeyPressEvent = std::function<void(TObject* sender, char& key)>;
// A key pressed (virtual-key code) with Shift, Alt and Ctrl as they are; setting key to 0
// swallows it, so the control's own handling never sees it.
using TKeyEvent = std::function<void(TObject* sender, WORD& key, TShiftState shift)>;

// Screen size and the cursor shown over every window of the program while set.
class TScreen {
public:
    int Width() const { return GetSystemMetrics(SM_CXSCREEN); }
    int Height() const { return GetSystemMetrics(SM_CYSCREEN); }
    TCursor Cursor() const { return cursor_; }
    void SetCursor(TCursor cursor);

private:
    TCursor cursor_ = crDefault;
};
extern TScreen* Screen;

// One row of a window's layout table; the text, when given, is the control's first caption.
struct ControlSpec {
    const char* Name;
    int32_t Left, Top, Width, Height;
    const char* Text = nullptr;
};

class TWinControl;

class TControl : public TComponent {
public:
    explicit TControl(TComponent* owner);
    ~TControl() override;

    TWinControl* Parent() const { return parent_; }
    virtual void SetParent(TWinControl* parent);

    int Left() const { return left_; }
    int Top() const { return top_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    void SetLeft(int left) { SetBounds(left, top_, width_, height_); }
    void SetTop(int top) { SetBounds(left_, top, width_, height_); }
    void SetWidth(int width) { SetBounds(left_, top_, width, height_); }
    void SetHeight(int height) { SetBounds(left_, top_, width_, height); }
    virtual void SetBounds(int left, int top, int width, int height);
    // Left, top and size (and the text, when the row has one) from the table's row of this
    // control's Name.
    void SetBoundsFrom(const ControlSpec* table, size_t count);
    RECT BoundsRect() const { return {left_, top_, left_ + width_, top_ + height_}; }
    virtual int ClientWidth() const { return width_; }
    virtual int ClientHeight() const { return height_; }

    virtual bool Visible() const { return visible_; }
    virtual void SetVisible(bool visible);
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }
    bool Enabled() const { return enabled_; }
    virtual void SetEnabled(bool enabled);

    virtual AnsiString Caption() const;
    void SetCaption(const AnsiString& caption);
    AnsiString Text() const { return Caption(); }
    void SetText(const AnsiString& text) { SetCaption(text); }

    TFont* Font() { return &font_; }
    bool ParentFont() const { return parentFont_; }
    void SetParentFont(bool parentFont);
    TColor Color() const;
    virtual void SetColor(TColor color);
    TCursor Cursor() const { return cursor_; }
    void SetCursor(TCursor cursor) { cursor_ = cursor; }

    // Runs the click as a user's would (also for a disabled control).
    virtual void Click();
    virtual void DblClick();
    void Invalidate();
    void Repaint();
    // Topmost among its siblings of the same kind.
    virtual void BringToFront();
    POINT ClientToScreen(POINT p) const;

    // The logical palette the control's pictures are drawn with; none unless a control has one.
    virtual HPALETTE GetPalette() { return nullptr; }

    // Sends a message straight to the control's WndProc.
    LRESULT Perform(UINT msg, WPARAM wParam, LPARAM lParam);
    virtual void WndProc(TMessage& msg);

    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TMouseEvent OnMouseDown;
    TMouseEvent OnMouseUp;
    TMouseMoveEvent OnMouseMove;
    TNotifyEvent OnMouseEnter;
    TNotifyEvent OnMouseLeave;

protected:
    virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
    virtual void MouseUp(TMouseButton button, TShiftState shift, int x, int y);
    virtual void MouseMove(TShiftState shift, int x, int y);
    virtual void MouseEnter();
    virtual void MouseLeave();
    // The window's own procedure; windowless controls have none.
    virtual void DefaultHandler(TMessage&) {}
    virtual void TextChanged() { Invalidate(); }
    virtual void FontChanged();
    virtual void ColorChanged() { Invalidate(); }
    virtual void BoundsChanged() {}
    // Controls that turn a press and release over them into a click
    // (windowless controls, labels); push buttons click by their notification.
    bool clickEvents_ = false;
    // Takes the parent's colour while no colour of its own is set.
    bool parentColor_ = false;
    int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
    bool visible_ = true;
    bool enabled_ = true;
    AnsiString caption_;
    TColor color_ = clBtnFace;

private:
    friend class TWinControl;
    void TakeParentFont();
    void HandleMouseMessage(TMessage& msg);

    TWinControl* parent_ = nullptr;
    TFont font_;
    bool parentFont_ = true;
    bool takingParentFont_ = false;
    TCursor cursor_ = crDefault;
    bool clicked_ = false;
};

// What a windowed control's window is made with.
struct TCreateParams {
    AnsiString Caption;
    DWORD Style = 0;
    DWORD ExStyle = 0;
    int X = 0, Y = 0, Width = 0, Height = 0;
    HWND WndParent = nullptr;
    // A class of the system (created, then subclassed) or one of ours, registered under it.
    AnsiString WinClassName;
    bool SystemClass = false;
};

class TWinControl : public TControl {
public:
    explicit TWinControl(TComponent* owner);
    ~TWinControl() override;

    // From here on no handler runs for this control and those on it.
    void BeforeDestruction() override;

    // The window, made (with its parent's first) when first asked for.
    HWND Handle();
    bool HandleAllocated() const { return handle_ != nullptr; }
    void HandleNeeded() { Handle(); }
    static TWinControl* FromHandle(HWND hwnd);

    int ControlCount() const { return static_cast<int>(controls_.size()); }
    TControl* Controls(int index) const { return controls_.at(static_cast<size_t>(index)); }

    void SetBounds(int left, int top, int width, int height) override;
    bool Visible() const override;
    void SetVisible(bool visible) override;
    void SetEnabled(bool enabled) override;
    AnsiString Caption() const override;
    void BringToFront() override;
    int ClientWidth() const override;
    int ClientHeight() const override;

    bool Focused() const;
    // Visible and enabled up to its top-level window, which is showing.
    virtual bool CanFocus() const;
    void SetFocus();
    bool TabStop() const { return tabStop_; }
    void SetTabStop(bool tabStop);

    // Paints what this control shows under its child windows (colour, own
    // drawing, windowless controls) into dc; area is in client coordinates and
    // dc's origin at the client's top left. Transparent children draw this first.
    void PaintBackground(HDC dc, const RECT& area);

    void WndProc(TMessage& msg) override;

    TNotifyEvent OnEnter;
    TNotifyEvent OnExit;
    TKeyEvent OnKeyDown;
    TKeyPressEvent OnKeyPress;

protected:
    virtual void CreateParams(TCreateParams& params);
    virtual void CreateHandle();
    // After the window is made: font, colours, contents held while it did not exist.
    virtual void InitializeHandle() {}
    // This window or one of its parents was shown or hidden: passed on to the children.
    virtual void ShowingChanged();
    // A control whose window costs enough to be made only once it can be seen (or its handle
    // is asked for): until then it is only what its properties say.
    virtual bool WaitsToBeSeen() const { return false; }
    void DefaultHandler(TMessage& msg) override;
    // Own window classes: drawing over the background colour, under the windowless controls.
    virtual void Paint() {}
    TCanvas* Canvas() { return &canvas_; }
    // The brush of WM_CTLCOLOR answers: the control's colour.
    HBRUSH ColorBrush();
    virtual void KeyDown(WORD& key, TShiftState shift);
    virtual void KeyPress(char& key);
    virtual void DoEnter();
    virtual void DoExit();
    // The focus has moved to focused, inside this control's top-level window.
    virtual void FocusChanged(TWinControl* focused) { (void)focused; }
    void TextChanged() override;
    void FontChanged() override;
    void ColorChanged() override;
    // The window if it exists; never makes it.
    HWND ExistingHandle() const { return handle_; }
    // Kept by top-level windows: the control that had the focus last.
    TWinControl* FocusedChild() const { return focusedControl_; }
    // The extra height of a window whose visible height the system decides
    // (a combo box's dropped list).
    virtual int ExtraWindowHeight() const { return 0; }

private:
    friend class TControl;
    static LRESULT CALLBACK ClassWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK SubclassWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT Route(UINT msg, WPARAM wParam, LPARAM lParam);
    void Attach(HWND hwnd);
    void Detach();
    void MarkDestroying();
    void InsertControl(TControl* control);
    void RemoveControl(TControl* control);
    // The child's window is made now unless it waits to be seen and cannot be.
    void CreateChildHandle(TWinControl* child);
    TWinControl* TopLevel();
    void NotifyFocus();
    void BroadcastFocusChanged(TWinControl* focused);
    void ForgetFocus(TControl* leaving);
    TControl* GraphicControlAt(int x, int y, bool allowDisabled) const;
    bool RouteMouseToGraphic(TMessage& msg);
    void TrackMouse(TMessage& msg);
    bool Reflect(TMessage& msg);
    void PaintHandler(HDC target, const RECT* area);
    void UpdateBoundsFromWindow();
    bool SetCursorFor(TMessage& msg);

    HWND handle_ = nullptr;
    WNDPROC defProc_ = nullptr;
    bool ownClass_ = false;
    bool destroying_ = false;
    bool tabStop_ = false;
    bool tabStopSet_ = false;
    std::vector<TControl*> controls_;
    TControl* captureControl_ = nullptr;
    TWinControl* focusedControl_ = nullptr;  // kept by top-level windows
    TCanvas canvas_;
    TGdiObject<HBRUSH> brush_;
    COLORREF brushColor_ = 0;
};

// A windowless control: painted by its parent, given its parent's mouse
// messages when it lies under the mouse.
class TGraphicControl : public TControl {
public:
    explicit TGraphicControl(TComponent* owner);

protected:
    virtual void Paint() {}
    TCanvas* Canvas() { return &canvas_; }

private:
    friend class TWinControl;
    TCanvas canvas_;
};

// Makes a control, names it, places it on parent and gives it its text from the layout table's
// row of that name; an unknown name throws.
template <class T, size_t N>
T* NewControl(TComponent* owner, TWinControl* parent, const ControlSpec (&layout)[N],
              const char* name) {
    T* control = new T(owner);
    control->Name = name;
    control->SetBoundsFrom(layout, N);
    if (parent) control->SetParent(parent);
    return control;
}

// Each control's text read by its Name, with the text it has as the default.
void ReadTexts(const TTextReader& read, std::initializer_list<TControl*> controls);
