// Controls on a form: layout tables, edits, drop-down lists, radio buttons,
// focus changes, owner drawing, windowless pictures and their mouse events,
// transparency over a background picture, the list view and the rich edit.
#include <gtest/gtest.h>
#include <windows.h>
// The common controls need the base types first.
#include <commctrl.h>
#include <tlhelp32.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "GuiTestUtil.h"
#include "Screenshot.h"
#include "TempDir.h"
#include "UserInput.h"
#include "classlib/Application.h"
#include "classlib/ComCtrls.h"
#include "classlib/ExtCtrls.h"
#include "classlib/Forms.h"
#include "classlib/StdCtrls.h"

namespace {

using guitest::PumpUntil;

class TFormHost : public TForm {
public:
    explicit TFormHost(TComponent* owner) : TForm(owner) {}
};

// A push button drawn by its owner: blue, counting the draw requests it gets.
class TOwnerButton : public TButton {
public:
    using TButton::TButton;
    void WndProc(TMessage& msg) override {
        if (msg.Msg == CN_DRAWITEM) {
            auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(msg.LParam);
            ++draws;
            HBRUSH blue = CreateSolidBrush(RGB(0, 0, 255));
            FillRect(item->hDC, &item->rcItem, blue);
            DeleteObject(blue);
            msg.Result = TRUE;
            return;
        }
        TButton::WndProc(msg);
    }
    int draws = 0;

protected:
    void CreateParams(TCreateParams& params) override {
        TButton::CreateParams(params);
        params.Style |= BS_OWNERDRAW;
    }
};

// A frame hearing its edit's notifications before they go on to the edit.
class TFrameProbe : public TFrame {
public:
    explicit TFrameProbe(TComponent* owner) : TFrame(owner) {}
    void WndProc(TMessage& msg) override {
        if (msg.Msg == WM_COMMAND && HIWORD(msg.WParam) == EN_MAXTEXT) ++maxTexts;
        TFrame::WndProc(msg);
    }
    int maxTexts = 0;
};

class ClasslibControls : public ::testing::Test {
protected:
    void SetUp() override {
        Application->Initialize();
        Application->OnException = [this](TObject*, const Exception& e) {
            errors.push_back(e.Message);
        };
        form = NewForm<TFormHost>(Application);
        form->SetBounds(100, 100, 240, 160);
    }
    void TearDown() override {
        form->Free();
        Application->OnException = nullptr;
        EXPECT_TRUE(errors.empty()) << errors.front();
    }
    void ShowForm() {
        form->Show();
        SetForegroundWindow(form->Handle());
        UpdateWindow(form->Handle());
    }
    static void FillPicture(TPicture* picture, int width, int height, TColor color) {
        picture->Bitmap()->SetSize(width, height);
        TCanvas* canvas = picture->Bitmap()->Canvas();
        canvas->Brush.Color = color;
        RECT r = {0, 0, width, height};
        canvas->FillRect(r);
        picture->Changed();
    }

    TFormHost* form = nullptr;
    std::vector<std::string> errors;
};

bool Near(COLORREF a, COLORREF b) {
    return std::abs(GetRValue(a) - GetRValue(b)) <= 8 &&
           std::abs(GetGValue(a) - GetGValue(b)) <= 8 && std::abs(GetBValue(a) - GetBValue(b)) <= 8;
}

const ControlSpec kLayout[] = {
    {"ImgBG", 0, 0, 240, 160},    {"LbOver", 10, 10, 80, 14},    {"LbPlain", 10, 40, 80, 14},
    {"RBtnOver", 10, 70, 60, 16}, {"BtnDraw", 120, 100, 60, 25}, {"BtnOk", 120, 130, 60, 25, "OK"},
};

// A record that counts how often it is freed.
struct Counted {
    Counted(int& frees, int id) : frees(frees), id(id) {}
    ~Counted() { ++frees; }
    int& frees;
    int id;
};

void PressKey(WORD key, bool up) {
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    SendInput(1, &input, sizeof(input));
}

}  // namespace

TEST_F(ClasslibControls, LayoutTablePlacesControlsByName) {
    auto* label = NewControl<TLabel>(form, form, kLayout, "LbPlain");
    EXPECT_EQ(label->Name, "LbPlain");
    EXPECT_EQ(label->Parent(), form);
    EXPECT_EQ(label->Owner(), form);
    EXPECT_EQ(label->Left(), 10);
    EXPECT_EQ(label->Top(), 40);
    EXPECT_EQ(label->Width(), 80);
    EXPECT_EQ(label->Height(), 14);
    EXPECT_EQ(form->FindComponent("LbPlain"), label);
    EXPECT_THROW(NewControl<TLabel>(form, form, kLayout, "LbMissing"), Exception);
    // The window is made where the table says.
    RECT r;
    GetWindowRect(label->Handle(), &r);
    MapWindowPoints(nullptr, form->Handle(), reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(r.left, 10);
    EXPECT_EQ(r.top, 40);
    EXPECT_EQ(r.right - r.left, 80);

    // A row's text is the control's first caption; a row without one leaves the caption empty.
    auto* ok = NewControl<TButton>(form, form, kLayout, "BtnOk");
    EXPECT_EQ(ok->Caption(), "OK");
    EXPECT_EQ(label->Caption(), "");
    // The texts read again by name, the current ones as defaults.
    std::vector<std::string> asked;
    ReadTexts(
        [&](const AnsiString& key, const AnsiString& def) {
            asked.push_back(key + "=" + def);
            return key == "BtnOk" ? AnsiString("Fine") : def;
        },
        {ok, label});
    EXPECT_EQ(asked, (std::vector<std::string>{"BtnOk=OK", "LbPlain="}));
    EXPECT_EQ(ok->Caption(), "Fine");
    EXPECT_EQ(label->Caption(), "");

    auto* timer = NewComponent<TTimer>(form, "TimerPoll");
    EXPECT_EQ(timer->Owner(), form);
    EXPECT_EQ(form->FindComponent("TimerPoll"), timer);
}

TEST_F(ClasslibControls, WindowsLeadToTheirControlsWhileTheyLive) {
    auto* own = new TPanel(form);  // a window of our own class
    own->SetParent(form);
    auto* system = new TEdit(form);  // a system class, subclassed
    system->SetParent(form);
    HWND ownWindow = own->Handle(), systemWindow = system->Handle();
    EXPECT_EQ(TWinControl::FromHandle(ownWindow), own);
    EXPECT_EQ(TWinControl::FromHandle(systemWindow), system);
    EXPECT_EQ(TWinControl::FromHandle(form->Handle()), form);
    // Messages reach the control through its window.
    SendMessageA(systemWindow, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("typed"));
    EXPECT_EQ(system->Caption(), "typed");
    // A window nobody made a control of, the desktop's, or none.
    HWND bare = CreateWindowExA(0, "STATIC", "", WS_CHILD, 0, 0, 4, 4, form->Handle(), nullptr,
                                GetModuleHandleA(nullptr), nullptr);
    EXPECT_EQ(TWinControl::FromHandle(bare), nullptr);
    DestroyWindow(bare);
    EXPECT_EQ(TWinControl::FromHandle(GetDesktopWindow()), nullptr);
    EXPECT_EQ(TWinControl::FromHandle(nullptr), nullptr);
    // Once destroyed, their windows lead nowhere.
    own->Free();
    system->Free();
    EXPECT_EQ(TWinControl::FromHandle(ownWindow), nullptr);
    EXPECT_EQ(TWinControl::FromHandle(systemWindow), nullptr);
}

TEST_F(ClasslibControls, EditLimitsAndFiltersTyping) {
    auto* edit = new TEdit(form);
    edit->SetBounds(10, 10, 100, 22);
    edit->SetMaxLength(3);
    edit->SetParent(form);
    int changes = 0;
    edit->OnChange = [&](TObject*) { ++changes; };
    edit->OnKeyPress = [](TObject*, char& key) {
        if (key == 'x') {
            key = 0;  // swallowed
        } else if (key >= 'a' && key <= 'z') {
            key = static_cast<char>(key - 'a' + 'A');
        }
    };
    for (char c : std::string("a1x2b"))
        SendMessageA(edit->Handle(), WM_CHAR, static_cast<unsigned char>(c), 0);
    EXPECT_EQ(edit->Text(), "A12");  // x swallowed, b beyond the limit
    EXPECT_EQ(changes, 3);
    edit->SetText("77");
    EXPECT_EQ(changes, 4);
    edit->SetText("77");  // no change
    EXPECT_EQ(changes, 4);
    edit->SelectAll();
    EXPECT_EQ(edit->SelStart(), 0);
    EXPECT_EQ(edit->SelLength(), 2);
    edit->SetSelStart(2);
    EXPECT_EQ(edit->SelLength(), 0);

    edit->SetPasswordChar('*');
    EXPECT_EQ(SendMessageA(edit->Handle(), EM_GETPASSWORDCHAR, 0, 0), '*');
    edit->SetPasswordChar(0);
    EXPECT_EQ(SendMessageA(edit->Handle(), EM_GETPASSWORDCHAR, 0, 0), 0);

    // Settings made before the window exists hold once it does.
    auto* early = new TEdit(form);
    early->SetMaxLength(64);
    early->SetPasswordChar('*');
    early->SetText("secret");
    early->SetParent(form);
    EXPECT_EQ(SendMessageA(early->Handle(), EM_GETLIMITTEXT, 0, 0), 64);
    EXPECT_EQ(SendMessageA(early->Handle(), EM_GETPASSWORDCHAR, 0, 0), '*');
    EXPECT_EQ(early->Text(), "secret");

    // Margins set before the window exists hold, and survive a new font (which brings the
    // system's back).
    auto* narrow = new TEdit(form);
    narrow->SetMargins(0, 1);
    narrow->SetParent(form);
    EXPECT_EQ(SendMessageA(narrow->Handle(), EM_GETMARGINS, 0, 0), MAKELONG(0, 1));
    narrow->SetParentFont(false);
    narrow->Font()->SetName("Arial");
    narrow->Font()->SetHeight(-30);
    EXPECT_EQ(SendMessageA(narrow->Handle(), EM_GETMARGINS, 0, 0), MAKELONG(0, 1));
    narrow->SetMargins(2, 3);
    EXPECT_EQ(SendMessageA(narrow->Handle(), EM_GETMARGINS, 0, 0), MAKELONG(2, 3));
}

TEST_F(ClasslibControls, KeyDownSeesKeysWithTheirShiftStateAndMaySwallowThem) {
    auto* edit = new TEdit(form);
    edit->SetBounds(10, 10, 100, 22);
    edit->SetText("abc");
    edit->SetParent(form);
    std::vector<std::pair<WORD, TShiftState>> seen;
    bool swallow = true;
    edit->OnKeyDown = [&](TObject* sender, WORD& key, TShiftState shift) {
        EXPECT_EQ(sender, edit);
        seen.push_back({key, shift});
        if (swallow) key = 0;
    };
    ShowForm();
    edit->SetFocus();
    edit->SetSelStart(0);

    // Delete at the start: swallowed the edit never sees it, let through it deletes.
    PostMessageA(edit->Handle(), WM_KEYDOWN, VK_DELETE, 0);
    ASSERT_TRUE(PumpUntil([&] { return seen.size() == 1; }));
    EXPECT_EQ(edit->Text(), "abc");
    swallow = false;
    PostMessageA(edit->Handle(), WM_KEYDOWN, VK_DELETE, 0);
    ASSERT_TRUE(PumpUntil([&] { return seen.size() == 2; }));
    EXPECT_EQ(edit->Text(), "bc");
    EXPECT_EQ(seen[1], std::make_pair(WORD(VK_DELETE), TShiftState(0)));

    // Typed by the user: Shift and End reach the handler with the shift state, and the edit
    // selects to the end.
    seen.clear();
    PressKey(VK_SHIFT, false);
    PressKey(VK_END, false);
    PressKey(VK_END, true);
    PressKey(VK_SHIFT, true);
    ASSERT_TRUE(PumpUntil([&] { return seen.size() >= 2; }));
    EXPECT_EQ(seen[0], std::make_pair(WORD(VK_SHIFT), TShiftState(ssShift)));
    EXPECT_EQ(seen[1], std::make_pair(WORD(VK_END), TShiftState(ssShift)));
    EXPECT_EQ(edit->SelLength(), 2);
}

TEST_F(ClasslibControls, FrameSeesItsEditsNotificationsFirst) {
    auto* frame = new TFrameProbe(form);
    frame->SetBounds(0, 0, 200, 50);
    frame->SetParent(form);
    auto* edit = new TEdit(form);
    edit->SetBounds(5, 5, 100, 22);
    edit->SetMaxLength(2);
    edit->SetParent(frame);
    int changes = 0;
    edit->OnChange = [&](TObject*) { ++changes; };
    for (char c : std::string("123"))
        SendMessageA(edit->Handle(), WM_CHAR, static_cast<unsigned char>(c), 0);
    EXPECT_EQ(frame->maxTexts, 1);  // the refused third character
    EXPECT_EQ(changes, 2);          // and the edit still had its own notices
    char name[64] = {};
    GetClassNameA(frame->Handle(), name, sizeof(name));
    EXPECT_STREQ(name, "TFrameProbe");
}

TEST_F(ClasslibControls, ComboBoxItemsCarryValuesAndObjects) {
    auto* combo = new TComboBox(form);
    combo->SetBounds(10, 10, 120, 21);
    combo->Items()->AddValue("64-bit", 1);
    combo->Items()->AddValue("128-bit", 2);
    int certificate = 0;
    combo->Items()->AddObject("Client", &certificate);
    combo->SetItemIndex(1);
    int selects = 0;
    combo->OnSelect = [&](TObject*) { ++selects; };
    combo->SetParent(form);
    HWND hwnd = combo->Handle();
    EXPECT_EQ(SendMessageA(hwnd, CB_GETCOUNT, 0, 0), 3);
    EXPECT_EQ(SendMessageA(hwnd, CB_GETCURSEL, 0, 0), 1);
    EXPECT_EQ(combo->Text(), "128-bit");
    EXPECT_EQ(combo->Items()->Value(1), 2);
    EXPECT_EQ(combo->Items()->Objects(2), &certificate);

    // The user picks the first item.
    SendMessageA(hwnd, CB_SETCURSEL, 0, 0);
    SendMessageA(form->Handle(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(hwnd), CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(hwnd));
    EXPECT_EQ(selects, 1);
    EXPECT_EQ(combo->ItemIndex(), 0);
    EXPECT_EQ(combo->Items()->Value(combo->ItemIndex()), 1);

    combo->SetItemIndex(2);  // by program: no event
    EXPECT_EQ(selects, 1);
    EXPECT_EQ(SendMessageA(hwnd, CB_GETCURSEL, 0, 0), 2);
    combo->Items()->Delete(0);
    EXPECT_EQ(SendMessageA(hwnd, CB_GETCOUNT, 0, 0), 2);
    EXPECT_EQ(combo->Items()->Strings(0), "128-bit");
    combo->Clear();
    EXPECT_EQ(SendMessageA(hwnd, CB_GETCOUNT, 0, 0), 0);
    EXPECT_EQ(combo->ItemIndex(), -1);
    EXPECT_THROW(combo->Items()->Value(0), Exception);
}

TEST_F(ClasslibControls, ComboBoxDroppedAndCancelledTellsTheItemShownAgain) {
    auto* combo = new TComboBox(form);
    combo->SetBounds(10, 10, 120, 21);
    for (const char* text : {"TLS", "PEAP", "TTLS"}) combo->Items()->Add(text);
    combo->SetItemIndex(0);
    std::vector<int> told;
    combo->OnChange = [&](TObject*) { told.push_back(combo->ItemIndex()); };
    combo->SetParent(form);
    ShowForm();
    combo->SetFocus();
    HWND hwnd = combo->Handle();

    // Dropped, arrowed to the second item, then a click beside the list: the list shows
    // the first again.
    SendMessageA(hwnd, CB_SHOWDROPDOWN, TRUE, 0);
    PressKey(VK_DOWN, false);
    PressKey(VK_DOWN, true);
    ASSERT_TRUE(PumpUntil([&] { return !told.empty() && told.back() == 1; })) << told.size();
    userinput::Click(form, 200, 130);
    ASSERT_TRUE(PumpUntil([&] { return !SendMessageA(hwnd, CB_GETDROPPEDSTATE, 0, 0); }))
        << "the click beside the list did not close it";
    EXPECT_TRUE(PumpUntil([&] { return told.size() == 2; }, 500)) << told.size();
    EXPECT_EQ(told, (std::vector<int>{1, 0}));
    EXPECT_EQ(combo->ItemIndex(), 0);

    // Closed with the pick kept: no second notice for the same item.
    size_t before = told.size();
    SendMessageA(hwnd, CB_SHOWDROPDOWN, TRUE, 0);
    SendMessageA(hwnd, CB_SHOWDROPDOWN, FALSE, 0);
    PumpUntil([] { return false; }, 100);
    EXPECT_EQ(told.size(), before);
}

TEST_F(ClasslibControls, ComboBoxRowsFreeTheirRecordsOnceWithTheRow) {
    int frees = 0;
    auto* combo = new TComboBox(form);
    combo->SetBounds(10, 10, 120, 21);
    TStrings* items = combo->Items();
    items->AddRecord("Client", std::make_unique<Counted>(frees, 1));
    items->AddValue("128-bit", 2);  // a value beside the records, as before
    items->AddRecord("Root", std::make_unique<Counted>(frees, 3));
    combo->SetParent(form);
    EXPECT_EQ(items->Record<Counted>(0)->id, 1);
    EXPECT_EQ(items->Record<Counted>(1), nullptr);
    EXPECT_EQ(items->Value(1), 2);
    EXPECT_EQ(items->Record<int>(2), nullptr);  // asked as another type

    items->Put(2, "Root CA");  // a new text keeps the record
    EXPECT_EQ(items->Record<Counted>(2)->id, 3);
    items->Delete(0);
    EXPECT_EQ(frees, 1);
    EXPECT_EQ(items->Record<Counted>(1)->id, 3);  // the rows after moved up with theirs
    items->SetRecord(0, std::make_unique<Counted>(frees, 4));
    items->SetRecord(0, std::make_unique<Counted>(frees, 5));
    EXPECT_EQ(frees, 2);  // the one replaced
    combo->Clear();
    EXPECT_EQ(frees, 4);
    EXPECT_EQ(SendMessageA(combo->Handle(), CB_GETCOUNT, 0, 0), 0);

    items->AddRecord("Client", std::make_unique<Counted>(frees, 6));
    combo->Free();
    EXPECT_EQ(frees, 5);
}

TEST_F(ClasslibControls, RadioButtonsCheckOneAtATime) {
    auto* infra = new TRadioButton(form);
    infra->SetBounds(10, 10, 100, 16);
    infra->SetParent(form);
    auto* adhoc = new TRadioButton(form);
    adhoc->SetBounds(10, 30, 100, 16);
    adhoc->SetParent(form);
    int infraClicks = 0, adhocClicks = 0;
    infra->OnClick = [&](TObject*) { ++infraClicks; };
    adhoc->OnClick = [&](TObject*) { ++adhocClicks; };

    infra->SetChecked(true);
    EXPECT_EQ(infraClicks, 1);
    EXPECT_EQ(SendMessageA(infra->Handle(), BM_GETCHECK, 0, 0), BST_CHECKED);
    infra->SetChecked(true);  // no change, no click
    EXPECT_EQ(infraClicks, 1);

    SendMessageA(adhoc->Handle(), BM_CLICK, 0, 0);  // as the user would
    EXPECT_TRUE(adhoc->Checked());
    EXPECT_FALSE(infra->Checked());
    EXPECT_EQ(SendMessageA(infra->Handle(), BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_EQ(adhocClicks, 1);
    SendMessageA(adhoc->Handle(), BM_CLICK, 0, 0);
    EXPECT_EQ(adhocClicks, 1);
}

TEST_F(ClasslibControls, FocusMovesRunEnterAndExitUpToTheCommonParent) {
    auto* frame = new TFrame(form);
    frame->SetBounds(0, 0, 240, 60);
    frame->SetParent(form);
    std::vector<std::string> log;
    auto track = [&](TWinControl* control, const std::string& name) {
        control->OnEnter = [&log, name](TObject*) { log.push_back("enter " + name); };
        control->OnExit = [&log, name](TObject*) { log.push_back("exit " + name); };
    };
    auto makeEdit = [&](TWinControl* parent, int top) {
        auto* edit = new TEdit(form);
        edit->SetBounds(5, top, 100, 22);
        edit->SetParent(parent);
        return edit;
    };
    TEdit* ip1 = makeEdit(frame, 5);
    TEdit* ip2 = makeEdit(frame, 30);
    TEdit* outside = makeEdit(form, 90);
    track(frame, "frame");
    track(ip1, "ip1");
    track(ip2, "ip2");
    track(outside, "outside");
    ShowForm();
    outside->SetFocus();
    log.clear();

    ip1->SetFocus();
    EXPECT_EQ(log, (std::vector<std::string>{"exit outside", "enter frame", "enter ip1"}));
    EXPECT_EQ(form->ActiveControl(), ip1);
    log.clear();
    ip2->SetFocus();
    EXPECT_EQ(log, (std::vector<std::string>{"exit ip1", "enter ip2"}));
    log.clear();
    outside->SetFocus();
    EXPECT_EQ(log, (std::vector<std::string>{"exit ip2", "exit frame", "enter outside"}));

    // A hidden control cannot take the focus.
    ip1->Hide();
    EXPECT_FALSE(ip1->CanFocus());
    log.clear();
    ip1->SetFocus();
    EXPECT_TRUE(log.empty());
    EXPECT_TRUE(outside->Focused());
}

TEST_F(ClasslibControls, ReturnPressesTheDefaultButtonAndTabMovesOn) {
    auto* frame = new TFrame(form);
    frame->SetBounds(0, 0, 240, 60);
    frame->SetParent(form);
    auto* first = new TEdit(form);
    first->SetBounds(5, 5, 100, 22);
    first->SetParent(frame);
    auto* second = new TEdit(form);
    second->SetBounds(5, 30, 100, 22);
    second->SetParent(frame);
    auto* ok = new TButton(form);
    ok->SetBounds(120, 100, 75, 25);
    ok->SetDefault(true);
    ok->SetModalResult(mrOk);
    ok->SetParent(form);
    int clicks = 0;
    ok->OnClick = [&](TObject*) { ++clicks; };
    ShowForm();
    first->SetFocus();
    ASSERT_TRUE(first->Focused());
    PostMessageA(first->Handle(), WM_KEYDOWN, VK_TAB, 0);
    ASSERT_TRUE(PumpUntil([&] { return second->Focused(); }));
    PostMessageA(second->Handle(), WM_KEYDOWN, VK_RETURN, 0);
    ASSERT_TRUE(PumpUntil([&] { return clicks == 1; }));
    EXPECT_EQ(form->ModalResult(), mrOk);
}

TEST_F(ClasslibControls, OwnerDrawnButtonGetsItsDrawRequests) {
    auto* button = NewControl<TOwnerButton>(form, form, kLayout, "BtnDraw");
    int clicks = 0;
    button->OnClick = [&](TObject*) { ++clicks; };
    ShowForm();
    EXPECT_TRUE(PumpUntil([&] { return button->draws > 0; }));
    EXPECT_EQ(GetWindowLongPtrA(button->Handle(), GWL_STYLE) & BS_TYPEMASK, BS_OWNERDRAW);
    WindowPixels pixels = CaptureWindow(form->Handle());
    EXPECT_EQ(pixels.At(150, 112), RGB(0, 0, 255));
    SendMessageA(button->Handle(), BM_CLICK, 0, 0);
    EXPECT_EQ(clicks, 1);
}

TEST_F(ClasslibControls, TransparentControlsShowTheBackgroundPicture) {
    auto* background = NewControl<TImage>(form, form, kLayout, "ImgBG");
    FillPicture(background->Picture(), 240, 160, clRed);
    auto* over = NewControl<TLabel>(form, form, kLayout, "LbOver");
    over->SetTransparent(true);
    over->SetCaption("Connected");
    auto* plain = NewControl<TLabel>(form, form, kLayout, "LbPlain");
    plain->SetCaption("Connected");
    auto* radio = NewControl<TRadioButton>(form, form, kLayout, "RBtnOver");
    // A panel with its own picture: a label on it shows the panel's picture.
    auto* panel = new TPanel(form);
    panel->SetBounds(120, 10, 100, 60);
    panel->SetBevelOuter(bvLowered);
    panel->SetParent(form);
    auto* panelImage = new TImage(form);
    panelImage->SetBounds(0, 0, 100, 60);
    panelImage->SetParent(panel);
    FillPicture(panelImage->Picture(), 100, 60, clLime);
    auto* onPanel = new TLabel(form);
    onPanel->SetBounds(5, 5, 80, 14);
    onPanel->SetTransparent(true);
    onPanel->SetCaption("Signal");
    onPanel->SetParent(panel);
    form->SetBorderStyle(bsNone);
    form->SetClientWidth(240);
    form->SetClientHeight(160);
    ShowForm();
    WindowPixels pixels = CaptureWindow(form->Handle());
    SaveScreenshot(form->Handle(), "classlib_transparent");
    COLORREF red = RGB(255, 0, 0);
    EXPECT_EQ(pixels.At(200, 120), red);          // the picture itself
    EXPECT_EQ(pixels.At(10 + 78, 10 + 12), red);  // around the transparent label's text
    EXPECT_TRUE(Near(pixels.At(10 + 78, 40 + 12), GetSysColor(COLOR_BTNFACE)));
    EXPECT_EQ(pixels.At(10 + 58, 70 + 8), red);  // beside the radio button's circle
    EXPECT_EQ(pixels.At(120 + 5 + 78, 10 + 5 + 12), RGB(0, 255, 0));
    // The texts themselves are drawn: some pixel of each label is not background.
    auto hasInk = [&](int left, int top, COLORREF background) {
        for (int y = top; y < top + 14; ++y)
            for (int x = left; x < left + 60; ++x)
                if (!Near(pixels.At(x, y), background)) return true;
        return false;
    };
    EXPECT_TRUE(hasInk(10, 10, red));
    EXPECT_TRUE(hasInk(10, 40, GetSysColor(COLOR_BTNFACE)));
    EXPECT_TRUE(hasInk(125, 15, RGB(0, 255, 0)));
    // Other programs read a label's text from its window.
    char text[32] = {};
    GetWindowTextA(over->Handle(), text, sizeof(text));
    EXPECT_STREQ(text, "Connected");
    (void)radio;
}

TEST_F(ClasslibControls, PictureGetsClicksAndMovesInItsOwnCoordinates) {
    auto* image = new TImage(form);
    image->SetBounds(20, 20, 60, 40);
    image->SetParent(form);
    std::vector<std::string> log;
    image->OnMouseDown = [&](TObject*, TMouseButton button, TShiftState shift, int x, int y) {
        log.push_back("down " + std::to_string(button) + " " + std::to_string(x) + "," +
                      std::to_string(y) + ((shift & ssLeft) ? " left" : ""));
    };
    image->OnMouseUp = [&](TObject*, TMouseButton, TShiftState, int x, int y) {
        log.push_back("up " + std::to_string(x) + "," + std::to_string(y));
    };
    image->OnMouseMove = [&](TObject*, TShiftState shift, int x, int y) {
        log.push_back("move " + std::to_string(x) + "," + std::to_string(y) +
                      ((shift & ssLeft) ? " left" : ""));
    };
    image->OnClick = [&](TObject*) { log.push_back("click"); };
    HWND hwnd = form->Handle();
    SendMessageA(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(30, 25));
    SendMessageA(hwnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(35, 30));
    SendMessageA(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(35, 30));
    EXPECT_EQ(log, (std::vector<std::string>{"down 0 10,5 left", "move 15,10 left", "click",
                                             "up 15,10"}));
    log.clear();
    // Released outside: the picture still gets the release, but no click.
    SendMessageA(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(30, 25));
    SendMessageA(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(150, 100));
    EXPECT_EQ(log, (std::vector<std::string>{"down 0 10,5 left", "up 130,80"}));
    log.clear();
    // Outside the picture the form's own handling runs.
    SendMessageA(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(150, 100));
    SendMessageA(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(150, 100));
    EXPECT_TRUE(log.empty());
    // A disabled picture gets no clicks.
    image->SetEnabled(false);
    SendMessageA(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(30, 25));
    SendMessageA(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(30, 25));
    EXPECT_TRUE(log.empty());
}

TEST_F(ClasslibControls, PictureHearsTheMouseEnterAndLeave) {
    auto* image = new TImage(form);
    image->SetBounds(20, 20, 60, 40);
    image->SetParent(form);
    int entered = 0, left = 0;
    image->OnMouseEnter = [&](TObject*) { ++entered; };
    image->OnMouseLeave = [&](TObject*) { ++left; };
    ShowForm();
    POINT origin = {0, 0};
    ClientToScreen(form->Handle(), &origin);
    SetCursorPos(origin.x + 30, origin.y + 30);
    ASSERT_TRUE(PumpUntil([&] { return entered == 1; }));
    SetCursorPos(origin.x + 150, origin.y + 100);  // on the form, off the picture
    ASSERT_TRUE(PumpUntil([&] { return left == 1; }));
    // Disabled controls still hear it (a button face follows the mouse).
    image->SetEnabled(false);
    SetCursorPos(origin.x + 40, origin.y + 40);
    ASSERT_TRUE(PumpUntil([&] { return entered == 2; }));
    SetCursorPos(origin.x + 600, origin.y + 600);  // off the window altogether
    ASSERT_TRUE(PumpUntil([&] { return left == 2; }));
    EXPECT_EQ(entered, 2);
}

TEST_F(ClasslibControls, ListViewRowsFollowItemsSortingAndSelection) {
    auto* list = new TListView(form);
    list->SetBounds(5, 5, 200, 100);
    list->SetShowColumnHeaders(false);
    list->SetRowSelect(true);
    list->SetGridLines(true);
    list->AddColumn("SSID", 92);
    list->AddColumn("CH", 25, taCenter);
    list->AddColumn("Signal", 40, taCenter);
    struct Site {
        const char* ssid;
        const char* channel;
        int signal;
    } sites[] = {{"Home", "6", 40}, {"Office", "11", 90}, {"cafe", "1", 65}};
    for (Site& site : sites) {
        TListItem* item = list->Items()->Add();  // before the window exists
        item->SetCaption(site.ssid);
        item->SubItems()->Add(site.channel);
        item->SubItems()->Add(std::to_string(site.signal) + "%");
        item->SetImageIndex(1);
        item->Data = &site;
    }
    list->SetParent(form);
    HWND hwnd = list->Handle();
    auto text = [&](int row, int column) {
        char buffer[64] = {};
        LVITEMA lvi = {};
        lvi.iSubItem = column;
        lvi.pszText = buffer;
        lvi.cchTextMax = sizeof(buffer);
        SendMessageA(hwnd, LVM_GETITEMTEXTA, static_cast<WPARAM>(row),
                     reinterpret_cast<LPARAM>(&lvi));
        return std::string(buffer);
    };
    EXPECT_EQ(SendMessageA(hwnd, LVM_GETITEMCOUNT, 0, 0), 3);
    EXPECT_EQ(text(1, 0), "Office");
    EXPECT_EQ(text(1, 2), "90%");
    EXPECT_TRUE(GetWindowLongPtrA(hwnd, GWL_STYLE) & LVS_NOCOLUMNHEADER);

    // Strongest signal first: the direction comes from the list's Tag.
    list->Tag = -1;
    list->OnCompare = [list](TObject*, TListItem* a, TListItem* b, int& compare) {
        int sa = static_cast<Site*>(a->Data)->signal, sb = static_cast<Site*>(b->Data)->signal;
        compare = (sa < sb ? -1 : sa > sb ? 1 : 0) * static_cast<int>(list->Tag);
    };
    list->AlphaSort();
    EXPECT_EQ(text(0, 0), "Office");
    EXPECT_EQ(text(1, 0), "cafe");
    EXPECT_EQ(text(2, 0), "Home");
    for (int row = 0; row < 3; ++row) {
        EXPECT_EQ(list->Items()->Item(row)->Caption(), text(row, 0));
        EXPECT_EQ(list->Items()->Item(row)->Index(), row);
    }
    // Without a comparison: captions, case ignored.
    list->OnCompare = nullptr;
    list->AlphaSort();
    EXPECT_EQ(text(0, 0), "cafe");
    EXPECT_EQ(text(2, 0), "Office");

    std::vector<std::string> log;
    list->OnSelectItem = [&](TObject*, TListItem* item, bool selected) {
        log.push_back(item->Caption() + (selected ? " on" : " off"));
    };
    TListItem* home = list->Items()->Item(1);
    home->SetSelected(true);
    EXPECT_EQ(list->Selected(), home);
    list->Items()->Item(2)->SetSelected(true);  // one selected row at most
    EXPECT_EQ(log, (std::vector<std::string>{"Home on", "Home off", "Office on"}));
    log.clear();
    // A selected row is reported deselected before it goes.
    list->Items()->Item(2)->Delete();
    EXPECT_EQ(log, (std::vector<std::string>{"Office off"}));
    EXPECT_EQ(list->Selected(), nullptr);
    EXPECT_EQ(SendMessageA(hwnd, LVM_GETITEMCOUNT, 0, 0), 2);

    home->SubItems()->Put(1, "99%");
    EXPECT_EQ(text(home->Index(), 2), "99%");
    list->OnCompare = [](TObject*, TListItem*, TListItem*, int&) { throw Exception("bad order"); };
    EXPECT_THROW(list->AlphaSort(), Exception);
    list->Items()->Clear();
    EXPECT_EQ(SendMessageA(hwnd, LVM_GETITEMCOUNT, 0, 0), 0);
    EXPECT_EQ(list->Items()->Count(), 0);
}

TEST_F(ClasslibControls, AWindowBroughtToFrontStaysAboveASiblingMadeLater) {
    // A list, whose window is made once it can be seen, under a panel brought to the front
    // before that: the panel stays on top of the list.
    auto* list = new TListView(form);
    list->SetBounds(10, 10, 200, 100);
    list->SetParent(form);
    auto* panel = new TPanel(form);
    panel->SetBounds(20, 40, 100, 20);
    panel->SetParent(form);
    form->HandleNeeded();
    panel->Show();
    panel->BringToFront();
    ShowForm();
    ASSERT_TRUE(list->HandleAllocated());
    auto above = [](HWND upper, HWND lower) {
        for (HWND h = GetWindow(upper, GW_HWNDNEXT); h; h = GetWindow(h, GW_HWNDNEXT))
            if (h == lower) return true;
        return false;
    };
    EXPECT_TRUE(above(panel->Handle(), list->Handle()));
    POINT inPanel = panel->ClientToScreen({50, 10});
    EXPECT_EQ(WindowFromPoint(inPanel), panel->Handle());
}

TEST_F(ClasslibControls, ListRowsFreeTheirRecordsOnceWithTheRow) {
    int frees = 0;
    auto* list = new TListView(form);
    list->SetBounds(5, 5, 200, 100);
    list->AddColumn("SSID", 92);
    auto add = [&](const char* caption, int id) {
        TListItem* item = list->Items()->Add();
        item->SetCaption(caption);
        item->SetRecord(std::make_unique<Counted>(frees, id));
        return item;
    };
    add("Office", 1);
    add("Home", 2);
    list->SetParent(form);
    add("cafe", 3);
    TListItem* last = add("Lab", 4);
    EXPECT_EQ(last->Record<Counted>()->id, 4);
    EXPECT_EQ(last->Record<int>(), nullptr);
    last->SetRecord(std::make_unique<Counted>(frees, 5));
    EXPECT_EQ(frees, 1);  // the one replaced

    // Sorting moves the rows with their records and frees none.
    list->AlphaSort();
    EXPECT_EQ(frees, 1);
    EXPECT_EQ(list->Items()->Item(0)->Caption(), "cafe");
    EXPECT_EQ(list->Items()->Item(0)->Record<Counted>()->id, 3);

    list->Items()->Item(0)->Delete();
    EXPECT_EQ(frees, 2);
    list->Items()->Delete(0);  // Home
    EXPECT_EQ(frees, 3);
    EXPECT_EQ(list->Items()->Item(0)->Record<Counted>()->id, 5);
    list->Items()->Clear();
    EXPECT_EQ(frees, 5);

    add("Office", 6);
    list->Free();
    EXPECT_EQ(frees, 6);
}

TEST_F(ClasslibControls, RichEditLoadsPlainAndRichText) {
    TempDir dir;
    TempDir::WriteFile(dir.File("plain.txt"), "Licence terms\r\nSecond line");
    TempDir::WriteFile(dir.File("rich.rtf"), "{\\rtf1\\ansi {\\b Bold} terms}");
    auto* rich = new TRichEdit(form);
    rich->SetBounds(5, 5, 200, 100);
    rich->SetWordWrap(false);
    rich->LoadFromFile(dir.File("plain.txt"));  // before the window exists
    rich->SetParent(form);
    rich->HandleNeeded();
    EXPECT_NE(rich->Text().find("Second line"), std::string::npos);
    EXPECT_TRUE(GetWindowLongPtrA(rich->Handle(), GWL_STYLE) & ES_READONLY);
    rich->LoadFromFile(dir.File("rich.rtf"));
    EXPECT_EQ(rich->Text().find("rtf"), std::string::npos);
    EXPECT_NE(rich->Text().find("Bold terms"), std::string::npos);
    rich->Clear();
    EXPECT_EQ(rich->Text(), "");
    EXPECT_THROW(rich->LoadFromFile(dir.File("missing.txt")), Exception);
}

namespace {

// A silent clip of 8-bit uncompressed frames, as the animation control plays them.
void WriteClip(const std::string& path, int frames, int width, int height) {
    std::string data;
    auto u32 = [&](uint32_t v) { data.append(reinterpret_cast<const char*>(&v), 4); };
    auto u16 = [&](uint16_t v) { data.append(reinterpret_cast<const char*>(&v), 2); };
    auto fourcc = [&](const char* c) { data.append(c, 4); };
    auto patch = [&](size_t at) {
        uint32_t size = static_cast<uint32_t>(data.size() - at - 4);
        data.replace(at, 4, reinterpret_cast<const char*>(&size), 4);
    };
    uint32_t stride = (static_cast<uint32_t>(width) + 3) & ~3u;
    uint32_t frameSize = stride * static_cast<uint32_t>(height);
    fourcc("RIFF");
    size_t riff = data.size();
    u32(0);
    fourcc("AVI ");
    fourcc("LIST");
    size_t hdrl = data.size();
    u32(0);
    fourcc("hdrl");
    fourcc("avih");
    u32(56);
    u32(100000);  // 10 frames a second
    u32(frameSize * 10);
    u32(0);
    u32(0);
    u32(static_cast<uint32_t>(frames));
    u32(0);
    u32(1);
    u32(frameSize);
    u32(static_cast<uint32_t>(width));
    u32(static_cast<uint32_t>(height));
    for (int i = 0; i < 4; ++i) u32(0);
    fourcc("LIST");
    size_t strl = data.size();
    u32(0);
    fourcc("strl");
    fourcc("strh");
    u32(56);
    fourcc("vids");
    fourcc("DIB ");
    u32(0);
    u16(0);
    u16(0);
    u32(0);
    u32(1);
    u32(10);
    u32(0);
    u32(static_cast<uint32_t>(frames));
    u32(frameSize);
    u32(0xFFFFFFFF);
    u32(0);
    u16(0);
    u16(0);
    u16(static_cast<uint16_t>(width));
    u16(static_cast<uint16_t>(height));
    fourcc("strf");
    u32(40 + 256 * 4);
    u32(40);
    u32(static_cast<uint32_t>(width));
    u32(static_cast<uint32_t>(height));
    u16(1);
    u16(8);
    u32(0);  // BI_RGB
    u32(frameSize);
    u32(0);
    u32(0);
    u32(256);
    u32(0);
    for (uint32_t i = 0; i < 256; ++i) u32(i * 0x010101);  // grey ramp
    patch(strl);
    patch(hdrl);
    fourcc("LIST");
    size_t movi = data.size();
    u32(0);
    fourcc("movi");
    for (int f = 0; f < frames; ++f) {
        fourcc("00db");
        u32(frameSize);
        data.append(frameSize, static_cast<char>(f * 30));
    }
    patch(movi);
    patch(riff);
    TempDir::WriteFile(path, data);
}

}  // namespace

TEST_F(ClasslibControls, AnimationPlaysItsClipFileWhileActive) {
    TempDir dir;
    WriteClip(dir.File("radio.m"), 8, 16, 16);
    auto* animation = new TAnimate(form);
    animation->SetBounds(5, 5, 16, 16);
    animation->SetStopFrame(6);
    animation->SetFileName(dir.File("radio.m"));
    animation->SetParent(form);
    ShowForm();
    animation->SetActive(true);
    EXPECT_TRUE(animation->Active());
    animation->SetActive(false);
    EXPECT_FALSE(animation->Active());
    // Another clip that is missing: the control cannot play.
    animation->SetFileName(dir.File("broken.m"));
    animation->SetActive(true);
    EXPECT_FALSE(animation->Active());
    animation->SetFileName(dir.File("radio.m"));
    animation->SetActive(true);
    EXPECT_TRUE(animation->Active());
}

TEST_F(ClasslibControls, AnimationPlaysOnlyWhileItCanBeSeen) {
    TempDir dir;
    WriteClip(dir.File("radio.m"), 8, 16, 16);
    auto* panel = new TPanel(form);
    panel->SetBounds(0, 0, 40, 40);
    panel->SetParent(form);
    auto* animation = new TAnimate(form);
    animation->SetBounds(5, 5, 16, 16);
    animation->SetFileName(dir.File("radio.m"));
    animation->SetParent(panel);
    // The control plays a clip on a thread of its own, which ends when it stops.
    auto threads = [] {
        int count = 0;
        HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
        THREADENTRY32 entry = {};
        entry.dwSize = sizeof(entry);
        for (BOOL more = Thread32First(snapshot, &entry); more;
             more = Thread32Next(snapshot, &entry))
            if (entry.th32OwnerProcessID == GetCurrentProcessId()) ++count;
        CloseHandle(snapshot);
        return count;
    };
    const int resting = threads();
    auto settles = [&](int count) {
        guitest::PumpUntil([&] { return threads() == count; }, 1000);
        return threads() == count;
    };
    auto playing = [&] { return settles(resting + 1); };
    auto still = [&] { return settles(resting); };
    // Opened in a window not yet shown: active, resting.
    form->HandleNeeded();
    animation->SetActive(true);
    EXPECT_TRUE(animation->Active());
    EXPECT_TRUE(still());
    ShowForm();
    EXPECT_TRUE(playing());
    // A hidden parent or window stops it; showing them again plays on.
    panel->Hide();
    EXPECT_TRUE(still());
    EXPECT_TRUE(animation->Active());
    panel->Show();
    EXPECT_TRUE(playing());
    form->Hide();
    EXPECT_TRUE(still());
    ShowForm();
    EXPECT_TRUE(playing());
    animation->SetActive(false);
    EXPECT_TRUE(still());
    form->Hide();
    ShowForm();
    EXPECT_TRUE(still());  // not active: showing does not start it
}

TEST_F(ClasslibControls, AnimationStaysInactiveWithoutItsClip) {
    TempDir dir;
    auto* animation = new TAnimate(form);
    animation->SetBounds(5, 5, 68, 65);
    animation->SetStopFrame(6);
    animation->SetFileName(dir.File("radio.m"));
    animation->SetParent(form);
    form->HandleNeeded();  // until the window exists Active only tells the wish
    animation->SetActive(true);
    EXPECT_FALSE(animation->Active());
    char name[64] = {};
    GetClassNameA(animation->Handle(), name, sizeof(name));
    EXPECT_STREQ(name, ANIMATE_CLASSA);
}

TEST_F(ClasslibControls, AnimationInAHiddenWindowOpensItsClipWhenShown) {
    TempDir dir;
    WriteClip(dir.File("radio.m"), 8, 16, 16);
    TempDir::WriteFile(dir.File("torn.m"), std::string("RIFF\x04\0\0\0AVI ", 12));
    auto* good = new TAnimate(form);
    auto* torn = new TAnimate(form);
    for (TAnimate* a : {good, torn}) {
        a->SetBounds(5, 5, 16, 16);
        a->SetParent(form);
    }
    // Later children, whose windows are made with the window's.
    auto* panel1 = new TPanel(form);
    auto* panel2 = new TPanel(form);
    panel1->SetParent(form);
    panel2->SetParent(form);
    good->SetFileName(dir.File("radio.m"));
    torn->SetFileName(dir.File("torn.m"));
    form->HandleNeeded();
    good->SetActive(true);
    torn->SetActive(true);
    // Both files are there: both wait to be seen, without a window yet.
    EXPECT_TRUE(good->Active());
    EXPECT_TRUE(torn->Active());
    EXPECT_FALSE(good->HandleAllocated() || torn->HandleAllocated());
    ASSERT_TRUE(panel1->HandleAllocated() && panel2->HandleAllocated());
    ShowForm();
    EXPECT_TRUE(good->Active());
    EXPECT_TRUE(good->Visible());
    // Made late, each lies where it would have lain had it been made with the others.
    std::vector<HWND> order;
    for (HWND w = GetWindow(form->Handle(), GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT))
        order.push_back(w);
    EXPECT_EQ(order, (std::vector<HWND>{good->Handle(), torn->Handle(), panel1->Handle(),
                                        panel2->Handle()}));
    // The torn clip cannot be played: it stops and gets out of the way.
    EXPECT_FALSE(torn->Active());
    EXPECT_FALSE(torn->Visible());
    EXPECT_TRUE(errors.empty());
}
