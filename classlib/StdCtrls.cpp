#include "StdCtrls.h"

#include "GdiScopes.h"

namespace {

// Paints the parent's background under a control into the control's context.
void PaintParentBackground(TControl* control, HDC dc, const RECT& client) {
    TWinControl* parent = control->Parent();
    if (!parent) return;
    SavedDC saved(dc);
    POINT origin;
    GetViewportOrgEx(dc, &origin);
    SetViewportOrgEx(dc, origin.x - control->Left(), origin.y - control->Top(), nullptr);
    RECT area = client;
    OffsetRect(&area, control->Left(), control->Top());
    parent->PaintBackground(dc, area);
}

}  // namespace

// TLabel

TLabel::TLabel(TComponent* owner) : TWinControl(owner) {
    clickEvents_ = true;
    parentColor_ = true;
}

void TLabel::SetAlignment(TAlignment alignment) {
    alignment_ = alignment;
    Invalidate();
}

void TLabel::SetLayout(TTextLayout layout) {
    layout_ = layout;
    Invalidate();
}

void TLabel::SetWordWrap(bool wordWrap) {
    wordWrap_ = wordWrap;
    Invalidate();
}

void TLabel::SetTransparent(bool transparent) {
    transparent_ = transparent;
    Invalidate();
}

void TLabel::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    params.WinClassName = "STATIC";
    params.SystemClass = true;
    params.Style |= SS_OWNERDRAW | SS_NOTIFY;  // our drawing; mouse messages reach us
}

void TLabel::TextChanged() {
    TWinControl::TextChanged();
    Invalidate();
}

void TLabel::WndProc(TMessage& msg) {
    switch (msg.Msg) {
        case CN_DRAWITEM:
            Draw(*reinterpret_cast<DRAWITEMSTRUCT*>(msg.LParam));
            msg.Result = TRUE;
            return;
        case WM_ERASEBKGND:
            msg.Result = 1;  // the drawing covers everything
            return;
        default:
            break;
    }
    TWinControl::WndProc(msg);
}

void TLabel::Draw(const DRAWITEMSTRUCT& item) {
    RECT client = item.rcItem;
    BufferScope buffer(item.hDC, client);
    HDC dc = buffer.dc();
    if (transparent_) {
        PaintParentBackground(this, dc, client);
    } else {
        FillRect(dc, &client, ColorBrush());
    }
    AnsiString text = Caption();
    UINT flags = DT_NOPREFIX | DT_EXPANDTABS;
    flags |= alignment_ == taRightJustify ? DT_RIGHT : alignment_ == taCenter ? DT_CENTER : DT_LEFT;
    if (wordWrap_) flags |= DT_WORDBREAK;
    HGDIOBJ oldFont = SelectObject(dc, Font()->Handle());
    SetBkMode(dc, TRANSPARENT);
    RECT r = client;
    if (layout_ != tlTop) {
        RECT measured = client;
        DrawTextA(dc, text.c_str(), -1, &measured, flags | DT_CALCRECT);
        int height = measured.bottom - measured.top;
        int room = (client.bottom - client.top) - height;
        r.top += layout_ == tlCenter ? room / 2 : room;
    }
    if (Enabled()) {
        SetTextColor(dc, ColorToRGB(Font()->Color()));
        DrawTextA(dc, text.c_str(), -1, &r, flags);
    } else {
        OffsetRect(&r, 1, 1);
        SetTextColor(dc, ColorToRGB(clBtnHighlight));
        DrawTextA(dc, text.c_str(), -1, &r, flags);
        OffsetRect(&r, -1, -1);
        SetTextColor(dc, ColorToRGB(clBtnShadow));
        DrawTextA(dc, text.c_str(), -1, &r, flags);
    }
    SelectObject(dc, oldFont);
}

// TEdit

TEdit::TEdit(TComponent* owner) : TWinControl(owner) {
    color_ = clWindow;
    SetTabStop(true);
}

void TEdit::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    params.WinClassName = "EDIT";
    params.SystemClass = true;
    params.Style |= ES_AUTOHSCROLL | (readOnly_ ? ES_READONLY : 0);
    if (border_) params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TEdit::InitializeHandle() {
    HWND hwnd = Handle();
    reported_ = caption_;
    SendMessageA(hwnd, EM_LIMITTEXT, static_cast<WPARAM>(maxLength_), 0);
    if (passwordChar_)
        SendMessageA(hwnd, EM_SETPASSWORDCHAR, static_cast<unsigned char>(passwordChar_), 0);
    ApplyMargins();
}

void TEdit::SetMargins(int left, int right) {
    marginLeft_ = left;
    marginRight_ = right;
    ApplyMargins();
}

void TEdit::ApplyMargins() {
    if (!HandleAllocated() || marginLeft_ < 0) return;
    SendMessageA(Handle(), EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN,
                 MAKELPARAM(marginLeft_, marginRight_));
}

void TEdit::FontChanged() {
    TWinControl::FontChanged();
    ApplyMargins();
}

void TEdit::SetMaxLength(int maxLength) {
    maxLength_ = maxLength;
    if (HandleAllocated()) SendMessageA(Handle(), EM_LIMITTEXT, static_cast<WPARAM>(maxLength), 0);
}

void TEdit::SetPasswordChar(char passwordChar) {
    if (passwordChar == passwordChar_) return;
    passwordChar_ = passwordChar;
    if (HandleAllocated()) {
        SendMessageA(Handle(), EM_SETPASSWORDCHAR, static_cast<unsigned char>(passwordChar), 0);
        InvalidateRect(Handle(), nullptr, TRUE);
    }
}

void TEdit::SetReadOnly(bool readOnly) {
    readOnly_ = readOnly;
    if (HandleAllocated()) SendMessageA(Handle(), EM_SETREADONLY, readOnly ? TRUE : FALSE, 0);
}

void TEdit::SetBorder(bool border) {
    border_ = border;
    if (!HandleAllocated()) return;
    HWND hwnd = Handle();
    LONG_PTR ex = GetWindowLongPtrA(hwnd, GWL_EXSTYLE);
    ex = border ? (ex | WS_EX_CLIENTEDGE) : (ex & ~static_cast<LONG_PTR>(WS_EX_CLIENTEDGE));
    SetWindowLongPtrA(hwnd, GWL_EXSTYLE, ex);
    SetWindowPos(hwnd, nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

int TEdit::SelStart() const {
    if (!HandleAllocated()) return 0;
    DWORD start = 0, end = 0;
    SendMessageA(ExistingHandle(), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                 reinterpret_cast<LPARAM>(&end));
    return static_cast<int>(start);
}

void TEdit::SetSelStart(int start) {
    SendMessageA(Handle(), EM_SETSEL, static_cast<WPARAM>(start), start);
}

int TEdit::SelLength() const {
    if (!HandleAllocated()) return 0;
    DWORD start = 0, end = 0;
    SendMessageA(ExistingHandle(), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                 reinterpret_cast<LPARAM>(&end));
    return static_cast<int>(end - start);
}

void TEdit::SetSelLength(int length) {
    int start = SelStart();
    SendMessageA(Handle(), EM_SETSEL, static_cast<WPARAM>(start), start + length);
}

void TEdit::SelectAll() {
    SendMessageA(Handle(), EM_SETSEL, 0, -1);
}

void TEdit::PasteFromClipboard() {
    SendMessageA(Handle(), WM_PASTE, 0, 0);
}

void TEdit::TextChanged() {
    if (HandleAllocated()) {
        TWinControl::TextChanged();  // the edit reports the change itself
    } else {
        reported_ = caption_;
        Change();
    }
}

void TEdit::Change() {
    if (OnChange) OnChange(this);
}

void TEdit::WndProc(TMessage& msg) {
    switch (msg.Msg) {
        case CN_COMMAND:
            // Some edits report a refused keystroke as a change: only real ones count.
            if (HIWORD(msg.WParam) == EN_CHANGE) {
                AnsiString text = Caption();
                if (text != reported_) {
                    reported_ = text;
                    Change();
                }
            }
            return;
        case CN_CTLCOLOREDIT:
        case CN_CTLCOLORSTATIC: {
            auto dc = reinterpret_cast<HDC>(msg.WParam);
            SetTextColor(dc, Enabled() ? ColorToRGB(Font()->Color()) : ColorToRGB(clGrayText));
            SetBkColor(dc, ColorToRGB(Color()));
            msg.Result = reinterpret_cast<LRESULT>(ColorBrush());
            return;
        }
        default:
            break;
    }
    TWinControl::WndProc(msg);
}

// TComboBox

TComboBox::TComboBox(TComponent* owner) : TWinControl(owner), items_(this) {
    color_ = clWindow;
    SetTabStop(true);
}

HWND TComboBox::Window() const {
    return ExistingHandle();
}

void TComboBox::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    params.WinClassName = "COMBOBOX";
    params.SystemClass = true;
    params.Style |= WS_VSCROLL | (style_ == csDropDownList ? CBS_DROPDOWNLIST : CBS_DROPDOWN);
}

void TComboBox::InitializeHandle() {
    HWND hwnd = Handle();
    for (int i = 0; i < items_.Count(); ++i)
        SendMessageA(hwnd, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(items_.Strings(i).c_str()));
    SendMessageA(hwnd, CB_SETCURSEL, static_cast<WPARAM>(itemIndex_), 0);
}

int TComboBox::ItemIndex() const {
    if (HWND hwnd = Window()) return static_cast<int>(SendMessageA(hwnd, CB_GETCURSEL, 0, 0));
    return itemIndex_;
}

void TComboBox::SetItemIndex(int index) {
    if (index < -1 || index >= items_.Count()) index = -1;
    itemIndex_ = index;
    if (HWND hwnd = Window()) SendMessageA(hwnd, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void TComboBox::ItemList::Put(int index, const AnsiString& text) {
    TStringList::Put(index, text);
    if (HWND hwnd = box_->Window()) {
        int selected = box_->ItemIndex();
        SendMessageA(hwnd, CB_DELETESTRING, static_cast<WPARAM>(index), 0);
        SendMessageA(hwnd, CB_INSERTSTRING, static_cast<WPARAM>(index),
                     reinterpret_cast<LPARAM>(text.c_str()));
        if (selected == index) SendMessageA(hwnd, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
        box_->itemIndex_ = box_->ItemIndex();
    }
}

void TComboBox::ItemList::InsertObject(int index, const AnsiString& text, void* object) {
    TStringList::InsertObject(index, text, object);
    if (HWND hwnd = box_->Window()) {
        SendMessageA(hwnd, CB_INSERTSTRING, static_cast<WPARAM>(index),
                     reinterpret_cast<LPARAM>(text.c_str()));
        box_->itemIndex_ = box_->ItemIndex();
    } else if (box_->itemIndex_ >= index) {
        ++box_->itemIndex_;
    }
}

void TComboBox::ItemList::Delete(int index) {
    TStringList::Delete(index);
    if (HWND hwnd = box_->Window()) {
        SendMessageA(hwnd, CB_DELETESTRING, static_cast<WPARAM>(index), 0);
        box_->itemIndex_ = box_->ItemIndex();
    } else if (box_->itemIndex_ == index) {
        box_->itemIndex_ = -1;
    } else if (box_->itemIndex_ > index) {
        --box_->itemIndex_;
    }
}

void TComboBox::ItemList::Clear() {
    TStringList::Clear();
    box_->itemIndex_ = -1;
    if (HWND hwnd = box_->Window()) SendMessageA(hwnd, CB_RESETCONTENT, 0, 0);
}

void TComboBox::WndProc(TMessage& msg) {
    if (msg.Msg == CN_COMMAND) {
        switch (HIWORD(msg.WParam)) {
            case CBN_SELCHANGE:
                Selected();
                break;
            // A list dropped, arrowed through and then cancelled goes back to the item it
            // had without a change notice: tell the owner of the item shown again, so it
            // never acts on one the list no longer shows.
            case CBN_SELENDCANCEL:
            case CBN_CLOSEUP:
                if (ItemIndex() != itemIndex_) Selected();
                break;
        }
        return;
    }
    TWinControl::WndProc(msg);
}

void TComboBox::Selected() {
    itemIndex_ = ItemIndex();
    Click();
    if (OnSelect) {
        OnSelect(this);
    } else if (OnChange) {
        OnChange(this);
    }
}

// TRadioButton

TRadioButton::TRadioButton(TComponent* owner) : TWinControl(owner) {
    parentColor_ = true;
}

void TRadioButton::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    params.WinClassName = "BUTTON";
    params.SystemClass = true;
    params.Style |= BS_RADIOBUTTON;  // checked by us, so programs and users check alike
}

void TRadioButton::InitializeHandle() {
    SendMessageA(Handle(), BM_SETCHECK, checked_ ? BST_CHECKED : BST_UNCHECKED, 0);
}

void TRadioButton::SetChecked(bool checked) {
    if (checked == checked_) return;
    checked_ = checked;
    SetTabStop(checked);
    if (HandleAllocated())
        SendMessageA(Handle(), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
    if (!checked) return;
    if (TWinControl* parent = Parent()) {
        for (int i = 0; i < parent->ControlCount(); ++i) {
            auto* sibling = dynamic_cast<TRadioButton*>(parent->Controls(i));
            if (sibling && sibling != this) sibling->SetChecked(false);
        }
    }
    Click();
}

void TRadioButton::WndProc(TMessage& msg) {
    switch (msg.Msg) {
        case CN_COMMAND:
            if (HIWORD(msg.WParam) == BN_CLICKED) {
                SetChecked(true);
            } else if (HIWORD(msg.WParam) == BN_DOUBLECLICKED) {
                DblClick();
            }
            return;
        case CN_CTLCOLORSTATIC:
        case CN_CTLCOLORBTN: {
            // The parent's picture shows around the circle and behind the text.
            auto dc = reinterpret_cast<HDC>(msg.WParam);
            RECT client;
            GetClientRect(Handle(), &client);
            PaintParentBackground(this, dc, client);
            SetBkMode(dc, TRANSPARENT);
            SetTextColor(dc, ColorToRGB(Font()->Color()));
            msg.Result = reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
            return;
        }
        default:
            break;
    }
    TWinControl::WndProc(msg);
}

// TButton

TButton::TButton(TComponent* owner) : TWinControl(owner) {
    SetTabStop(true);
}

void TButton::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    params.WinClassName = "BUTTON";
    params.SystemClass = true;
    params.Style |= default_ ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
}

void TButton::SetDefault(bool isDefault) {
    default_ = isDefault;
    if (!HandleAllocated()) return;
    TForm* form = GetParentForm(this);
    FocusChanged(form ? form->ActiveControl() : nullptr);
}

void TButton::SetButtonStyle(bool isDefault) {
    if (!HandleAllocated()) return;
    HWND hwnd = Handle();
    LONG_PTR type = GetWindowLongPtrA(hwnd, GWL_STYLE) & BS_TYPEMASK;
    if (type != BS_PUSHBUTTON && type != BS_DEFPUSHBUTTON) return;  // drawn by its owner
    SendMessageA(hwnd, BM_SETSTYLE, isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
}

void TButton::FocusChanged(TWinControl* focused) {
    bool active = dynamic_cast<TButton*>(focused) ? focused == this : default_;
    SetButtonStyle(active);
}

void TButton::Click() {
    if (TForm* form = GetParentForm(this)) form->SetModalResult(modalResult_);
    TWinControl::Click();
}

void TButton::WndProc(TMessage& msg) {
    if (msg.Msg == CN_COMMAND) {
        if (HIWORD(msg.WParam) == BN_CLICKED) Click();
        return;
    }
    TWinControl::WndProc(msg);
}

// TPanel

TPanel::TPanel(TComponent* owner) : TWinControl(owner) {}

void TPanel::SetBevelInner(TBevelCut bevel) {
    bevelInner_ = bevel;
    Invalidate();
}

void TPanel::SetBevelOuter(TBevelCut bevel) {
    bevelOuter_ = bevel;
    Invalidate();
}

void TPanel::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    params.Style |= WS_CLIPCHILDREN;
    params.ExStyle |= WS_EX_CONTROLPARENT;
}

void TPanel::Paint() {
    TCanvas* canvas = Canvas();
    RECT r = {0, 0, ClientWidth(), ClientHeight()};
    for (TBevelCut bevel : {bevelOuter_, bevelInner_}) {
        if (bevel == bvNone) continue;
        TColor top = bevel == bvRaised ? clBtnHighlight : clBtnShadow;
        TColor bottom = bevel == bvRaised ? clBtnShadow : clBtnHighlight;
        Frame3D(canvas, r, top, bottom, 1);
    }
    AnsiString text = Caption();
    if (text.empty()) return;
    canvas->Font()->Assign(*Font());
    canvas->TextExtent(text);  // selects the font and its colour
    HDC dc = canvas->Handle();
    SetBkMode(dc, TRANSPARENT);
    DrawTextA(dc, text.c_str(), -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}
