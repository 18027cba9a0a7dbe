// The standard controls over the system's window classes: labels, edits,
// drop-down lists, radio buttons, push buttons, and panels.
#pragma once

#include <windows.h>

#include <vector>

#include "Controls.h"
#include "Forms.h"

enum TAlignment { taLeftJustify, taRightJustify, taCenter };
enum TTextLayout { tlTop, tlCenter, tlBottom };

// A text drawn by the control itself (an owner-drawn static, so other
// programs still read its text), optionally over what its parent shows.
class TLabel : public TWinControl {
public:
    explicit TLabel(TComponent* owner);

    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment alignment);
    TTextLayout Layout() const { return layout_; }
    void SetLayout(TTextLayout layout);
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool wordWrap);
    // Shows the parent's background (picture included) around the text.
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool transparent);

    void WndProc(TMessage& msg) override;

protected:
    void CreateParams(TCreateParams& params) override;
    void TextChanged() override;

private:
    void Draw(const DRAWITEMSTRUCT& item);

    TAlignment alignment_ = taLeftJustify;
    TTextLayout layout_ = tlTop;
    bool wordWrap_ = false;
    bool transparent_ = false;
};

class TEdit : public TWinControl {
public:
    explicit TEdit(TComponent* owner);

    // 0: as long as the system allows.
    int MaxLength() const { return maxLength_; }
    void SetMaxLength(int maxLength);
    // 0 shows the text in plain.
    char PasswordChar() const { return passwordChar_; }
    void SetPasswordChar(char passwordChar);
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool readOnly);
    bool Border() const { return border_; }
    void SetBorder(bool border);
    // Pixels between the text and the left and right edges; until set, the system's (which
    // depend on the font).
    void SetMargins(int left, int right);
    int SelStart() const;
    void SetSelStart(int start);
    int SelLength() const;
    void SetSelLength(int length);
    void SelectAll();
    // The clipboard's text over the selection, as the edit's own Ctrl+V does it.
    void PasteFromClipboard();
    void Clear() { SetText(""); }

    // After every change of the text, by the user or by SetText (setting the
    // same text again is no change).
    TNotifyEvent OnChange;

    void WndProc(TMessage& msg) override;

protected:
    void CreateParams(TCreateParams& params) override;
    void InitializeHandle() override;
    void TextChanged() override;
    // A new font brings the system's margins back: ours go on again.
    void FontChanged() override;
    virtual void Change();

private:
    void ApplyMargins();

    AnsiString reported_;  // the text OnChange last reported
    int marginLeft_ = -1;  // -1: the system's
    int marginRight_ = -1;
    int maxLength_ = 0;
    char passwordChar_ = 0;
    bool readOnly_ = false;
    bool border_ = true;
};

enum TComboBoxStyle { csDropDown, csDropDownList };

class TComboBox : public TWinControl {
public:
    explicit TComboBox(TComponent* owner);

    // Texts with their objects or values and their own records (freed with their rows); kept
    // while the window does not exist.
    TStrings* Items() { return &items_; }
    int ItemIndex() const;
    // Selects by program: no OnSelect or OnChange.
    void SetItemIndex(int index);
    TComboBoxStyle Style() const { return style_; }
    void SetStyle(TComboBoxStyle style) { style_ = style; }
    void Clear() { items_.Clear(); }

    // When the user picks an item: OnClick, then OnSelect, or OnChange when
    // there is no OnSelect.
    TNotifyEvent OnSelect;
    TNotifyEvent OnChange;

    void WndProc(TMessage& msg) override;

protected:
    void CreateParams(TCreateParams& params) override;
    void InitializeHandle() override;
    int ExtraWindowHeight() const override { return 200; }

private:
    class ItemList : public TStringList {
    public:
        explicit ItemList(TComboBox* box) : box_(box) {}
        void Put(int index, const AnsiString& text) override;
        void InsertObject(int index, const AnsiString& text, void* object) override;
        void Delete(int index) override;
        void Clear() override;

    private:
        TComboBox* box_;
    };
    HWND Window() const;
    // The user's pick: OnClick, then OnSelect or OnChange.
    void Selected();

    ItemList items_;
    int itemIndex_ = -1;
    TComboBoxStyle style_ = csDropDownList;
};

class TRadioButton : public TWinControl {
public:
    explicit TRadioButton(TComponent* owner);

    bool Checked() const { return checked_; }
    // Checking unchecks the radio buttons beside it and runs OnClick.
    void SetChecked(bool checked);

    void WndProc(TMessage& msg) override;

protected:
    void CreateParams(TCreateParams& params) override;
    void InitializeHandle() override;

private:
    bool checked_ = false;
};

// A push button; clicking sets its form's ModalResult to its own.
class TButton : public TWinControl {
public:
    explicit TButton(TComponent* owner);

    int ModalResult() const { return modalResult_; }
    void SetModalResult(int result) { modalResult_ = result; }
    // Pressed by Return while no other button has the focus.
    bool Default() const { return default_; }
    void SetDefault(bool isDefault);
    // Pressed by Esc.
    bool Cancel() const { return cancel_; }
    void SetCancel(bool isCancel) { cancel_ = isCancel; }
    void Click() override;

    void WndProc(TMessage& msg) override;

protected:
    void CreateParams(TCreateParams& params) override;
    // Shown as the button Return presses (or not): on focus changes.
    virtual void SetButtonStyle(bool isDefault);
    void FocusChanged(TWinControl* focused) override;

private:
    int modalResult_ = 0;
    bool default_ = false;
    bool cancel_ = false;
};

enum TBevelCut { bvNone, bvLowered, bvRaised };

// A container with optional bevels and a centred caption.
class TPanel : public TWinControl {
public:
    explicit TPanel(TComponent* owner);

    TBevelCut BevelInner() const { return bevelInner_; }
    void SetBevelInner(TBevelCut bevel);
    TBevelCut BevelOuter() const { return bevelOuter_; }
    void SetBevelOuter(TBevelCut bevel);

protected:
    void CreateParams(TCreateParams& params) override;
    void Paint() override;

private:
    TBevelCut bevelInner_ = bvNone;
    TBevelCut bevelOuter_ = bvRaised;
};
