// The base form and page, the borderless recipe, the skin store and the combo
// box helpers.
#include <cstring>
#include <string>
#include <vector>

#include "classlib/StdCtrls.h"
#include "core/Ucontrolhelpers.h"
#include "core/Uvyxwltypes.h"
#include "monitor/Propertypageframeunit.h"
#include "monitor/Uformprogress.h"
#include "monitor/Uskinwindow.h"
#include "test_forms_fixture.h"

namespace formstest {
namespace {

class TFormBaseProbe : public TFormBase {
public:
    explicit TFormBaseProbe(TComponent* owner) : TFormBase(owner) {}
    void WndProc(TMessage& msg) override {
        if (msg.Msg == WM_NCLBUTTONDOWN && catchDrags) {
            drags.push_back(msg.WParam);
            return;  // the system's move loop would wait for the mouse
        }
        TFormBase::WndProc(msg);
    }
    bool catchDrags = false;
    std::vector<WPARAM> drags;
};

DWORD WINAPI SendCloseDialogs(LPVOID window) {
    SendMessageA(static_cast<HWND>(window), BroadcastMsgId, bmCloseDialogs, 0);
    return 0;
}

class BaseForm : public FormsTest {};

TEST_F(BaseForm, CloseDialogsEndsAModalRunWithCancelAndTheNextRunStartsAfresh) {
    TAutoFree<TFormBaseProbe> form(NewForm<TFormBaseProbe>(Application));
    OneShot post(20, [&] { PostCloseDialogs(form->Handle()); });
    EXPECT_EQ(form->ShowModal(), mrCancel);
    EXPECT_EQ(post.Runs, 1);

    // Another code of the message is not the close-dialogs code.
    OneShot other(20, [&] {
        PostMessageA(form->Handle(), BroadcastMsgId, bmStatusUpdated, 0);
        PostMessageA(form->Handle(), WM_NULL, 0, 0);
    });
    OneShot end(60, [&] { form->SetModalResult(mrOk); });
    EXPECT_EQ(form->ShowModal(), mrOk);
    EXPECT_EQ(other.Runs, 1);
    EXPECT_EQ(end.Runs, 1);
}

TEST_F(BaseForm, CloseDialogsSentFromAnotherThreadEndsTheRunAtOnce) {
    TAutoFree<TFormBaseProbe> form(NewForm<TFormBaseProbe>(Application));
    HANDLE sender = nullptr;
    // Nothing else arrives after the code: the modal loop must not wait for another message.
    OneShot start(20, [&] {
        sender = CreateThread(nullptr, 0, SendCloseDialogs, form->Handle(), 0, nullptr);
    });
    OneShot guard(3000, [&] { form->SetModalResult(99); });
    DWORD begun = GetTickCount();
    EXPECT_EQ(form->ShowModal(), mrCancel);
    EXPECT_LT(GetTickCount() - begun, 1500u);
    ASSERT_NE(sender, nullptr);
    EXPECT_EQ(WaitForSingleObject(sender, 3000), WAIT_OBJECT_0);
    CloseHandle(sender);
}

TEST_F(BaseForm, CloseDialogsLeavesAWindowOutsideAModalRunAsItIs) {
    TAutoFree<TFormBaseProbe> form(NewForm<TFormBaseProbe>(Application));
    form->Show();
    SendMessageA(form->Handle(), BroadcastMsgId, bmCloseDialogs, 0);
    PumpUntil([] { return false; }, 30);
    EXPECT_TRUE(form->Visible());
    form->Hide();
    // The code's result does not end the next modal run.
    OneShot end(40, [&] { form->SetModalResult(mrYes); });
    EXPECT_EQ(form->ShowModal(), mrYes);
    EXPECT_EQ(end.Runs, 1);
}

TEST_F(BaseForm, BroadcastHandlersTakeTheirCodeAndSayWhetherTheBaseHandlingFollows) {
    TAutoFree<TFormBaseProbe> form(NewForm<TFormBaseProbe>(Application));
    std::vector<std::string> heard;
    auto hear = [&](const char* who) {
        return [&heard, who](LPARAM lParam) { heard.push_back(who + std::to_string(lParam)); };
    };
    form->OnBroadcast(bmStatusUpdated, hear("old "));
    form->OnBroadcast(bmStatusUpdated, hear("status "));  // replaces the first
    form->OnBroadcast(bmShowPage, hear("page "), TBaseHandling::Run);
    SendMessageA(form->Handle(), BroadcastMsgId, bmStatusUpdated, 42);
    SendMessageA(form->Handle(), BroadcastMsgId, bmShowPage, spProfilePage);
    SendMessageA(form->Handle(), BroadcastMsgId, bmProfileApplied, 7);  // no handler
    EXPECT_EQ(heard,
              (std::vector<std::string>{"status 42", "page " + std::to_string(spProfilePage)}));

    // A close-dialogs handler that keeps the base handling out keeps the modal run going.
    heard.clear();
    form->OnBroadcast(bmCloseDialogs, hear("close "));
    OneShot post(20, [&] { PostCloseDialogs(form->Handle()); });
    OneShot end(80, [&] { form->SetModalResult(mrOk); });
    EXPECT_EQ(form->ShowModal(), mrOk);
    EXPECT_EQ(heard, std::vector<std::string>{"close 0"});

    // With the base handling the run ends with Cancel after the handler.
    heard.clear();
    form->OnBroadcast(bmCloseDialogs, hear("close "), TBaseHandling::Run);
    OneShot again(20, [&] { PostCloseDialogs(form->Handle()); });
    OneShot guard(3000, [&] { form->SetModalResult(99); });
    EXPECT_EQ(form->ShowModal(), mrCancel);
    EXPECT_EQ(heard, std::vector<std::string>{"close 0"});
}

TEST_F(BaseForm, BorderlessRecipe) {
    Application->SetTitle("Wavelorn Test");
    TAutoFree<TFormBaseProbe> form(NewForm<TFormBaseProbe>(Application));
    form->SetBorderStyle(bsSingle);  // a frame and a system menu to lose
    TPicture background;
    background.Bitmap()->SetSize(120, 80);
    MakeBorderless(form.get(), &background, 20);

    HWND hwnd = form->Handle();
    DWORD style = static_cast<DWORD>(GetWindowLongA(hwnd, GWL_STYLE));
    EXPECT_EQ(style & (WS_BORDER | WS_DLGFRAME | WS_SYSMENU | WS_THICKFRAME), 0u);
    EXPECT_EQ(form->Caption(), "Wavelorn Test");
    EXPECT_EQ(form->ClientWidth(), 120);
    EXPECT_EQ(form->ClientHeight(), 80);

    HRGN region = CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(GetWindowRgn(hwnd, region), ERROR);
    RECT box;
    GetRgnBox(region, &box);
    EXPECT_EQ(box.left, 0);
    EXPECT_EQ(box.top, 0);
    // the system leaves the last row and column out of a rounded region, or not
    EXPECT_GE(box.right, 119);
    EXPECT_LE(box.right, 120);
    EXPECT_GE(box.bottom, 79);
    EXPECT_LE(box.bottom, 80);
    RECT window;
    GetWindowRect(hwnd, &window);
    EXPECT_EQ(window.right - window.left, 120);  // no frame left around the picture
    EXPECT_FALSE(PtInRegion(region, 1, 1));      // the corners are round
    EXPECT_FALSE(PtInRegion(region, 118, 78));
    EXPECT_TRUE(PtInRegion(region, 10, 40));
    EXPECT_TRUE(PtInRegion(region, 60, 1));
    DeleteObject(region);

    // Without a background the window keeps its size.
    TAutoFree<TFormBaseProbe> kept(NewForm<TFormBaseProbe>(Application));
    MakeBorderless(kept.get(), nullptr, 25);
    EXPECT_EQ(kept->ClientWidth(), 268);
    EXPECT_EQ(kept->ClientHeight(), 197);
}

TEST_F(BaseForm, DragByBackgroundOnlyWithTheLeftButton) {
    TAutoFree<TFormBaseProbe> form(NewForm<TFormBaseProbe>(Application));
    form->catchDrags = true;
    form->Show();
    DragByBackground(form.get(), ssShift);
    EXPECT_TRUE(form->drags.empty());
    SetCapture(form->Handle());
    DragByBackground(form.get(), ssLeft | ssShift);
    ASSERT_EQ(form->drags.size(), 1u);
    EXPECT_EQ(form->drags[0], static_cast<WPARAM>(HTCAPTION));
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(BaseForm, ProgressDialogIsBorderlessAndFoundByClassAndTitle) {
    Application->SetTitle("Wavelorn Test");
    TAutoFree<TFormProgress> form(NewForm<TFormProgress>(Application));
    EXPECT_EQ(form->ClientWidth(), 296);
    EXPECT_EQ(form->ClientHeight(), 85);
    EXPECT_EQ(FindWindowA("TFormProgress", "Wavelorn Test"), form->Handle());
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(GetWindowRgn(form->Handle(), region), ERROR);
    EXPECT_FALSE(PtInRegion(region, 0, 0));
    EXPECT_TRUE(PtInRegion(region, 148, 0));
    // 15 x 15 corners: a point 4 pixels in on the diagonal is inside, unlike with 20 x 20
    EXPECT_TRUE(PtInRegion(region, 4, 4));
    DeleteObject(region);
}

// Pages

class TPageProbe : public TPropertyPageFrame {
public:
    using TPropertyPageFrame::TPropertyPageFrame;
};

TEST(PropertyPage, PrevPageFollowsForwardEntriesAndBackLeaves) {
    TPageProbe from(nullptr), page(nullptr), other(nullptr);
    EXPECT_EQ(page.PrevPage, nullptr);

    EXPECT_TRUE(page.EnterPage(&from, kPageForward, WizardModeFirstRun));
    EXPECT_EQ(page.PrevPage, &from);
    EXPECT_TRUE(page.EnterPage(&other, kPageJump, 0));
    EXPECT_TRUE(page.EnterPage(&other, kPageBack, 0));
    EXPECT_TRUE(page.EnterPage(nullptr, 3, 0));
    EXPECT_EQ(page.PrevPage, &from);

    EXPECT_TRUE(page.LeavePage(&other, kPageForward, 0));
    EXPECT_TRUE(page.LeavePage(&other, kPageJump, 0));
    EXPECT_EQ(page.PrevPage, &from);
    EXPECT_TRUE(page.LeavePage(&other, kPageBack, 0));
    EXPECT_EQ(page.PrevPage, nullptr);

    // A forward entry from nowhere remembers nowhere.
    page.PrevPage = &from;
    EXPECT_TRUE(page.EnterPage(nullptr, kPageForward, WizardModeNew));
    EXPECT_EQ(page.PrevPage, nullptr);

    // The rest do nothing by default.
    page.PrevPage = &from;
    page.InitPage();
    page.ResetPage();
    page.AdapterChanged(nullptr, acAttached, 0);
    page.AdapterEvent(nullptr, aeStatusUpdated, 0);
    page.ClosePage();
    EXPECT_EQ(page.PrevPage, &from);
    EXPECT_FALSE(page.Visible());
}

// The skin store

struct PictureSize {
    const char* Names;
    int Width, Height;
};

// Sizes as the windows expect them.
const PictureSize kStore[] = {
    {"ImgMainBG ImgProfSetBG ImgProfCongrats", 580, 436},
    {"ImgBtnCloseN ImgBtnCloseH", 27, 27},
    {"ImgTabInfoN ImgTabInfoH ImgTabSiteSurveyN ImgTabSiteSurveyH ImgProfileN ImgProfileH", 119,
     32},
    {"ImgAdapterA ImgAdapterD", 123, 268},
    {"ImgFrameBG", 447, 268},
    {"ImgSiteClient ImgProfClient ImgPlStatus ImgPlStatistics ImgInfoAnimate ImgInfoInfra1 "
     "ImgInfoInfra2 ImgInfoInfra3 ImgInfoAdHoc1 ImgInfoAdHoc2",
     447, 218},
    {"ImgInfoBottom", 447, 50},
    {"ImgBtnConnectN ImgBtnConnectH ImgBtnConnectD ImgBtnRefreshN ImgBtnRefreshH ImgBtnRefreshD",
     76, 21},
    {"ImgBtnNewN ImgBtnNewH ImgBtnEditN ImgBtnEditH ImgBtnExportN ImgBtnExportH ImgBtnImportN "
     "ImgBtnImportH ImgBtnDeleteN ImgBtnDeleteH ImgBtnExitN ImgBtnExitH ImgBtnBack2N "
     "ImgBtnBack2H ImgBtnNextN ImgBtnNextH ImgBtnSaveN ImgBtnSaveH",
     57, 20},
    {"ImgBtnBack1N ImgBtnBack1H ImgBtnStatusN ImgBtnStatusH ImgBtnToProfN ImgBtnToProfH "
     "ImgBtnStatisticsN ImgBtnStatisticsH ImgBtnMoreN ImgBtnMoreH",
     100, 24},
    {"ImgProfCaption1 ImgProfCaption2", 572, 54},
    {"ImgProfWlNetwork ImgProfNetwork ImgProfNetType ImgProfChannel ImgProfSecurityI "
     "ImgProfSecurityA ImgProfWEP ImgProfWPAPSK ImgProfWPATLS ImgProfWPAPEAP ImgProfWPATTLS "
     "ImgProfRadiusTLS ImgProfRadiusPEAP ImgProfRadiusTTLS ImgProfConfirm ImgCntWEP ImgCntPSK",
     572, 219},
    {"ImgBtnManualN ImgBtnManualH", 104, 20},
    {"ImgBtnConnectNetN ImgBtnConnectNetH ImgBtnToProfScrN ImgBtnToProfScrH", 93, 28},
    {"ImgBtnExitSetupN ImgBtnExitSetupH", 149, 20},
    {"ImgCntSetBG", 580, 409},
    {"ImgCntCaptionWEP ImgCntCaptionPSK", 572, 59},
    {"ImgBtnConnect2N ImgBtnConnect2H", 71, 33},
    {"ImgBtnCancelN ImgBtnCancelH", 63, 33},
    {"ImgProgress0 ImgProgress1 ImgProgress2 ImgProgress3 ImgProgress4", 296, 85},
    {"ImgLogo", 151, 48},
};

class SkinStore : public FormsTest {};

TEST_F(SkinStore, HoldsEveryPictureAtItsSize) {
    size_t expected = 0;
    for (const PictureSize& group : kStore) {
        std::string names = group.Names;
        size_t pos = 0;
        while (pos < names.size()) {
            size_t end = names.find(' ', pos);
            if (end == std::string::npos) end = names.size();
            std::string name = names.substr(pos, end - pos);
            pos = end + 1;
            ++expected;
            auto* image = dynamic_cast<TImage*>(FormRes->FindComponent(name));
            ASSERT_NE(image, nullptr) << name;
            EXPECT_EQ(image->Picture()->Width(), group.Width) << name;
            EXPECT_EQ(image->Picture()->Height(), group.Height) << name;
        }
    }
    size_t images = 0;
    for (int i = 0; i < FormRes->ComponentCount(); ++i)
        images += dynamic_cast<TImage*>(FormRes->Components(i)) != nullptr;
    EXPECT_EQ(images, expected);
    EXPECT_EQ(expected, 99u);
    // The members are the named pictures.
    EXPECT_EQ(FormRes->ImgMainBG, FormRes->FindComponent("ImgMainBG"));
    EXPECT_EQ(FormRes->ImgProgress4, FormRes->FindComponent("ImgProgress4"));
    EXPECT_EQ(FormRes->ImgBtnConnectD, FormRes->FindComponent("ImgBtnConnectD"));
    EXPECT_FALSE(FormRes->Visible());
}

TEST_F(SkinStore, ImageListsAreMaskedStrips) {
    struct {
        TImageList* list;
        const char* name;
        int count, width, height;
    } lists[] = {
        {FormRes->imgListTrayIcon, "imgListTrayIcon", 10, 50, 50},
        {FormRes->ImageListSiteIcon, "ImageListSiteIcon", 13, 16, 16},
        {FormRes->imgListMeter, "imgListMeter", 11, 83, 14},
    };
    for (const auto& l : lists) {
        ASSERT_NE(l.list, nullptr) << l.name;
        EXPECT_EQ(FormRes->FindComponent(l.name), l.list);
        EXPECT_EQ(l.list->Count(), l.count) << l.name;
        EXPECT_EQ(l.list->Width(), l.width) << l.name;
        EXPECT_EQ(l.list->Height(), l.height) << l.name;
        IMAGEINFO info = {};
        ASSERT_TRUE(ImageList_GetImageInfo(l.list->Handle(), 0, &info)) << l.name;
        EXPECT_NE(info.hbmMask, nullptr) << l.name << " has no transparency";
    }
    EXPECT_EQ(FormRes->imgListMeter->AllocBy(), 15);
}

TEST_F(SkinStore, AListLoadedOnDemandIsFilledAtItsFirstUse) {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    // Counted first: the strip's images, masked.
    TImageList counted(nullptr);
    counted.SetSize(83, 14);
    counted.LoadOnDemand(instance, "imgListMeter", clFuchsia);
    EXPECT_EQ(counted.Count(), 11);
    IMAGEINFO info = {};
    ASSERT_TRUE(ImageList_GetImageInfo(counted.Handle(), 10, &info));
    EXPECT_NE(info.hbmMask, nullptr);
    EXPECT_EQ(counted.Count(), 11);  // loaded once
    // An image added first goes after the strip.
    TBitmap extra;
    extra.SetSize(83, 14);
    TImageList added(nullptr);
    added.SetSize(83, 14);
    added.LoadOnDemand(instance, "imgListMeter", clFuchsia);
    EXPECT_EQ(added.AddMasked(&extra, clFuchsia), 11);
    EXPECT_EQ(added.Count(), 12);
    // Drawn or asked for an icon first: the strip's images are there.
    TImageList drawn(nullptr);
    drawn.SetSize(50, 50);
    drawn.LoadOnDemand(instance, "imgListTrayIcon", clFuchsia);
    HICON icon = drawn.GetIcon(9);
    EXPECT_NE(icon, nullptr);
    DestroyIcon(icon);
    // A new size or a clear before the first use drops the strip, as it would drop its images.
    TImageList resized(nullptr);
    resized.LoadOnDemand(instance, "imgListMeter", clFuchsia);
    resized.SetSize(83, 14);
    EXPECT_EQ(resized.Count(), 0);
    TImageList cleared(nullptr);
    cleared.SetSize(83, 14);
    cleared.LoadOnDemand(instance, "imgListMeter", clFuchsia);
    cleared.Clear();
    EXPECT_EQ(cleared.Count(), 0);
}

// Combo box helpers

TEST(ComboHelpers, SelectByValue) {
    CFAGlobalVar settings;
    TComboBox combo(nullptr);
    EXPECT_FALSE(SelectComboByValue(settings, &combo, 0));
    EXPECT_EQ(combo.ItemIndex(), -1);

    combo.Items()->AddValue("64 bit", 5);
    combo.Items()->AddValue("128 bit", 13);
    combo.Items()->AddValue("also 128", 13);
    combo.Items()->AddValue("none", 0);
    EXPECT_TRUE(SelectComboByValue(settings, &combo, 13));
    EXPECT_EQ(combo.ItemIndex(), 1);  // the first of two
    EXPECT_TRUE(SelectComboByValue(settings, &combo, 0));
    EXPECT_EQ(combo.ItemIndex(), 3);
    EXPECT_FALSE(SelectComboByValue(settings, &combo, 7));
    EXPECT_EQ(combo.ItemIndex(), 3);  // left as it was
    EXPECT_TRUE(SelectComboByValue(settings, &combo, 5));
    EXPECT_EQ(combo.ItemIndex(), 0);
}

TEST(ComboHelpers, SelectByCertificateNames) {
    CFAGlobalVar settings;
    CertificateEntry lower, office, other, full;
    SetTextField(lower.Name, "alice");
    SetTextField(lower.Issuer, "Office CA");
    SetTextField(office.Name, "Alice");
    SetTextField(office.Issuer, "Office CA");
    SetTextField(other.Name, "Alice");
    SetTextField(other.Issuer, "Home CA");
    // a name filling its whole field, without its NUL
    std::memset(full.Name, 'n', sizeof(full.Name));
    SetTextField(full.Issuer, "Root");

    TComboBox combo(nullptr);
    EXPECT_FALSE(SelectComboByNames(settings, &combo, "Alice", "Office CA"));
    combo.Items()->AddObject("(none)", nullptr);
    combo.Items()->AddObject("alice", &lower);
    combo.Items()->AddObject("Alice (home)", &other);
    combo.Items()->AddObject("Alice (office)", &office);
    combo.Items()->AddObject("long", &full);

    combo.SetItemIndex(0);
    EXPECT_FALSE(SelectComboByNames(settings, &combo, "", ""));  // the empty item has no entry
    EXPECT_EQ(combo.ItemIndex(), 0);
    EXPECT_TRUE(SelectComboByNames(settings, &combo, "Alice", "Office CA"));
    EXPECT_EQ(combo.ItemIndex(), 3);
    EXPECT_TRUE(SelectComboByNames(settings, &combo, "alice", "Office CA"));
    EXPECT_EQ(combo.ItemIndex(), 1);
    EXPECT_FALSE(SelectComboByNames(settings, &combo, "ALICE", "Office CA"));
    EXPECT_FALSE(SelectComboByNames(settings, &combo, "Alice", "office ca"));
    EXPECT_FALSE(SelectComboByNames(settings, &combo, "Alice", "Office"));
    EXPECT_EQ(combo.ItemIndex(), 1);
    EXPECT_TRUE(SelectComboByNames(settings, &combo, std::string(256, 'n'), "Root"));
    EXPECT_EQ(combo.ItemIndex(), 4);
}

}  // namespace
}  // namespace formstest
