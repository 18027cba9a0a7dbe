// Forms: window classes named after the form class, modal runs, window
// procedure overrides, client sizes, placement, and exceptions from handlers.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "GuiTestUtil.h"
#include "classlib/Application.h"
#include "classlib/ExtCtrls.h"
#include "classlib/Forms.h"
#include "classlib/StdCtrls.h"

namespace {

using guitest::PumpUntil;

UINT ProbeMessage() {
    static UINT id = RegisterWindowMessageA("WlClasslibProbe");
    return id;
}

class TFormProbe : public TForm {
public:
    explicit TFormProbe(TComponent* owner) : TForm(owner) {
        OkButton = new TButton(this);
        OkButton->SetBounds(10, 10, 75, 25);
        OkButton->SetCaption("OK");
        OkButton->SetModalResult(mrOk);
        OkButton->SetParent(this);
        OnCreate = [this](TObject*) {
            ++creates;
            SetCaption(Application->Title());
        };
        OnClose = [this](TObject*, TCloseAction& action) {
            ++closes;
            if (refuseNextClose) {
                refuseNextClose = false;
                action = caNone;
            }
        };
    }
    void WndProc(TMessage& msg) override {
        if (msg.Msg == ProbeMessage()) {
            ++probes;
            lastWParam = msg.WParam;
            msg.Result = 42;
            return;
        }
        TForm::WndProc(msg);
    }

    TButton* OkButton;
    int creates = 0;
    int closes = 0;
    int probes = 0;
    WPARAM lastWParam = 0;
    bool refuseNextClose = false;
};

class ClasslibForm : public ::testing::Test {
protected:
    void SetUp() override {
        Application->Initialize();
        Application->OnException = [this](TObject* sender, const Exception& e) {
            errors.push_back(e.Message);
            senders.push_back(sender);
        };
    }
    void TearDown() override { Application->OnException = nullptr; }

    std::vector<std::string> errors;
    std::vector<TObject*> senders;
};

}  // namespace

TEST_F(ClasslibForm, RegistersItsOwnClassAndIsFoundByClassAndTitle) {
    TAutoFree<TFormProbe> form(NewForm<TFormProbe>(Application));
    EXPECT_EQ(form->creates, 1);
    EXPECT_EQ(form->ClassName(), "TFormProbe");
    HWND hwnd = form->Handle();
    ASSERT_NE(hwnd, nullptr);
    char name[64] = {};
    GetClassNameA(hwnd, name, sizeof(name));
    EXPECT_STREQ(name, "TFormProbe");
    // Hidden or not, other programs find it by class and the application's title.
    EXPECT_EQ(FindWindowA("TFormProbe", Application->Title().c_str()), hwnd);
    EXPECT_EQ(GetWindow(hwnd, GW_OWNER), Application->Handle());
    EXPECT_EQ(FindWindowA("TApplication", Application->Title().c_str()), Application->Handle());
}

TEST_F(ClasslibForm, CreateFormMakesTheFirstFormTheMainForm) {
    ASSERT_EQ(Application->MainForm(), nullptr);
    TFormProbe* main = nullptr;
    Application->CreateForm(main);
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(main->creates, 1);
    EXPECT_EQ(main->Owner(), Application);
    EXPECT_EQ(Application->MainForm(), main);
    TFormProbe* second = nullptr;
    Application->CreateForm(second);
    EXPECT_EQ(Application->MainForm(), main);
    // Another program closing the application: the main form is asked.
    main->refuseNextClose = true;
    SendMessageA(Application->Handle(), WM_CLOSE, 0, 0);
    EXPECT_EQ(main->closes, 1);
    EXPECT_FALSE(Application->Terminated());
    second->Free();
    main->Free();
    EXPECT_EQ(Application->MainForm(), nullptr);
}

TEST_F(ClasslibForm, RefusesAWindowBeforeOnCreateRan) {
    // Made without NewForm: during construction the class name would be a base's.
    auto* raw = new TFormProbe(Application);
    EXPECT_THROW(raw->Handle(), Exception);
    EXPECT_FALSE(raw->HandleAllocated());
    raw->AfterConstruction();
    EXPECT_NE(raw->Handle(), nullptr);
    raw->Free();
}

TEST_F(ClasslibForm, ShowModalEndsWithTheButtonsResultAndStartsFreshEachRun) {
    TAutoFree<TFormProbe> other(NewForm<TFormProbe>(Application));
    other->Show();
    TAutoFree<TFormProbe> form(NewForm<TFormProbe>(Application));
    auto* timer = new TTimer(form.get());
    timer->SetInterval(10);
    bool otherDisabled = false, selfEnabled = false;
    timer->OnTimer = [&](TObject*) {
        timer->SetEnabled(false);
        otherDisabled = !IsWindowEnabled(other->Handle());
        selfEnabled = IsWindowEnabled(form->Handle()) != FALSE;
        SendMessageA(form->OkButton->Handle(), BM_CLICK, 0, 0);
    };
    EXPECT_EQ(form->ShowModal(), mrOk);
    EXPECT_TRUE(otherDisabled);
    EXPECT_TRUE(selfEnabled);
    EXPECT_TRUE(IsWindowEnabled(other->Handle()));
    EXPECT_FALSE(form->Visible());
    EXPECT_FALSE(form->InModalRun());
    EXPECT_EQ(form->closes, 1);

    // The first run's result is still set: a second run must not end at once.
    int ticks = 0;
    timer->OnTimer = [&](TObject*) {
        ++ticks;
        timer->SetEnabled(false);
        form->SetModalResult(mrNo);
    };
    timer->SetEnabled(true);
    EXPECT_EQ(form->ShowModal(), mrNo);
    EXPECT_EQ(ticks, 1);
    EXPECT_EQ(form->closes, 2);
}

TEST_F(ClasslibForm, ModalRunAsksOnCloseAndEndsWithCancelOnWmClose) {
    TAutoFree<TFormProbe> form(NewForm<TFormProbe>(Application));
    auto* timer = new TTimer(form.get());
    timer->SetInterval(10);
    int ticks = 0;
    form->refuseNextClose = true;
    timer->OnTimer = [&](TObject*) {
        ++ticks;
        if (ticks == 1) {
            form->SetModalResult(mrOk);  // refused by OnClose: the run goes on
        } else {
            timer->SetEnabled(false);
            PostMessageA(form->Handle(), WM_CLOSE, 0, 0);  // the system menu's close
        }
    };
    EXPECT_EQ(form->ShowModal(), mrCancel);
    EXPECT_EQ(ticks, 2);
    EXPECT_EQ(form->closes, 2);
    EXPECT_TRUE(IsWindow(form->Handle()));  // closed, not destroyed
    EXPECT_THROW(
        {
            form->Show();
            form->ShowModal();
        },
        Exception);
    form->Hide();
}

TEST_F(ClasslibForm, ModalRunGivesTheFocusBackToTheControlThatHadIt) {
    TAutoFree<TFormProbe> owner(NewForm<TFormProbe>(Application));
    auto* panel = new TPanel(owner.get());
    panel->SetBounds(10, 40, 200, 80);
    panel->SetParent(owner.get());
    std::vector<TEdit*> edits;
    for (int i = 0; i < 2; ++i) {
        auto* edit = new TEdit(owner.get());
        edit->SetBounds(10, 10 + 30 * i, 100, 20);
        edit->SetParent(panel);
        edits.push_back(edit);
    }
    owner->Show();
    TAutoFree<TFormProbe> dialog(NewForm<TFormProbe>(Application));
    auto* timer = new TTimer(dialog.get());
    timer->SetInterval(10);
    HWND during = nullptr;
    timer->OnTimer = [&](TObject*) {
        timer->SetEnabled(false);
        during = GetFocus();
        SendMessageA(dialog->OkButton->Handle(), BM_CLICK, 0, 0);
    };
    // Twice: the second edit, not the first one of the tab order, nor the owner itself.
    for (int run = 0; run < 2; ++run) {
        edits[1]->SetFocus();
        ASSERT_EQ(GetFocus(), edits[1]->Handle());
        timer->SetEnabled(true);
        EXPECT_EQ(dialog->ShowModal(), mrOk);
        EXPECT_NE(during, edits[1]->Handle()) << "the dialog had the focus meanwhile";
        EXPECT_EQ(GetActiveWindow(), owner->Handle()) << run;
        EXPECT_EQ(GetFocus(), edits[1]->Handle()) << run;
    }
    // A window of the owner that the library does not wrap (a part of a system control): the
    // form's own memory of its focused control does not know it.
    HWND raw = CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 10, 130, 100, 20,
                               owner->Handle(), nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(raw, nullptr);
    SetFocus(raw);
    ASSERT_EQ(GetFocus(), raw);
    timer->SetEnabled(true);
    EXPECT_EQ(dialog->ShowModal(), mrOk);
    EXPECT_EQ(GetFocus(), raw);
    DestroyWindow(raw);
}

// A shown window of another thread, which may take the activation as another program's window
// does; it counts the times it was activated.
class ForeignWindow {
public:
    ForeignWindow() {
        ready_ = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        thread_ = CreateThread(nullptr, 0, Run, this, 0, &threadId_);
        WaitForSingleObject(ready_, 5000);
    }
    ~ForeignWindow() {
        PostThreadMessageA(threadId_, WM_QUIT, 0, 0);
        WaitForSingleObject(thread_, 5000);
        CloseHandle(thread_);
        CloseHandle(ready_);
    }
    HWND Handle() const { return hwnd_; }
    // Once the thread has taken what was sent to it so far.
    LONG Activations() const {
        DWORD_PTR result = 0;
        SendMessageTimeoutA(hwnd_, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &result);
        return activations_;
    }

private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
        if (msg == WM_ACTIVATE && LOWORD(wp) != WA_INACTIVE) {
            auto* self = reinterpret_cast<ForeignWindow*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
            if (self) InterlockedIncrement(&self->activations_);
        }
        return DefWindowProcA(hwnd, msg, wp, lp);
    }
    static DWORD WINAPI Run(void* param) {
        auto* self = static_cast<ForeignWindow*>(param);
        WNDCLASSA wc = {};
        wc.lpfnWndProc = Proc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "WlForeignWindow";
        RegisterClassA(&wc);
        self->hwnd_ = CreateWindowExA(0, wc.lpszClassName, "foreign", WS_OVERLAPPEDWINDOW, 600, 600,
                                      200, 100, nullptr, nullptr, wc.hInstance, nullptr);
        SetWindowLongPtrA(self->hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        ShowWindow(self->hwnd_, SW_SHOWNOACTIVATE);
        SetEvent(self->ready_);
        MSG msg;
        while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
        DestroyWindow(self->hwnd_);
        UnregisterClassA(wc.lpszClassName, wc.hInstance);
        return 0;
    }
    HANDLE ready_ = nullptr;
    HANDLE thread_ = nullptr;
    DWORD threadId_ = 0;
    HWND hwnd_ = nullptr;
    volatile LONG activations_ = 0;
};

TEST_F(ClasslibForm, ModalRunInPlaceOfAFormKeepsTheActivationInTheProgram) {
    ForeignWindow foreign;
    ASSERT_NE(foreign.Handle(), nullptr);
    ASSERT_EQ(foreign.Activations(), 0);
    TAutoFree<TFormProbe> owner(NewForm<TFormProbe>(Application));
    owner->SetBounds(100, 100, 300, 200);
    owner->Show();
    SetForegroundWindow(owner->Handle());
    ASSERT_TRUE(PumpUntil([&] { return GetForegroundWindow() == owner->Handle(); }));
    TAutoFree<TFormProbe> dialog(NewForm<TFormProbe>(Application));
    dialog->SetBounds(150, 150, 200, 100);
    auto* timer = new TTimer(dialog.get());
    timer->SetInterval(10);
    HWND foregroundDuring = nullptr;
    bool ownerShownDuring = true;
    timer->OnTimer = [&](TObject*) {
        timer->SetEnabled(false);
        foregroundDuring = GetForegroundWindow();
        ownerShownDuring = IsWindowVisible(owner->Handle()) != FALSE;
        SendMessageA(dialog->OkButton->Handle(), BM_CLICK, 0, 0);
    };
    timer->SetEnabled(true);
    int placed = 0;
    EXPECT_EQ(dialog->ShowModalInPlaceOf(owner.get(),
                                         [&] {
                                             ++placed;
                                             EXPECT_TRUE(IsWindowVisible(dialog->Handle()));
                                             owner->SetBounds(120, 130, 300, 200);
                                         }),
              mrOk);
    EXPECT_EQ(foreign.Activations(), 0) << "the activation went to another program's window";
    EXPECT_EQ(foregroundDuring, dialog->Handle()) << "the keys went to another window";
    EXPECT_FALSE(ownerShownDuring);
    EXPECT_EQ(placed, 1);
    EXPECT_TRUE(IsWindowVisible(owner->Handle()));
    EXPECT_EQ(owner->Left(), 120);
    EXPECT_EQ(GetForegroundWindow(), owner->Handle()) << "the owner has the keys again";
    EXPECT_FALSE(IsWindowVisible(dialog->Handle()));
}

TEST_F(ClasslibForm, OverriddenWndProcSeesMessagesAndChains) {
    TAutoFree<TFormProbe> form(NewForm<TFormProbe>(Application));
    HWND hwnd = form->Handle();
    EXPECT_EQ(SendMessageA(hwnd, ProbeMessage(), 9, 0), 42);
    EXPECT_EQ(form->probes, 1);
    EXPECT_EQ(form->lastWParam, 9u);
    PostMessageA(hwnd, ProbeMessage(), 5, 0);
    ASSERT_TRUE(PumpUntil([&] { return form->probes == 2; }));
    EXPECT_EQ(form->lastWParam, 5u);

    // Everything else reaches the window's own handling.
    SetWindowTextA(hwnd, "Renamed");
    EXPECT_EQ(form->Caption(), "Renamed");

    // A hidden form still hears messages sent to every top-level window.
    DWORD_PTR answer = 0;
    SendMessageTimeoutA(HWND_BROADCAST, ProbeMessage(), 7, 0, SMTO_ABORTIFHUNG, 2000, &answer);
    EXPECT_EQ(form->probes, 3);
    EXPECT_EQ(form->lastWParam, 7u);
}

TEST_F(ClasslibForm, ClientSizeHoldsThroughBorderChanges) {
    TAutoFree<TFormProbe> form(NewForm<TFormProbe>(Application));
    form->SetClientWidth(268);
    form->SetClientHeight(197);
    form->SetBorderStyle(bsDialog);
    EXPECT_EQ(form->ClientWidth(), 268);
    HWND hwnd = form->Handle();
    RECT client;
    GetClientRect(hwnd, &client);
    EXPECT_EQ(client.right, 268);
    EXPECT_EQ(client.bottom, 197);
    EXPECT_GT(form->Width(), 268);
    EXPECT_TRUE(GetWindowLongPtrA(hwnd, GWL_STYLE) & WS_SYSMENU);

    form->SetBorderStyle(bsNone);
    GetClientRect(hwnd, &client);
    EXPECT_EQ(client.right, 268);
    EXPECT_EQ(client.bottom, 197);
    EXPECT_EQ(form->Width(), 268);

    // A picture's size set as client size after the window exists.
    form->SetBorderStyle(bsDialog);
    form->SetClientWidth(580);
    form->SetClientHeight(436);
    EXPECT_EQ(form->ClientWidth(), 580);
    EXPECT_EQ(form->ClientHeight(), 436);
}

TEST_F(ClasslibForm, PlacedAtTheScreenCentreOnlyWhenFirstShown) {
    TAutoFree<TFormProbe> form(NewForm<TFormProbe>(Application));
    form->SetPosition(poScreenCenter);
    form->SetClientWidth(300);
    form->SetClientHeight(100);
    form->Show();
    EXPECT_EQ(form->Left(), (Screen->Width() - form->Width()) / 2);
    EXPECT_EQ(form->Top(), (Screen->Height() - form->Height()) / 2);
    RECT r;
    GetWindowRect(form->Handle(), &r);
    EXPECT_EQ(r.left, form->Left());
    form->Hide();
    // A caller's placement is kept.
    form->SetLeft(5);
    form->SetTop(7);
    form->Show();
    GetWindowRect(form->Handle(), &r);
    EXPECT_EQ(r.left, 5);
    EXPECT_EQ(r.top, 7);
    form->Hide();
}

TEST_F(ClasslibForm, ExceptionsFromHandlersGoToTheApplicationsHandler) {
    TAutoFree<TFormProbe> form(NewForm<TFormProbe>(Application));
    form->OkButton->OnClick = [](TObject*) { throw Exception("Profile not stored"); };
    form->Show();
    SendMessageA(form->OkButton->Handle(), BM_CLICK, 0, 0);
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0], "Profile not stored");
    EXPECT_EQ(senders[0], form->OkButton);

    auto* timer = new TTimer(form.get());
    timer->SetInterval(5);
    timer->OnTimer = [timer](TObject*) {
        timer->SetEnabled(false);
        throw std::runtime_error("tick failed");
    };
    ASSERT_TRUE(PumpUntil([&] { return errors.size() == 2; }));
    EXPECT_EQ(errors[1], "tick failed");
    EXPECT_EQ(senders[1], timer);

    // Whatever is thrown, and from a form's OnDestroy too.
    form->OkButton->OnClick = [](TObject*) { throw 42; };
    SendMessageA(form->OkButton->Handle(), BM_CLICK, 0, 0);
    ASSERT_EQ(errors.size(), 3u);
    EXPECT_EQ(errors[2], "Unknown exception");
    auto* doomed = NewForm<TFormProbe>(Application);
    doomed->OnDestroy = [](TObject*) { throw Exception("Settings not saved"); };
    doomed->Free();
    ASSERT_EQ(errors.size(), 4u);
    EXPECT_EQ(errors[3], "Settings not saved");

    // The window lives on and still works.
    form->OkButton->OnClick = nullptr;
    SendMessageA(form->OkButton->Handle(), BM_CLICK, 0, 0);
    EXPECT_EQ(errors.size(), 4u);
    EXPECT_EQ(form->ModalResult(), mrOk);
    form->Hide();
}
