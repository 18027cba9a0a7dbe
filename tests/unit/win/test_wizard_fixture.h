// The profile wizard as the program runs it: the main window with the stand-in adapter, a
// profile page that hands the wizard its adapter news, runs it modally and stores what it sends
// through the adapter worker, and a script of user steps played inside the wizard's modal run.
#pragma once

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "Screenshot.h"
#include "UserInput.h"
#include "classlib/ComCtrls.h"
#include "monitor/Uformmessage.h"
#include "test_formmain_fixture.h"
#include "wizard/Uformprofset.h"
#include "wizard/Uframechannel.h"
#include "wizard/Uframeconfirm.h"
#include "wizard/Uframenetwork.h"
#include "wizard/Uframesecurity.h"
#include "wizard/Uframewep.h"
#include "wizard/Uframewlnetwork.h"
#include "wizard/Uframewpapsk.h"
#include "wizard/Uframnettype.h"

namespace wizardtest {

using mainwin::Journal;

// The profile page as far as the wizard meets it.
class WizardProfilePage : public mainwin::FakeProfilePage {
public:
    WizardProfilePage(TComponent* owner, Journal* journal) : FakeProfilePage(owner, journal) {}

    void AdapterChanged(CAdapter* adapter, int kind, int reserved) override {
        FakeProfilePage::AdapterChanged(adapter, kind, reserved);
        Adapter = kind == acAttached ? adapter : nullptr;
        if (IProfileWizard* wizard = Wizard_()) wizard->NotifyPagesAdapterChanged(adapter, kind, 0);
    }
    void AdapterEvent(CAdapter* adapter, int type, int value) override {
        FakeProfilePage::AdapterEvent(adapter, type, value);
        if (IProfileWizard* wizard = Wizard_())
            wizard->NotifyPagesAdapterEvent(adapter, type, value);
    }
    bool RunProfileWizard(int mode) override {
        Log->Add(mainwin::WizardLine(mode));
        TFormBase* wizard = FormMain->ProfileWizardForm;
        wizard->PrepareForm(mode);
        Result = wizard->ShowModal();
        return Result == mrOk;
    }
    bool OnProfileStored(LPARAM lParam) override {
        Log->Add(mainwin::StoredLine(lParam));
        Stored.push_back(FAGlobalVar.EditProfile);
        return StoreAnswer && Adapter && Adapter->AddProfile(FAGlobalVar.EditProfile);
    }

    CAdapter* Adapter = nullptr;
    std::vector<WLProfile> Stored;
    int Result = -1;

private:
    static IProfileWizard* Wizard_() {
        return FormMain ? dynamic_cast<IProfileWizard*>(FormMain->ProfileWizardForm) : nullptr;
    }
};

// Steps played one after another from a timer of this thread, so inside whatever modal run is
// going: a step is run again at the next tick until it answers true.
class Script {
public:
    explicit Script(UINT tickMs = 30) : timer_(new TTimer(nullptr)) {
        timer_->SetInterval(tickMs);
        timer_->OnTimer = [this](TObject*) {
            if (running_) return;  // a step that runs a modal dialog ticks us again
            while (next_ < steps_.size()) {
                running_ = true;
                bool done = steps_[next_].second();
                running_ = false;
                if (!done) return;
                ++next_;
                // One step a tick: what it did has to arrive first.
                return;
            }
            timer_->SetEnabled(false);
        };
    }
    ~Script() { timer_->Free(); }
    Script(const Script&) = delete;
    Script& operator=(const Script&) = delete;

    Script& Then(const std::string& what, std::function<bool()> step) {
        steps_.push_back({what, std::move(step)});
        return *this;
    }
    // Acts once.
    Script& Do(const std::string& what, std::function<void()> action) {
        return Then(what, [action] {
            action();
            return true;
        });
    }
    // Waits ms from when the step is reached.
    Script& Pause(DWORD ms) {
        auto since = std::make_shared<DWORD>(0);
        return Then("pause", [since, ms] {
            if (*since == 0) *since = GetTickCount() | 1;
            return GetTickCount() - *since >= ms;
        });
    }
    bool Finished() const { return next_ == steps_.size(); }
    // The step it waits at, for a failure's message.
    std::string Waiting() const { return Finished() ? "(none)" : steps_[next_].first; }

private:
    TTimer* timer_;
    std::vector<std::pair<std::string, std::function<bool()>>> steps_;
    size_t next_ = 0;
    bool running_ = false;
};

class Wizard : public mainwin::MainWindow {
protected:
    void SetUp() override {
        mainwin::MainWindow::SetUp();
        MainPageFactory = [this](TComponent* owner, TMainPageKind kind) -> TPropertyPageFrame* {
            switch (kind) {
                case TMainPageKind::SiteSurvey:
                    return survey_ = new mainwin::FakePage(owner, "survey", &journal_);
                case TMainPageKind::Profile:
                    return profile_ = page_ = new WizardProfilePage(owner, &journal_);
                case TMainPageKind::Info:
                    return info_ = new mainwin::FakeInfoPage(owner, &journal_);
            }
            return nullptr;
        };
    }
    void TearDown() override {
        userinput::ParkCursor();
        if (form_) form_->ProfileWizardForm = nullptr;
        if (wizard_) wizard_->Free();
        wizard_ = nullptr;
        mainwin::MainWindow::TearDown();
    }

    // The main window and the wizard as the start-up code makes them, the adapter attached.
    void Start(bool attach = true) {
        Make();
        Application->CreateForm(wizard_);
        form_->ProfileWizardForm = wizard_;
        wizard_->FrameWlNetwork1->TimerSurvey->SetInterval(surveyMs_);
        ASSERT_TRUE(form_->PrepareForm(0));
        if (!attach) return;
        ASSERT_TRUE(WaitAttached());
        // The progress dialog over its owner, shortened; what it was asked for is kept.
        form_->Adapter->ShowProgressHook = [this](TForm* owner, int ms) {
            progress_.push_back({owner, ms});
            RunProgressDialog(owner, progressMs_);
        };
    }

    // Runs the wizard as the profile page does, while the script plays; the modal result.
    int Run(int mode, Script& script, DWORD timeoutMs = 20000) {
        // A run that never ends would hang the test: bmCloseDialogs ends it after the time-out.
        mainwin::OneShot guard(timeoutMs, [this] {
            PostMessageA(wizard_->Handle(), BroadcastMsgId, bmCloseDialogs, 0);
            return true;
        });
        page_->RunProfileWizard(mode);
        EXPECT_TRUE(script.Finished()) << "waiting at: " << script.Waiting();
        EXPECT_FALSE(guard.Done) << "the run ended only by the time-out";
        return page_->Result;
    }

    // Steps a user takes.
    static std::function<bool()> Click(TControl* control) {
        return [control] {
            userinput::ClickCentre(control);
            return true;
        };
    }
    // At x of the control, halfway down: clicks at points apart never make a double click.
    static std::function<bool()> ClickAt(TControl* control, int x) {
        return [control, x] {
            userinput::Click(control, x, control->Height() / 2);
            return true;
        };
    }
    // The wizard's own buttons: only a shown, enabled one can be clicked.
    std::function<bool()> Press(TTrifaceBtn* button) {
        return [button] {
            if (!button->Visible() || !button->Enabled()) return false;
            userinput::ClickCentre(button);
            return true;
        };
    }
    std::function<bool()> OnPage(TPropertyPageFrame* page) {
        return [this, page] { return wizard_->CurrentPage() == page && page->Visible(); };
    }
    // The row of the list whose caption is ssid, clicked (twice for a double click).
    std::function<bool()> ClickRow(const std::string& ssid, bool twice = false) {
        return [this, ssid, twice] {
            TListView* list = wizard_->FrameWlNetwork1->LvSite;
            for (int i = 0; i < list->Items()->Count(); ++i) {
                if (list->Items()->Item(i)->Caption() != ssid) continue;
                RECT r = {LVIR_LABEL, 0, 0, 0};
                if (!SendMessageA(list->Handle(), LVM_GETITEMRECT, i, reinterpret_cast<LPARAM>(&r)))
                    return false;
                userinput::Click(list, r.left + 10, (r.top + r.bottom) / 2);
                if (twice) userinput::Click(list, r.left + 10, (r.top + r.bottom) / 2);
                return true;
            }
            return false;
        };
    }
    // The message dialog now showing: its text kept, answered with OK.
    std::function<bool()> AnswerMessage(std::string* text) {
        return [text] {
            HWND hwnd = FindWindowA("TFormMessage", nullptr);
            if (!hwnd || !IsWindowVisible(hwnd)) return false;
            auto* dialog = dynamic_cast<TFormMessage*>(TWinControl::FromHandle(hwnd));
            if (!dialog) return false;
            if (text) *text = dialog->LbMsg->Caption();
            userinput::ClickCentre(dialog->BtnOk);
            return true;
        };
    }
    // From the network list without a pick, through network type and security type as the
    // profile has them, to the page that follows: the summary, or the security kind's page.
    void PastSecurityType(Script& s, TPropertyPageFrame* page) {
        TFormProfSet* w = wizard_;
        s.Then("manual", Press(w->BtnManual))
            .Then("network type", OnPage(w->FrameNetType1))
            .Then("next", Press(w->BtnNext))
            .Then("security", OnPage(w->FrameSecurity1))
            .Then("next", Press(w->BtnNext))
            .Then("page after security", OnPage(page));
    }
    // To the summary; then, with save, Save and the finish page.
    void ToSummary(Script& s, bool save = false) {
        TFormProfSet* w = wizard_;
        PastSecurityType(s, w->FrameConfirm1);
        if (save)
            s.Then("save", Press(w->BtnSave)).Then("finish", [w] { return w->FinishShown(); });
    }
    std::function<bool()> Shot(const std::string& name) {
        return [this, name] {
            UpdateWindow(wizard_->Handle());
            SaveScreenshot(wizard_->Handle(), name);
            return true;
        };
    }

    std::vector<std::string> Captions(TComboBox* combo) const {
        std::vector<std::string> out;
        for (int i = 0; i < combo->Items()->Count(); ++i) out.push_back(combo->Items()->Strings(i));
        return out;
    }
    // The list's rows: caption and sub-items joined by '|', with the icon.
    std::vector<std::string> Rows() const {
        std::vector<std::string> out;
        TListView* list = wizard_->FrameWlNetwork1->LvSite;
        for (int i = 0; i < list->Items()->Count(); ++i) {
            TListItem* item = list->Items()->Item(i);
            std::string row = item->Caption();
            for (int s = 0; s < item->SubItems()->Count(); ++s)
                row += "|" + item->SubItems()->Strings(s);
            out.push_back(row + " #" + std::to_string(item->ImageIndex()));
        }
        return out;
    }
    // The buttons showing, left to right, with their left edges.
    std::string Strip() const {
        std::vector<std::pair<int, std::string>> shown;
        for (TTrifaceBtn* b :
             {wizard_->BtnManual, wizard_->BtnNext, wizard_->BtnBack, wizard_->BtnExit,
              wizard_->BtnSave, wizard_->BtnConnectNet, wizard_->BtnToProfScr}) {
            if (!b->Visible()) continue;
            EXPECT_EQ(b->Top(), 368) << b->Name;
            shown.push_back({b->Left(), b->Name + "@" + std::to_string(b->Left())});
        }
        std::sort(shown.begin(), shown.end());
        std::string out;
        for (auto& s : shown) out += (out.empty() ? "" : " ") + s.second;
        return out;
    }
    std::vector<std::string> Summary() const {
        TFrameConfirm* c = wizard_->FrameConfirm1;
        std::vector<std::string> out;
        for (TLabel* l : {c->LbSSID, c->LbNetType, c->LbChannel, c->LbWlMode, c->LbSecurity,
                          c->LbAuthen, c->LbIP, c->LbMask, c->LbGateway, c->LbDNS})
            out.push_back(l->Caption());
        return out;
    }

    TFormProfSet* wizard_ = nullptr;
    WizardProfilePage* page_ = nullptr;
    UINT surveyMs_ = 200;
    int progressMs_ = 200;
    std::vector<std::pair<TForm*, int>> progress_;
};

}  // namespace wizardtest
