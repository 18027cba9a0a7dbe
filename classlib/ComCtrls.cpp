#include "ComCtrls.h"

#include <commctrl.h>
#include <richedit.h>

#include <algorithm>
#include <iterator>

#include "CommonControls.h"
#include "Handles.h"
#include "SystemLibrary.h"

namespace {

void InitCommonControlsOnce() {
    CommonControls();
}

// Our own changes to the list view report nothing to the handlers.
class Quiet {
public:
    explicit Quiet(int& counter) : counter_(counter) { ++counter_; }
    ~Quiet() { --counter_; }
    Quiet(const Quiet&) = delete;
    Quiet& operator=(const Quiet&) = delete;

private:
    int& counter_;
};

}  // namespace

// TListItem

void TListItem::SetCaption(const AnsiString& caption) {
    caption_ = caption;
    Update();
}

void TListItem::SetImageIndex(int index) {
    imageIndex_ = index;
    Update();
}

int TListItem::Index() const {
    const auto& items = view_->items_.items_;
    for (size_t i = 0; i < items.size(); ++i)
        if (items[i].get() == this) return static_cast<int>(i);
    return -1;
}

void TListItem::Update() {
    int row = Index();
    if (row >= 0) view_->UpdateRow(row, this);
}

void TListItem::SetState(UINT mask, bool on) {
    HWND hwnd = view_->Window();
    int row = Index();
    if (hwnd && row >= 0) {
        if (mask == LVIS_SELECTED) selected_ = on;
        if (mask == LVIS_FOCUSED) focused_ = on;
        LVITEMA item = {};
        item.stateMask = mask;
        item.state = on ? mask : 0;
        SendMessageA(hwnd, LVM_SETITEMSTATE, static_cast<WPARAM>(row),
                     reinterpret_cast<LPARAM>(&item));
        return;
    }
    // Before its window exists the list keeps the states as its control would: one row
    // focused and one selected at most, each change of the selection reported.
    auto& items = view_->items_.items_;
    if (mask == LVIS_FOCUSED) {
        if (on)
            for (auto& each : items) each->focused_ = false;
        focused_ = on;
        return;
    }
    if (mask != LVIS_SELECTED) return;
    if (on && row >= 0) {
        for (auto& each : items) {
            if (each.get() == this || !each->selected_) continue;
            each->selected_ = false;
            view_->ReportSelection(each.get(), false);
        }
    }
    if (selected_ == on) return;
    selected_ = on;
    if (row >= 0) view_->ReportSelection(this, on);
}

bool TListItem::State(UINT mask, bool cached) const {
    HWND hwnd = view_->Window();
    int row = Index();
    if (!hwnd || row < 0) return cached;
    return (SendMessageA(hwnd, LVM_GETITEMSTATE, static_cast<WPARAM>(row), mask) & mask) != 0;
}

bool TListItem::Selected() const {
    return State(LVIS_SELECTED, selected_);
}

void TListItem::SetSelected(bool selected) {
    SetState(LVIS_SELECTED, selected);
}

bool TListItem::Focused() const {
    return State(LVIS_FOCUSED, focused_);
}

void TListItem::SetFocused(bool focused) {
    SetState(LVIS_FOCUSED, focused);
}

void TListItem::MakeVisible() {
    HWND hwnd = view_->Window();
    int row = Index();
    if (hwnd && row >= 0) SendMessageA(hwnd, LVM_ENSUREVISIBLE, static_cast<WPARAM>(row), FALSE);
}

void TListItem::Delete() {
    int row = Index();
    if (row >= 0) view_->items_.Delete(row);
}

void TListItem::SubItemList::Put(int index, const AnsiString& text) {
    TStringList::Put(index, text);
    item_->Update();
}

void TListItem::SubItemList::InsertObject(int index, const AnsiString& text, void* object) {
    TStringList::InsertObject(index, text, object);
    item_->Update();
}

void TListItem::SubItemList::Delete(int index) {
    TStringList::Delete(index);
    item_->Update();
}

void TListItem::SubItemList::Clear() {
    TStringList::Clear();
    item_->Update();
}

// TListItems

TListItem* TListItems::Item(int index) const {
    if (index < 0 || index >= Count())
        throw Exception(Format("List index out of bounds (%d)", index));
    return items_[static_cast<size_t>(index)].get();
}

TListItem* TListItems::Add() {
    items_.emplace_back(new TListItem(view_));
    TListItem* item = items_.back().get();
    if (view_->Window()) view_->InsertRow(Count() - 1, item);
    return item;
}

void TListItems::ReportDeselected(TListItem* item) {
    if (item->Selected() && view_->OnSelectItem) view_->OnSelectItem(view_, item, false);
}

void TListItems::Delete(int index) {
    TListItem* item = Item(index);
    ReportDeselected(item);
    if (HWND hwnd = view_->Window()) {
        Quiet quiet(view_->quiet_);
        SendMessageA(hwnd, LVM_DELETEITEM, static_cast<WPARAM>(index), 0);
    }
    items_.erase(items_.begin() + index);
}

void TListItems::Clear() {
    for (auto& item : items_) ReportDeselected(item.get());
    if (HWND hwnd = view_->Window()) {
        Quiet quiet(view_->quiet_);
        SendMessageA(hwnd, LVM_DELETEALLITEMS, 0, 0);
    }
    items_.clear();
}

// TListView

TListView::TListView(TComponent* owner) : TWinControl(owner), items_(this) {
    color_ = clWindow;
    SetTabStop(true);
}

HWND TListView::Window() const {
    return ExistingHandle();
}

void TListView::CreateParams(TCreateParams& params) {
    InitCommonControlsOnce();
    TWinControl::CreateParams(params);
    params.WinClassName = WC_LISTVIEWA;
    params.SystemClass = true;
    params.Style |= LVS_REPORT | LVS_SINGLESEL | LVS_SHAREIMAGELISTS |
                    (hideSelection_ ? 0 : LVS_SHOWSELALWAYS) |
                    (showColumnHeaders_ ? 0 : LVS_NOCOLUMNHEADER);
    params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TListView::InitializeHandle() {
    HWND hwnd = Handle();
    UpdateExtendedStyle();
    if (smallImages_)
        SendMessageA(hwnd, LVM_SETIMAGELIST, LVSIL_SMALL,
                     reinterpret_cast<LPARAM>(smallImages_->Handle()));
    for (size_t i = 0; i < columns_.size(); ++i) InsertColumn(static_cast<int>(i), columns_[i]);
    Quiet quiet(quiet_);
    for (int row = 0; row < items_.Count(); ++row) {
        TListItem* item = items_.Item(row);
        InsertRow(row, item);
        if (item->selected_) item->SetSelected(true);
        if (item->focused_) item->SetFocused(true);
    }
}

void TListView::UpdateExtendedStyle() {
    HWND hwnd = Window();
    if (!hwnd) return;
    DWORD mask = LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT;
    DWORD value = (gridLines_ ? LVS_EX_GRIDLINES : 0) | (rowSelect_ ? LVS_EX_FULLROWSELECT : 0);
    SendMessageA(hwnd, LVM_SETEXTENDEDLISTVIEWSTYLE, mask, value);
}

void TListView::SetGridLines(bool on) {
    gridLines_ = on;
    UpdateExtendedStyle();
}

void TListView::SetRowSelect(bool on) {
    rowSelect_ = on;
    UpdateExtendedStyle();
}

void TListView::SetSmallImages(TImageList* images) {
    smallImages_ = images;
    if (HWND hwnd = Window())
        SendMessageA(hwnd, LVM_SETIMAGELIST, LVSIL_SMALL,
                     reinterpret_cast<LPARAM>(images ? images->Handle() : nullptr));
}

void TListView::AddColumn(const AnsiString& caption, int width, TAlignment alignment) {
    columns_.push_back({caption, width, alignment});
    if (Window()) {
        InsertColumn(ColumnCount() - 1, columns_.back());
        for (int row = 0; row < items_.Count(); ++row) UpdateRow(row, items_.Item(row));
    }
}

void TListView::InsertColumn(int index, const Column& column) {
    LVCOLUMNA lvc = {};
    lvc.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT | LVCF_SUBITEM;
    lvc.fmt = column.Alignment == taCenter         ? LVCFMT_CENTER
              : column.Alignment == taRightJustify ? LVCFMT_RIGHT
                                                   : LVCFMT_LEFT;
    lvc.cx = column.Width;
    lvc.pszText = const_cast<char*>(column.Caption.c_str());
    lvc.iSubItem = index;
    SendMessageA(Window(), LVM_INSERTCOLUMNA, static_cast<WPARAM>(index),
                 reinterpret_cast<LPARAM>(&lvc));
}

void TListView::InsertRow(int row, TListItem* item) {
    LVITEMA lvi = {};
    lvi.mask = LVIF_TEXT | LVIF_PARAM | LVIF_IMAGE;
    lvi.iItem = row;
    lvi.pszText = const_cast<char*>(item->caption_.c_str());
    lvi.iImage = item->imageIndex_;
    lvi.lParam = reinterpret_cast<LPARAM>(item);
    SendMessageA(Window(), LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&lvi));
    UpdateRow(row, item);
}

void TListView::UpdateRow(int row, TListItem* item) {
    HWND hwnd = Window();
    if (!hwnd) return;
    LVITEMA lvi = {};
    lvi.mask = LVIF_TEXT | LVIF_IMAGE;
    lvi.iItem = row;
    lvi.pszText = const_cast<char*>(item->caption_.c_str());
    lvi.iImage = item->imageIndex_;
    SendMessageA(hwnd, LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&lvi));
    for (int column = 1; column < ColumnCount(); ++column) {
        AnsiString text;
        if (column - 1 < item->subItems_.Count()) text = item->subItems_.Strings(column - 1);
        LVITEMA sub = {};
        sub.iSubItem = column;
        sub.pszText = const_cast<char*>(text.c_str());
        SendMessageA(hwnd, LVM_SETITEMTEXTA, static_cast<WPARAM>(row),
                     reinterpret_cast<LPARAM>(&sub));
    }
}

TListItem* TListView::FindRow(UINT flag, bool TListItem::*cached) const {
    if (HWND hwnd = Window()) {
        int row =
            static_cast<int>(SendMessageA(hwnd, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), flag));
        return row >= 0 && row < items_.Count() ? items_.Item(row) : nullptr;
    }
    for (const auto& item : items_.items_)
        if ((*item).*cached) return item.get();
    return nullptr;
}

TListItem* TListView::Selected() const {
    return FindRow(LVNI_SELECTED, &TListItem::selected_);
}

void TListView::SetSelected(TListItem* item) {
    if (item) {
        item->SetSelected(true);
        return;
    }
    for (const auto& each : items_.items_)
        if (each->Selected()) each->SetSelected(false);
}

TListItem* TListView::ItemFocused() const {
    return FindRow(LVNI_FOCUSED, &TListItem::focused_);
}

int TListView::Compare(TListItem* a, TListItem* b) {
    int result = 0;
    if (OnCompare) {
        OnCompare(this, a, b, result);
    } else {
        result = AnsiCompareText(a->caption_, b->caption_);
    }
    return result;
}

int CALLBACK TListView::CompareRows(LPARAM a, LPARAM b, LPARAM self) {
    auto* view = reinterpret_cast<TListView*>(self);
    if (view->sortError_) return 0;
    try {
        return view->Compare(reinterpret_cast<TListItem*>(a), reinterpret_cast<TListItem*>(b));
    } catch (...) {
        view->sortError_ = std::current_exception();  // thrown again once the sort returns
        return 0;
    }
}

void TListView::AlphaSort() {
    auto& items = items_.items_;
    HWND hwnd = Window();
    if (!hwnd) {
        std::stable_sort(items.begin(), items.end(), [this](const auto& a, const auto& b) {
            return Compare(a.get(), b.get()) < 0;
        });
        return;
    }
    sortError_ = nullptr;
    SendMessageA(hwnd, LVM_SORTITEMS, reinterpret_cast<WPARAM>(this),
                 reinterpret_cast<LPARAM>(&TListView::CompareRows));
    // Our rows follow the control's new order.
    std::vector<std::unique_ptr<TListItem>> sorted;
    for (int row = 0; row < static_cast<int>(items.size()); ++row) {
        LVITEMA lvi = {};
        lvi.mask = LVIF_PARAM;
        lvi.iItem = row;
        SendMessageA(hwnd, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&lvi));
        auto* item = reinterpret_cast<TListItem*>(lvi.lParam);
        for (auto& owned : items) {
            if (owned.get() == item) {
                sorted.push_back(std::move(owned));
                break;
            }
        }
    }
    for (auto& left : items)
        if (left) sorted.push_back(std::move(left));  // never expected: kept all the same
    items.swap(sorted);
    if (sortError_) {
        std::exception_ptr error = sortError_;
        sortError_ = nullptr;
        std::rethrow_exception(error);
    }
}

void TListView::ReportSelection(TListItem* item, bool selected) {
    if (quiet_ == 0 && OnSelectItem) OnSelectItem(this, item, selected);
}

void TListView::WndProc(TMessage& msg) {
    if (msg.Msg == CN_NOTIFY) {
        auto* header = reinterpret_cast<NMHDR*>(msg.LParam);
        if (header->code == LVN_ITEMCHANGED && quiet_ == 0) {
            auto* change = reinterpret_cast<NMLISTVIEW*>(msg.LParam);
            bool selectionChanged = (change->uChanged & LVIF_STATE) &&
                                    ((change->uOldState ^ change->uNewState) & LVIS_SELECTED);
            if (selectionChanged && change->iItem >= 0 && change->iItem < items_.Count() &&
                OnSelectItem) {
                OnSelectItem(this, items_.Item(change->iItem),
                             (change->uNewState & LVIS_SELECTED) != 0);
            }
        } else if (header->code == NM_DBLCLK) {
            DblClick();
        }
        msg.Result = 0;
        return;
    }
    TWinControl::WndProc(msg);
}

// TAnimate

TAnimate::TAnimate(TComponent* owner) : TWinControl(owner) {}

void TAnimate::CreateParams(TCreateParams& params) {
    InitCommonControlsOnce();
    TWinControl::CreateParams(params);
    params.WinClassName = ANIMATE_CLASSA;
    params.SystemClass = true;
}

void TAnimate::InitializeHandle() {
    if (!active_) return;
    if (IsWindowVisible(Handle())) {
        PlayOrGiveWay();
    } else {
        ForgetMissingClip();  // opened when it is first seen
    }
}

void TAnimate::ForgetMissingClip() {
    DWORD attributes =
        fileName_.empty() ? INVALID_FILE_ATTRIBUTES : GetFileAttributesA(fileName_.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY))
        active_ = false;
}

bool TAnimate::OpenClip() {
    if (opened_) return true;
    if (fileName_.empty()) return false;
    opened_ =
        SendMessageA(Handle(), ACM_OPENA, 0, reinterpret_cast<LPARAM>(fileName_.c_str())) != 0;
    return opened_;
}

void TAnimate::PlayOrGiveWay() {
    if (OpenClip()) {
        Play();
        return;
    }
    active_ = false;
    Hide();
}

void TAnimate::ShowingChanged() {
    TWinControl::ShowingChanged();
    if (!active_ || !HandleAllocated()) return;
    if (IsWindowVisible(Handle())) {
        PlayOrGiveWay();
    } else if (opened_) {
        SendMessageA(Handle(), ACM_STOP, 0, 0);
    }
}

void TAnimate::Play() {
    // A clip nobody can see is not played: its frames would be drawn for nothing.
    if (!IsWindowVisible(Handle())) return;
    WPARAM forever = static_cast<WPARAM>(-1);
    WORD from = static_cast<WORD>(startFrame_ > 0 ? startFrame_ - 1 : 0);
    WORD to = static_cast<WORD>(stopFrame_ > 0 ? stopFrame_ - 1 : 0xFFFF);
    SendMessageA(Handle(), ACM_PLAY, forever, MAKELPARAM(from, to));
}

void TAnimate::SetFileName(const AnsiString& fileName) {
    fileName_ = fileName;
    if (!HandleAllocated()) {
        if (active_) ForgetMissingClip();
        return;
    }
    if (opened_) SendMessageA(Handle(), ACM_OPENA, 0, 0);  // closes the old clip
    opened_ = false;
    if (active_) InitializeHandle();
}

void TAnimate::SetActive(bool active) {
    active_ = active;
    if (!HandleAllocated()) {
        if (active_) ForgetMissingClip();
        return;
    }
    if (active) {
        InitializeHandle();
    } else if (opened_) {
        SendMessageA(Handle(), ACM_STOP, 0, 0);
    }
}

// TRichEdit

TRichEdit::TRichEdit(TComponent* owner) : TWinControl(owner) {
    color_ = clWindow;
    SetTabStop(true);
}

void TRichEdit::CreateParams(TCreateParams& params) {
    static HMODULE library = LoadSystemLibrary("riched20.dll");
    if (!library) throw Exception("Cannot load riched20.dll");
    TWinControl::CreateParams(params);
    params.WinClassName = RICHEDIT_CLASSA;
    params.SystemClass = true;
    params.Style |= ES_MULTILINE | ES_AUTOVSCROLL | WS_VSCROLL | (readOnly_ ? ES_READONLY : 0) |
                    (wordWrap_ ? 0 : ES_AUTOHSCROLL);
    params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TRichEdit::InitializeHandle() {
    // Target device null with line width 1: no wrapping; 0: wrap at the window.
    SendMessageA(Handle(), EM_SETTARGETDEVICE, 0, wordWrap_ ? 0 : 1);
    if (!content_.empty()) StreamIn(content_, rtf_);
}

void TRichEdit::SetReadOnly(bool readOnly) {
    readOnly_ = readOnly;
    if (HandleAllocated()) SendMessageA(Handle(), EM_SETREADONLY, readOnly ? TRUE : FALSE, 0);
}

void TRichEdit::SetWordWrap(bool wordWrap) {
    wordWrap_ = wordWrap;
    if (HandleAllocated()) SendMessageA(Handle(), EM_SETTARGETDEVICE, 0, wordWrap ? 0 : 1);
}

void TRichEdit::Clear() {
    content_.clear();
    rtf_ = false;
    if (HandleAllocated()) SetWindowTextA(Handle(), "");
}

void TRichEdit::LoadFromFile(const AnsiString& path) {
    TKernelHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                   OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) throw Exception(Format("Cannot open file \"%s\"", path.c_str()));
    std::string content;
    char buffer[16384];
    DWORD read = 0;
    while (ReadFile(file.Get(), buffer, sizeof(buffer), &read, nullptr) && read > 0)
        content.append(buffer, read);
    content_ = std::move(content);
    rtf_ = content_.compare(0, 5, "{\\rtf") == 0;
    if (HandleAllocated()) StreamIn(content_, rtf_);
}

namespace {

struct StreamSource {
    const std::string* data;
    size_t offset;
};

DWORD CALLBACK ReadStream(DWORD_PTR cookie, LPBYTE buffer, LONG wanted, LONG* given) {
    auto* source = reinterpret_cast<StreamSource*>(cookie);
    size_t left = source->data->size() - source->offset;
    size_t count = left < static_cast<size_t>(wanted) ? left : static_cast<size_t>(wanted);
    std::copy_n(source->data->data() + source->offset, count, buffer);
    source->offset += count;
    *given = static_cast<LONG>(count);
    return 0;
}

}  // namespace

void TRichEdit::StreamIn(const std::string& data, bool rtf) {
    StreamSource source = {&data, 0};
    EDITSTREAM stream = {};
    stream.dwCookie = reinterpret_cast<DWORD_PTR>(&source);
    stream.pfnCallback = ReadStream;
    SendMessageA(Handle(), EM_STREAMIN, rtf ? SF_RTF : SF_TEXT, reinterpret_cast<LPARAM>(&stream));
}
