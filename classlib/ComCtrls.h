// The common controls the windows use: a report-style list view, the
// animation control playing clip files, and a read-only rich text box.
#pragma once

#include <windows.h>

#include <exception>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

#include "Controls.h"
#include "ImgList.h"
#include "StdCtrls.h"

class TListView;

// One row: caption, sub-items for the further columns, icon, user data and a record of its own.
class TListItem {
public:
    AnsiString Caption() const { return caption_; }
    void SetCaption(const AnsiString& caption);
    TStrings* SubItems() { return &subItems_; }
    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int index);
    // Not owned: whoever stores something here frees it.
    void* Data = nullptr;
    // Owned by the row: freed when the row is deleted, the list cleared or freed, or the record
    // replaced. Record answers null without one, or for another type than it holds.
    template <class T>
    void SetRecord(std::unique_ptr<T> record) {
        record_.Set(std::move(record));
    }
    template <class T>
    T* Record() const {
        return record_.Get<T>();
    }

    int Index() const;
    bool Selected() const;
    void SetSelected(bool selected);
    bool Focused() const;
    void SetFocused(bool focused);
    void MakeVisible();
    void Delete();
    TListView* ListView() const { return view_; }

private:
    friend class TListView;
    friend class TListItems;
    explicit TListItem(TListView* view) : view_(view), subItems_(this) {}

    class SubItemList : public TStringList {
    public:
        explicit SubItemList(TListItem* item) : item_(item) {}
        void Put(int index, const AnsiString& text) override;
        void InsertObject(int index, const AnsiString& text, void* object) override;
        void Delete(int index) override;
        void Clear() override;

    private:
        TListItem* item_;
    };
    void Update();
    void SetState(UINT mask, bool on);
    bool State(UINT mask, bool cached) const;

    TListView* view_;
    AnsiString caption_;
    SubItemList subItems_;
    int imageIndex_ = -1;
    bool selected_ = false;
    bool focused_ = false;
    TOwnedRecord record_;
};

class TListItems {
public:
    int Count() const { return static_cast<int>(items_.size()); }
    TListItem* Item(int index) const;
    TListItem* operator[](int index) const { return Item(index); }
    // A new row at the end.
    TListItem* Add();
    // A selected row is reported deselected (OnSelectItem) before it goes.
    void Delete(int index);
    void Clear();

private:
    friend class TListView;
    friend class TListItem;
    explicit TListItems(TListView* view) : view_(view) {}
    void ReportDeselected(TListItem* item);

    TListView* view_;
    std::vector<std::unique_ptr<TListItem>> items_;
};

// A report-mode list view with one selected row at most.
class TListView : public TWinControl {
public:
    explicit TListView(TComponent* owner);

    TListItems* Items() { return &items_; }
    void AddColumn(const AnsiString& caption, int width, TAlignment alignment = taLeftJustify);
    int ColumnCount() const { return static_cast<int>(columns_.size()); }
    TListItem* Selected() const;
    // Selects the item; null clears the selection.
    void SetSelected(TListItem* item);
    TListItem* ItemFocused() const;
    TImageList* SmallImages() const { return smallImages_; }
    void SetSmallImages(TImageList* images);
    void SetShowColumnHeaders(bool show) { showColumnHeaders_ = show; }
    void SetGridLines(bool on);
    void SetRowSelect(bool on);
    // False keeps the selection visible while the list has no focus.
    void SetHideSelection(bool hide) { hideSelection_ = hide; }

    // Orders the rows by OnCompare (negative: the first item goes first), or
    // by caption, case ignored, when there is none.
    void AlphaSort();

    std::function<void(TObject* sender, TListItem* item, bool selected)> OnSelectItem;
    std::function<void(TObject* sender, TListItem* item1, TListItem* item2, int& compare)>
        OnCompare;

    void WndProc(TMessage& msg) override;
    // Its window, and the common controls with it, only once it can be seen: the rows are
    // kept here until then.
    bool WaitsToBeSeen() const override { return true; }

protected:
    void CreateParams(TCreateParams& params) override;
    void InitializeHandle() override;

private:
    friend class TListItem;
    friend class TListItems;
    struct Column {
        AnsiString Caption;
        int Width;
        TAlignment Alignment;
    };
    HWND Window() const;
    // The row the control finds by an LVNI_ flag; before the window exists, the first row
    // whose cached state is set.
    TListItem* FindRow(UINT flag, bool TListItem::*cached) const;
    void InsertColumn(int index, const Column& column);
    void InsertRow(int row, TListItem* item);
    void UpdateRow(int row, TListItem* item);
    void UpdateExtendedStyle();
    void ReportSelection(TListItem* item, bool selected);
    int Compare(TListItem* a, TListItem* b);
    static int CALLBACK CompareRows(LPARAM a, LPARAM b, LPARAM self);

    TListItems items_;
    std::vector<Column> columns_;
    TImageList* smallImages_ = nullptr;
    bool showColumnHeaders_ = true;
    bool gridLines_ = false;
    bool rowSelect_ = false;
    bool hideSelection_ = true;
    int quiet_ = 0;  // our own changes under way: no notifications
    std::exception_ptr sortError_;
};

// Plays a silent clip file (AVI) in a loop while Active.
class TAnimate : public TWinControl {
public:
    explicit TAnimate(TComponent* owner);

    const AnsiString& FileName() const { return fileName_; }
    void SetFileName(const AnsiString& fileName);
    // Stays false when the clip cannot be opened: a missing file is known at once, an
    // unreadable one once the control is first shown.
    bool Active() const { return active_; }
    void SetActive(bool active);
    // Frames counted from 1; stop frame 0 plays to the end.
    int StartFrame() const { return startFrame_; }
    void SetStartFrame(int frame) { startFrame_ = frame; }
    int StopFrame() const { return stopFrame_; }
    void SetStopFrame(int frame) { stopFrame_ = frame; }

protected:
    void CreateParams(TCreateParams& params) override;
    void InitializeHandle() override;
    // Plays while it can be seen, rests while it or a parent is hidden.
    void ShowingChanged() override;
    // Its window loads the system's video libraries: not made for a clip nobody sees yet.
    bool WaitsToBeSeen() const override { return true; }

private:
    // A clip file that is not there cannot be played: known without opening it.
    void ForgetMissingClip();
    bool OpenClip();
    // Opened and played now that it can be seen; an unreadable clip gives way to what lies
    // behind it.
    void PlayOrGiveWay();
    void Play();

    AnsiString fileName_;
    bool active_ = false;
    bool opened_ = false;
    int startFrame_ = 1;
    int stopFrame_ = 0;
};

// A rich text box, read-only by default, with a vertical scroll bar.
class TRichEdit : public TWinControl {
public:
    explicit TRichEdit(TComponent* owner);

    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool readOnly);
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool wordWrap);
    void Clear();
    // Rich text when the file starts with "{\rtf", plain text otherwise.
    void LoadFromFile(const AnsiString& path);

protected:
    void CreateParams(TCreateParams& params) override;
    void InitializeHandle() override;

private:
    void StreamIn(const std::string& data, bool rtf);

    bool readOnly_ = true;
    bool wordWrap_ = true;
    std::string content_;
    bool rtf_ = false;
};
