// The page host: jumps as the main window's tabs make them, Next and Back as the wizard makes
// them, with pages that write down what they are asked and refuse when told to.
#include <map>
#include <string>
#include <vector>

#include "classlib/StdCtrls.h"
#include "monitor/Qximage.h"
#include "monitor/Upagehost.h"
#include "test_forms_fixture.h"

namespace formstest {
namespace {

using Log = std::vector<std::string>;

class TFakePage : public TPropertyPageFrame {
public:
    TFakePage(TForm* form, const char* name, Log* log) : TPropertyPageFrame(form), log_(log) {
        Name = name;
        SetParent(form);
        List = new TEdit(this);
        List->SetBounds(10, 10, 100, 20);
        List->SetParent(this);
    }
    void InitPage() override { log_->push_back(Name + " init"); }
    bool EnterPage(TPropertyPageFrame* other, int direction, int mode) override {
        log_->push_back(Line("enter", other, direction, mode));
        return !RefuseEnter && TPropertyPageFrame::EnterPage(other, direction, mode);
    }
    bool LeavePage(TPropertyPageFrame* other, int direction, int mode) override {
        log_->push_back(Line("leave", other, direction, mode));
        return !RefuseLeave && TPropertyPageFrame::LeavePage(other, direction, mode);
    }

    TEdit* List;
    bool RefuseEnter = false;
    bool RefuseLeave = false;

private:
    std::string Line(const char* what, TPropertyPageFrame* other, int direction, int mode) const {
        return Name + " " + what + " " + (other ? other->Name : "-") + " " +
               std::to_string(direction) + " " + std::to_string(mode);
    }
    Log* log_;
};

class PageHost : public FormsTest {
protected:
    void SetUp() override {
        FormsTest::SetUp();
        form_ = NewForm<TForm>(Application);
        form_->SetBounds(0, 0, 400, 300);
        for (const char* name : {"A", "B", "C", "D"})
            pages_[name] = new TFakePage(form_, name, &log_);
        faces_[0] = new TImage(form_);
        faces_[1] = new TImage(form_);
    }
    void TearDown() override {
        form_->Free();
        FormsTest::TearDown();
    }
    TQXImage* Tab() {
        auto* tab = new TQXImage(form_);
        tab->SetImageSource(qsrcImage);
        tab->SetImage(TPageHost::kTabNormal, faces_[0]);
        tab->SetImage(TPageHost::kTabSelected, faces_[1]);
        return tab;
    }
    // The pages showing, by name.
    std::string Showing() const {
        std::string names;
        for (const auto& p : pages_)
            if (p.second->Visible()) names += p.first;
        return names;
    }
    std::string Take() {
        std::string lines;
        for (const std::string& l : log_) lines += (lines.empty() ? "" : ", ") + l;
        log_.clear();
        return lines;
    }

    TForm* form_ = nullptr;
    std::map<std::string, TFakePage*> pages_;
    TImage* faces_[2] = {};
    Log log_;
    TPageHost host_;
};

TEST_F(PageHost, AJumpAsksBothPagesAndARefusalKeepsEverything) {
    TFakePage *a = pages_["A"], *b = pages_["B"], *c = pages_["C"];
    TQXImage *tabA = Tab(), *tabB = Tab();
    host_.Add(a, tabA, a->List);
    host_.Add(b, tabB, b->List);
    host_.Add(c);
    host_.Mode = 7;
    form_->Show();

    EXPECT_TRUE(host_.Jump(a));
    EXPECT_EQ(Take(), "A enter - 0 7");
    EXPECT_EQ(host_.Current(), a);
    EXPECT_EQ(Showing(), "A");
    EXPECT_EQ(tabA->ImageIndex(), TPageHost::kTabSelected);
    EXPECT_EQ(tabB->ImageIndex(), TPageHost::kTabNormal);
    EXPECT_EQ(GetFocus(), a->List->Handle());

    EXPECT_TRUE(host_.Jump(b));
    EXPECT_EQ(Take(), "A leave B 0 7, B enter A 0 7");
    EXPECT_EQ(Showing(), "B");
    EXPECT_EQ(tabA->ImageIndex(), TPageHost::kTabNormal);
    EXPECT_EQ(tabB->ImageIndex(), TPageHost::kTabSelected);
    EXPECT_EQ(GetFocus(), b->List->Handle());
    EXPECT_EQ(b->PrevPage, nullptr) << "a jump is no step forward";

    // The page shown refuses to go: the new one is not even asked.
    b->RefuseLeave = true;
    EXPECT_FALSE(host_.Jump(c));
    EXPECT_EQ(Take(), "B leave C 0 7");
    b->RefuseLeave = false;
    // The new page refuses to come, after the old one agreed to go.
    a->RefuseEnter = true;
    EXPECT_FALSE(host_.Jump(a));
    EXPECT_EQ(Take(), "B leave A 0 7, A enter B 0 7");
    a->RefuseEnter = false;
    EXPECT_FALSE(host_.Jump(nullptr));
    EXPECT_EQ(Take(), "B leave - 0 7");
    EXPECT_EQ(host_.Current(), b);
    EXPECT_EQ(Showing(), "B");
    EXPECT_EQ(tabB->ImageIndex(), TPageHost::kTabSelected);

    // A page without a tab or a focus control.
    EXPECT_TRUE(host_.Jump(c));
    EXPECT_EQ(Showing(), "C");
    EXPECT_EQ(tabB->ImageIndex(), TPageHost::kTabNormal);
    EXPECT_EQ(GetFocus(), b->List->Handle()) << "the focus stays where it was";

    // While the window is hidden its controls cannot take the focus, and none is forced on them.
    form_->Hide();
    EXPECT_TRUE(host_.Jump(a));
    EXPECT_TRUE(a->Visible());
    EXPECT_NE(GetFocus(), a->List->Handle());
}

TEST_F(PageHost, NextAndBackRetraceThePagesVisitedSkippedOnesIncluded) {
    TFakePage *a = pages_["A"], *b = pages_["B"], *c = pages_["C"], *d = pages_["D"];
    for (TFakePage* p : {a, b, c, d}) host_.Add(p);
    host_.Mode = WizardModeFirstRun;
    // A, B, then past C straight to D, then nowhere.
    std::map<TPropertyPageFrame*, TPropertyPageFrame*> next = {{nullptr, a}, {a, b}, {b, d}};
    auto route = [&](TPropertyPageFrame* left) -> TPropertyPageFrame* {
        log_.push_back("route " + (left ? left->Name : std::string("-")));
        auto found = next.find(left);
        return found == next.end() ? nullptr : found->second;
    };

    EXPECT_TRUE(host_.Forward(route));
    EXPECT_EQ(Take(), "route -, A enter - 1 513");
    EXPECT_EQ(a->PrevPage, nullptr);
    EXPECT_TRUE(host_.Forward(route));
    EXPECT_EQ(Take(), "A leave - 1 513, route A, B enter A 1 513") << "the route follows the leave";
    EXPECT_TRUE(host_.Forward(route));
    EXPECT_EQ(Take(), "B leave - 1 513, route B, D enter B 1 513");
    EXPECT_EQ(Showing(), "D");
    EXPECT_EQ(b->PrevPage, a);
    EXPECT_EQ(d->PrevPage, b);
    EXPECT_EQ(c->PrevPage, nullptr);

    // No page after D: it has been left, and stays.
    EXPECT_FALSE(host_.Forward(route));
    EXPECT_EQ(Take(), "D leave - 1 513, route D");
    EXPECT_EQ(host_.Current(), d);
    EXPECT_EQ(Showing(), "D");

    EXPECT_TRUE(host_.Back());
    EXPECT_EQ(Take(), "D leave - 2 513, B enter D 2 513");
    EXPECT_EQ(d->PrevPage, nullptr) << "leaving back forgets";
    EXPECT_EQ(b->PrevPage, a) << "entering back remembers nothing new";
    EXPECT_EQ(Showing(), "B");

    // Refusals: a page that will not go keeps the route from being asked, one that will not
    // come keeps the page left.
    b->RefuseLeave = true;
    EXPECT_FALSE(host_.Back());
    EXPECT_FALSE(host_.Forward(route));
    EXPECT_EQ(Take(), "B leave - 2 513, B leave - 1 513");
    EXPECT_EQ(b->PrevPage, a) << "a refused leave keeps the memory";
    b->RefuseLeave = false;
    d->RefuseEnter = true;
    EXPECT_FALSE(host_.Forward(route));
    EXPECT_EQ(Take(), "B leave - 1 513, route B, D enter B 1 513");
    EXPECT_EQ(host_.Current(), b);
    EXPECT_EQ(Showing(), "B");

    EXPECT_TRUE(host_.Back());
    EXPECT_EQ(Take(), "B leave - 2 513, A enter B 2 513");
    // The first page has nowhere to go back to: it is left and stays.
    EXPECT_FALSE(host_.Back());
    EXPECT_EQ(Take(), "A leave - 2 513");
    EXPECT_EQ(host_.Current(), a);
    EXPECT_EQ(Showing(), "A");
}

TEST_F(PageHost, InitAndHideAllLeaveNoPageCurrentWithoutAskingThePages) {
    for (const char* name : {"A", "B", "C"}) host_.Add(pages_[name]);
    EXPECT_TRUE(host_.Jump(pages_["B"]));
    Take();
    host_.InitPages();
    EXPECT_EQ(Take(), "A init, B init, C init");
    EXPECT_EQ(host_.Current(), nullptr);
    EXPECT_EQ(Showing(), "");

    // The first page after them is entered from no page.
    EXPECT_TRUE(host_.Jump(pages_["C"]));
    EXPECT_EQ(Take(), "C enter - 0 0");
    host_.HideAll();
    EXPECT_EQ(Take(), "");
    EXPECT_EQ(host_.Current(), nullptr);
    EXPECT_EQ(Showing(), "");
}

}  // namespace
}  // namespace formstest
