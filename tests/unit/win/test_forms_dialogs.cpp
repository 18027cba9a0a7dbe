// The message dialog, the text prompt, the progress dialog and the close-dialogs
// thread, driven from timers inside their modal runs.
#include <string>
#include <vector>

#include "UserInput.h"
#include "monitor/Uformaskinfo.h"
#include "monitor/Uformmessage.h"
#include "monitor/Uformprogress.h"
#include "monitor/Uthreadcloseform.h"
#include "test_forms_fixture.h"

namespace formstest {
namespace {

void Click(TWinControl* button) {
    SendMessageA(button->Handle(), BM_CLICK, 0, 0);
}

// The pixels of a picture, top row first.
std::string Pixels(TBitmap* bitmap) {
    std::string bytes;
    for (int y = 0; y < bitmap->Height(); ++y) {
        const uint8_t* row = bitmap->ScanLine(y);
        bytes.append(reinterpret_cast<const char*>(row), bitmap->Width() * 3);
    }
    return bytes;
}

// A system icon as the dialog shows it: on white, at the top left of 33 x 33.
std::string IconPixels(LPCSTR icon) {
    TBitmap bitmap;
    bitmap.SetSize(33, 33);
    bitmap.Canvas()->Brush.Color = clWhite;
    RECT all = {0, 0, 33, 33};
    bitmap.Canvas()->FillRect(all);
    DrawIcon(bitmap.Canvas()->Handle(), 0, 0, LoadIconA(nullptr, icon));
    return Pixels(&bitmap);
}

SIZE TextSize(TFont* font, const std::string& text) {
    TBitmap measure;
    measure.SetSize(1, 1);
    measure.Canvas()->Font()->Assign(*font);
    return measure.Canvas()->TextExtent(text);
}

class MessageDialog : public FormsTest {
protected:
    // Shows text with flags and answers with what the timer does in the modal run.
    int Show(int flags, const std::string& text, const std::function<void(TFormMessage*)>& act,
             TForm* owner = nullptr) {
        form_ = NewForm<TFormMessage>(Application);
        OneShot answer(10, [&] { act(form_); });
        int result = ShowMessageBox(form_, owner, flags, text);
        EXPECT_EQ(answer.Runs, 1);
        return result;
    }
    void TearDown() override {
        if (form_) form_->Free();
        FormsTest::TearDown();
    }
    void FreeForm() {
        form_->Free();
        form_ = nullptr;
    }

    TFormMessage* form_ = nullptr;
};

TEST_F(MessageDialog, IconAndButtonsFollowTheFlags) {
    struct Case {
        int flags;
        LPCSTR icon;  // null: none
        const char* ok;
        const char* cancel;  // null: hidden
        int okResult, cancelResult;
    } cases[] = {
        {0x10, IDI_HAND, "Ok", nullptr, mrOk, 0},
        {0x24, IDI_QUESTION, "Yes", "No", mrYes, mrNo},
        {0x31, IDI_EXCLAMATION, "Ok", "Cancel", mrOk, mrCancel},
        {0x40, IDI_ASTERISK, "Ok", nullptr, mrOk, 0},
        {0x05, nullptr, "Ok", nullptr, mrOk, 0},
        {0x54, nullptr, "Yes", "No", mrYes, mrNo},
    };
    EXPECT_NE(IconPixels(IDI_HAND), IconPixels(IDI_QUESTION));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.flags);
        EXPECT_EQ(Show(c.flags, "Question", [](TFormMessage* f) { Click(f->BtnOk); }), c.okResult);
        EXPECT_EQ(form_->BtnOk->Caption(), c.ok);
        EXPECT_TRUE(form_->BtnOk->Visible());
        EXPECT_EQ(form_->BtnCancel->Visible(), c.cancel != nullptr);
        EXPECT_EQ(form_->ImgIcon->Visible(), c.icon != nullptr);
        if (c.icon) {
            EXPECT_TRUE(Pixels(form_->ImgIcon->Picture()->Bitmap()) == IconPixels(c.icon));
        }
        int width = form_->ClientWidth();
        if (c.cancel) {
            EXPECT_EQ(form_->BtnCancel->Caption(), c.cancel);
            EXPECT_EQ(form_->BtnOk->Left(), width / 2 - 75 - 16);
            EXPECT_EQ(form_->BtnCancel->Left(), width / 2 + 16);
            FreeForm();
            EXPECT_EQ(Show(c.flags, "Question", [](TFormMessage* f) { Click(f->BtnCancel); }),
                      c.cancelResult);
        } else {
            EXPECT_EQ(form_->BtnOk->Left(), (width - 75) / 2);
        }
        FreeForm();
    }
}

TEST_F(MessageDialog, TitleAndCaptionsFromTheStringFile) {
    FAGlobalVar.MsgTitle = "Monitor Notice";
    SetText("BtnCaption", "BtnOk", "Fine");
    SetText("BtnCaption", "BtnCancel", "Drop");
    SetText("BtnCaption", "BtnYes", "Sure");
    SetText("BtnCaption", "BtnNo", "Never");
    EXPECT_EQ(Show(0x21, "Save?", [](TFormMessage* f) { Click(f->BtnOk); }), mrOk);
    EXPECT_EQ(form_->Caption(), "Monitor Notice");
    EXPECT_EQ(form_->BtnOk->Caption(), "Fine");
    EXPECT_EQ(form_->BtnCancel->Caption(), "Drop");
    FreeForm();
    EXPECT_EQ(Show(0x24, "Save?", [](TFormMessage* f) { Click(f->BtnCancel); }), mrNo);
    EXPECT_EQ(form_->BtnOk->Caption(), "Sure");
    EXPECT_EQ(form_->BtnCancel->Caption(), "Never");
}

TEST_F(MessageDialog, LabelAndWindowFitTheText) {
    auto close = [](TFormMessage* f) { PostCloseDialogs(f->Handle()); };
    // Two short words from the string file: two lines, at least 184 wide.
    EXPECT_EQ(Show(0x24, "Delete\\nit?", close), mrCancel);
    TLabel* label = form_->LbMsg;
    int lineHeight = TextSize(label->Font(), "Delete    ").cy;
    ASSERT_GT(lineHeight, 0);
    EXPECT_EQ(label->Caption(), "Delete\nit?");
    EXPECT_EQ(label->Left(), 49);
    EXPECT_EQ(label->Top(), 8);
    EXPECT_EQ(label->Width(), 184);
    EXPECT_EQ(label->Height(), lineHeight * 4);
    EXPECT_EQ(form_->ClientWidth(), 184 + 98);
    EXPECT_EQ(form_->BtnOk->Top(), 8 + lineHeight * 4 + 16);
    EXPECT_EQ(form_->ClientHeight(), 8 + lineHeight * 4 + 16 + 25 + 16);
    FreeForm();

    // A long line sets the width: measured with four blanks after it.
    std::string longLine = "The profile could not be stored in the driver library's store";
    EXPECT_EQ(Show(0x10, "Short\\n" + longLine, close), mrCancel);
    SIZE wide = TextSize(form_->LbMsg->Font(), longLine + "    ");
    EXPECT_GT(wide.cx, 184);
    EXPECT_EQ(form_->LbMsg->Width(), wide.cx);
    EXPECT_EQ(form_->ClientWidth(), wide.cx + 98);
    EXPECT_EQ(form_->BtnOk->Left(), (wide.cx + 98 - 75) / 2);
    FreeForm();

    // A real line feed of a built-in text: shown on two lines, sized as one.
    std::string builtIn = "Your adapter is in use.\nSwitch?";
    EXPECT_EQ(Show(0x24, builtIn, close), mrCancel);
    SIZE one = TextSize(form_->LbMsg->Font(), builtIn + "    ");
    EXPECT_EQ(form_->LbMsg->Caption(), builtIn);
    EXPECT_EQ(form_->LbMsg->Width(), one.cx < 184 ? 184 : one.cx);
    EXPECT_EQ(form_->LbMsg->Height(), one.cy * 3 < 49 ? 49 : one.cy * 3);
    FreeForm();

    // Nothing to say still makes a dialog.
    EXPECT_EQ(Show(0, "", close), mrCancel);
    EXPECT_EQ(form_->LbMsg->Width(), 184);
    EXPECT_EQ(form_->LbMsg->Height(), 49);
}

TEST_F(MessageDialog, CentredOverAShowingOwnerElseOnTheScreen) {
    TAutoFree<TFormBase> owner(NewForm<TFormBase>(Application));
    owner->SetBounds(100, 120, 580, 436);
    owner->Show();
    RECT placed = {};
    auto record = [&](TFormMessage* f) {
        GetWindowRect(f->Handle(), &placed);
        PostCloseDialogs(f->Handle());
    };
    Show(0x40, "Saved", record, owner.get());
    int width = placed.right - placed.left, height = placed.bottom - placed.top;
    EXPECT_EQ(placed.left, 100 + (580 - width) / 2);
    EXPECT_EQ(placed.top, 120 + (436 - height) / 2);
    FreeForm();

    owner->Hide();
    Show(0x40, "Saved", record, owner.get());
    EXPECT_EQ(placed.left, (GetSystemMetrics(SM_CXSCREEN) - width) / 2);
    EXPECT_EQ(placed.top, (GetSystemMetrics(SM_CYSCREEN) - height) / 2);
}

TEST_F(MessageDialog, SystemMenuCloseAndCloseDialogsAnswerCancel) {
    EXPECT_EQ(
        Show(0x24, "Switch?", [](TFormMessage* f) { PostMessageA(f->Handle(), WM_CLOSE, 0, 0); }),
        mrCancel);
    FreeForm();
    EXPECT_EQ(Show(0x24, "Switch?", [](TFormMessage* f) { PostCloseDialogs(f->Handle()); }),
              mrCancel);
    FreeForm();
    // A dialog-framed window with a system menu.
    EXPECT_EQ(Show(0x20, "Switch?", [](TFormMessage* f) { Click(f->BtnOk); }), mrOk);
    DWORD style = static_cast<DWORD>(GetWindowLongA(form_->Handle(), GWL_STYLE));
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_TRUE(style & WS_CAPTION);
}

// The text prompt

class TextPrompt : public FormsTest {
protected:
    void SetUp() override {
        FormsTest::SetUp();
        form_ = NewForm<TFormAskInfo>(Application);
    }
    void TearDown() override {
        form_->Free();
        FormsTest::TearDown();
    }
    int Run(const std::function<void()>& act) {
        OneShot answer(10, act);
        int result = form_->ShowModal();
        EXPECT_EQ(answer.Runs, 1);
        return result;
    }
    TFormAskInfo* form_ = nullptr;
};

TEST_F(TextPrompt, ButtonsKeepTheirLayoutCaptionsWithoutTheStringFile) {
    form_->SetPromptText("New Profile", "Profile name:");
    EXPECT_EQ(form_->BtnOk->Caption(), "OK");
    EXPECT_EQ(form_->BtnCancel->Caption(), "Cancel");
    EXPECT_EQ(form_->Caption(), "New Profile");
    EXPECT_EQ(form_->LbPrompt->Caption(), "Profile name:");
    EXPECT_EQ(form_->ClientHeight(), 108);

    SetText("BtnCaption", "BtnOk", "Ok");
    SetText("BtnCaption", "BtnCancel", "Abbrechen");
    form_->EdtInput->SetText("left over");
    EXPECT_TRUE(form_->PrepareForm(0));
    EXPECT_EQ(form_->BtnOk->Caption(), "Ok");
    EXPECT_EQ(form_->BtnCancel->Caption(), "Abbrechen");
    EXPECT_EQ(form_->Caption(), FAGlobalVar.MsgTitle);
    EXPECT_EQ(form_->LbPrompt->Caption(), "");
    EXPECT_EQ(form_->EdtInput->Text(), "");
}

TEST_F(TextPrompt, TypingStartsInTheInputAndStopsAt64Characters) {
    form_->SetPromptText("New Profile", "Profile name:");
    HWND focused = nullptr;
    EXPECT_EQ(Run([&] {
                  focused = GetFocus();
                  for (int i = 0; i < 70; ++i) SendMessageA(GetFocus(), WM_CHAR, 'p', 1);
                  Click(form_->BtnOk);
              }),
              mrOk);
    EXPECT_EQ(focused, form_->EdtInput->Handle());
    EXPECT_EQ(form_->GetInputText(), std::string(64, 'p'));
}

TEST_F(TextPrompt, AnswersAndTrimmedInput) {
    form_->SetPromptText("Rename", "Profile name:");
    EXPECT_EQ(Run([&] {
                  form_->EdtInput->SetText(" \t Office 2 \x1f ");
                  Click(form_->BtnOk);
              }),
              mrOk);
    EXPECT_EQ(form_->GetInputText(), "Office 2");
    EXPECT_EQ(form_->ActiveControl(), form_->EdtInput);

    form_->SetPromptText("Rename", "Profile name:");
    EXPECT_EQ(Run([&] { Click(form_->BtnOk); }), mrOk);  // empty: the caller decides
    EXPECT_EQ(form_->GetInputText(), "");

    EXPECT_EQ(Run([&] {
                  form_->EdtInput->SetText("Lab");
                  Click(form_->BtnCancel);
              }),
              mrCancel);
    EXPECT_EQ(form_->ActiveControl(), form_->EdtInput);
    EXPECT_EQ(Run([&] { PostCloseDialogs(form_->Handle()); }), mrCancel);
}

TEST_F(TextPrompt, ReturnInTheInputAnswersOkAndEscCancel) {
    constexpr int kNoAnswer = 99;
    auto press = [](WORD vk) {
        userinput::Key(vk, false);
        userinput::Key(vk, true);
    };
    struct Case {
        WORD key;
        int result;
    };
    for (const Case& c : {Case{VK_RETURN, mrOk}, Case{VK_ESCAPE, mrCancel}}) {
        SCOPED_TRACE(c.key == VK_RETURN ? "Return" : "Esc");
        form_->SetPromptText("New Profile", "Profile name:");
        // A key that does nothing ends the run here rather than never.
        OneShot giveUp(5000, [&] { form_->SetModalResult(kNoAnswer); });
        EXPECT_EQ(Run([&] {
                      userinput::Type("Lab");
                      press(c.key);
                  }),
                  c.result);
        EXPECT_EQ(form_->GetInputText(), "Lab") << "typed into the input, not into a button";
    }
}

// The progress dialog

class ProgressDialog : public FormsTest {
protected:
    void SetUp() override {
        FormsTest::SetUp();
        form_ = NewForm<TFormProgress>(Application);
        // Which of the five pictures the dialog shows, at each change.
        TPicture* picture = form_->ImgBg->Picture();
        auto changed = picture->OnChange;
        picture->OnChange = [this, picture, changed] {
            changed();
            std::string shown = Pixels(picture->Bitmap());
            TImage* steps[] = {FormRes->ImgProgress0, FormRes->ImgProgress1, FormRes->ImgProgress2,
                               FormRes->ImgProgress3, FormRes->ImgProgress4};
            int step = -1;
            for (int i = 0; i < 5; ++i)
                if (Pixels(steps[i]->Picture()->Bitmap()) == shown) step = i;
            steps_.push_back(step);
        };
    }
    void TearDown() override {
        form_->Free();
        FormsTest::TearDown();
    }
    TFormProgress* form_ = nullptr;
    std::vector<int> steps_;
};

TEST_F(ProgressDialog, ShowsFivePicturesOneIntervalEachThenEndsWithOk) {
    DWORD begun = GetTickCount();
    ShowProgress(form_, nullptr, 100);
    DWORD spent = GetTickCount() - begun;
    EXPECT_EQ(form_->TimerClose->Interval(), 20u);
    EXPECT_EQ(form_->ModalResult(), mrOk);
    EXPECT_EQ(steps_, (std::vector<int>{0, 1, 2, 3, 4}));
    EXPECT_EQ(form_->TimerClose->Tag, 5);
    EXPECT_FALSE(form_->TimerClose->Enabled());
    EXPECT_FALSE(form_->Visible());
    EXPECT_GE(spent + 15, 100u);

    // A second run starts again from the first picture.
    steps_.clear();
    ShowProgress(form_, nullptr, 25);
    EXPECT_EQ(form_->TimerClose->Interval(), 5u);
    EXPECT_EQ(steps_, (std::vector<int>{0, 1, 2, 3, 4}));
    EXPECT_EQ(form_->ModalResult(), mrOk);
}

TEST_F(ProgressDialog, DurationsBelowFiveStillEnd) {
    for (uint32_t duration : {0u, 1u, 4u}) {
        SCOPED_TRACE(duration);
        steps_.clear();
        OneShot guard(3000, [&] { PostCloseDialogs(form_->Handle()); });
        ShowProgress(form_, nullptr, duration);
        EXPECT_EQ(form_->TimerClose->Interval(), 1u);
        EXPECT_EQ(form_->ModalResult(), mrOk);
        EXPECT_EQ(steps_.size(), 5u);
        EXPECT_EQ(guard.Runs, 0);
    }
}

TEST_F(ProgressDialog, CloseDialogsBeforeTheFirstStepEndsAtOnce) {
    TAutoFree<TFormBase> owner(NewForm<TFormBase>(Application));
    owner->SetBounds(50, 60, 580, 436);
    owner->Show();
    UINT interval = 0;
    RECT placed = {};
    OneShot close(20, [&] {
        interval = form_->TimerClose->Interval();
        GetWindowRect(form_->Handle(), &placed);
        PostCloseDialogs(form_->Handle());
    });
    DWORD begun = GetTickCount();
    ShowProgress(form_, owner.get(), 20000);
    EXPECT_LT(GetTickCount() - begun, 2000u);
    EXPECT_EQ(interval, 4000u);
    EXPECT_EQ(form_->ModalResult(), mrCancel);
    EXPECT_FALSE(form_->TimerClose->Enabled());
    EXPECT_EQ(form_->TimerClose->Tag, 0);
    EXPECT_EQ(steps_, (std::vector<int>{0}));
    EXPECT_EQ(placed.left, 50 + (580 - 296) / 2);
    EXPECT_EQ(placed.top, 60 + (436 - 85) / 2);
    EXPECT_EQ(placed.right - placed.left, 296);
}

// The close-dialogs thread

// Counts the close-dialogs codes that reach a hidden top-level window.
class Listener {
public:
    Listener() {
        static const char* cls = [] {
            WNDCLASSA wc{};
            wc.lpfnWndProc = Proc;
            wc.hInstance = GetModuleHandleA(nullptr);
            wc.lpszClassName = "WlFormsTestListener";
            RegisterClassA(&wc);
            return "WlFormsTestListener";
        }();
        window_ = CreateWindowExA(0, cls, "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
        SetWindowLongPtrA(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    ~Listener() { DestroyWindow(window_); }
    Listener(const Listener&) = delete;
    Listener& operator=(const Listener&) = delete;
    int Codes = 0;

private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
        auto* self = reinterpret_cast<Listener*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
        if (self && msg == BroadcastMsgId && wParam == bmCloseDialogs) {
            ++self->Codes;
            return 0;
        }
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
    HWND window_;
};

// Starts a close-dialogs thread and answers a handle to it, so a test can wait for its end.
HANDLE StartCloseForm(std::function<void()> onDone, DWORD timeoutMs) {
    return OpenThread(SYNCHRONIZE, FALSE, CThreadCloseForm::Start(std::move(onDone), timeoutMs));
}

// Serves messages until the thread has ended; false on time-out.
bool PumpUntilEnded(HANDLE thread, DWORD timeoutMs = 5000) {
    DWORD start = GetTickCount();
    for (;;) {
        Application->ProcessMessages();
        DWORD spent = GetTickCount() - start;
        if (spent >= timeoutMs) return WaitForSingleObject(thread, 0) == WAIT_OBJECT_0;
        DWORD r = MsgWaitForMultipleObjects(1, &thread, FALSE, timeoutMs - spent, QS_ALLINPUT);
        if (r == WAIT_OBJECT_0) return true;
    }
}

class CloseFormThread : public FormsTest {};

TEST_F(CloseFormThread, BroadcastsToTopLevelWindowsThenEndsAfterThePause) {
    Listener listener;
    DWORD begun = GetTickCount(), done = 0;
    HANDLE thread = StartCloseForm([&] { done = GetTickCount(); }, 1000);
    ASSERT_NE(thread, nullptr);
    ASSERT_TRUE(PumpUntilEnded(thread));
    CloseHandle(thread);
    EXPECT_EQ(listener.Codes, 1);
    ASSERT_NE(done, 0u);
    EXPECT_GE(done - begun + 15, CThreadCloseForm::kPauseMs);
}

TEST_F(CloseFormThread, TwoThreadsInQuickSuccessionEachBroadcastOnce) {
    Listener listener;
    int done = 0;
    HANDLE first = StartCloseForm([&] { ++done; }, 1000);
    HANDLE second = StartCloseForm([&] { ++done; }, 1000);
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    EXPECT_TRUE(PumpUntilEnded(first));
    EXPECT_TRUE(PumpUntilEnded(second));
    CloseHandle(first);
    CloseHandle(second);
    EXPECT_EQ(listener.Codes, 2);
    EXPECT_EQ(done, 2);
}

DWORD WINAPI HangingWindowThread(LPVOID events) {
    HANDLE* e = static_cast<HANDLE*>(events);
    HWND window = CreateWindowExA(0, "STATIC", "hung", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                  nullptr, nullptr);
    SetEvent(e[0]);
    WaitForSingleObject(e[1], INFINITE);  // never reads its messages meanwhile
    DestroyWindow(window);
    return 0;
}

TEST_F(CloseFormThread, AHungWindowCostsNoMoreThanTheTimeOut) {
    HANDLE events[2] = {CreateEventA(nullptr, TRUE, FALSE, nullptr),
                        CreateEventA(nullptr, TRUE, FALSE, nullptr)};
    HANDLE hung = CreateThread(nullptr, 0, HangingWindowThread, events, 0, nullptr);
    ASSERT_EQ(WaitForSingleObject(events[0], 3000), WAIT_OBJECT_0);

    Listener listener;
    bool done = false;
    DWORD begun = GetTickCount();
    HANDLE thread = StartCloseForm([&] { done = true; }, 300);
    ASSERT_NE(thread, nullptr);
    bool ended = PumpUntilEnded(thread, 4000);
    DWORD spent = GetTickCount() - begun;
    SetEvent(events[1]);
    WaitForSingleObject(hung, 3000);
    EXPECT_TRUE(ended);
    EXPECT_TRUE(done);
    EXPECT_LT(spent, 300u + CThreadCloseForm::kPauseMs + 1000u);
    EXPECT_EQ(listener.Codes, 1);  // the others still got it
    CloseHandle(thread);
    CloseHandle(hung);
    CloseHandle(events[0]);
    CloseHandle(events[1]);
}

TEST_F(CloseFormThread, EndHandlerIsDroppedOnceTheMainFormIsGone) {
    ASSERT_EQ(Application->MainForm(), nullptr);
    TFormBase* main = nullptr;
    Application->CreateForm(main);
    ASSERT_EQ(Application->MainForm(), main);

    // With the main form alive the handler runs.
    int done = 0;
    HANDLE thread = StartCloseForm([&] { ++done; }, 1000);
    ASSERT_TRUE(PumpUntilEnded(thread));
    CloseHandle(thread);
    EXPECT_EQ(done, 1);

    thread = StartCloseForm([&] { ++done; }, 1000);
    main->Free();
    ASSERT_EQ(Application->MainForm(), nullptr);
    ASSERT_TRUE(PumpUntilEnded(thread));
    CloseHandle(thread);
    EXPECT_EQ(done, 1);
}

TEST_F(CloseFormThread, EndsARunningProgressDialog) {
    TAutoFree<TFormProgress> progress(NewForm<TFormProgress>(Application));
    HANDLE thread = nullptr;
    OneShot start(20, [&] { thread = StartCloseForm(nullptr, 1000); });
    DWORD begun = GetTickCount();
    ShowProgress(progress.get(), nullptr, 20000);
    EXPECT_LT(GetTickCount() - begun, 2000u);
    EXPECT_EQ(progress->ModalResult(), mrCancel);
    ASSERT_NE(thread, nullptr);
    EXPECT_TRUE(PumpUntilEnded(thread));
    CloseHandle(thread);
}

}  // namespace
}  // namespace formstest
