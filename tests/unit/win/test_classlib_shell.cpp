// Components without a window of their own on screen: timers, the tray icon,
// the pop-up menu and the file dialogs.
#include <gtest/gtest.h>
#include <windows.h>
// The dialog messages need the base types first.
#include <commdlg.h>

#include <functional>
#include <string>
#include <vector>

#include "GuiTestUtil.h"
#include "TempDir.h"
#include "classlib/Application.h"
#include "classlib/Dialogs.h"
#include "classlib/ExtCtrls.h"
#include "classlib/ImgList.h"
#include "classlib/Menus.h"
#include "classlib/TrayIcon.h"

namespace {

using guitest::PumpUntil;

class ClasslibShell : public ::testing::Test {
protected:
    void SetUp() override {
        Application->Initialize();
        owner = new TComponent(nullptr);
        Application->OnException = [this](TObject*, const Exception& e) {
            errors.push_back(e.Message);
        };
    }
    void TearDown() override {
        owner->Free();
        Application->OnException = nullptr;
        EXPECT_TRUE(errors.empty()) << errors.front();
    }
    // Runs f from a timer tick once the modal loop under test runs.
    TTimer* SoonDo(std::function<bool()> f) {
        auto* timer = new TTimer(owner);
        timer->SetInterval(20);
        timer->OnTimer = [timer, f](TObject*) {
            if (f()) timer->SetEnabled(false);
        };
        return timer;
    }

    TComponent* owner = nullptr;
    std::vector<std::string> errors;
};

}  // namespace

TEST_F(ClasslibShell, TimerTicksUntilDisabledAndRestartsOnANewInterval) {
    auto* timer = new TTimer(owner);
    int ticks = 0;
    timer->SetInterval(5);
    timer->OnTimer = [&](TObject* sender) {
        EXPECT_EQ(sender, timer);
        ++ticks;
    };
    ASSERT_TRUE(PumpUntil([&] { return ticks >= 3; }));
    timer->SetEnabled(false);
    int stopped = ticks;
    // A second, slower timer measures the quiet time.
    auto* clock = new TTimer(owner);
    clock->SetInterval(60);
    bool rang = false;
    clock->OnTimer = [&](TObject*) { rang = true; };
    ASSERT_TRUE(PumpUntil([&] { return rang; }));
    EXPECT_EQ(ticks, stopped);
    timer->SetInterval(5);  // a new interval while stopped does not start it
    rang = false;
    ASSERT_TRUE(PumpUntil([&] { return rang; }));
    EXPECT_EQ(ticks, stopped);
    timer->SetEnabled(true);
    EXPECT_TRUE(PumpUntil([&] { return ticks > stopped; }));
    timer->Free();  // freed while running: no tick reaches it afterwards
    rang = false;
    ASSERT_TRUE(PumpUntil([&] { return rang; }));
}

TEST_F(ClasslibShell, TrayIconShowsUpdatesAndReportsTheMouse) {
    if (!FindWindowA("Shell_TrayWnd", nullptr)) GTEST_SKIP() << "no notification area here";
    TBitmap strip;
    strip.SetSize(50 * 3, 50);
    auto* icons = new TImageList(owner);
    icons->SetSize(50, 50);
    icons->Add(&strip);
    auto* tray = new TTrayIcon(owner);
    tray->SetIcons(icons);
    tray->SetHint("Wavelorn");
    tray->SetVisible(true);
    EXPECT_TRUE(tray->Shown());
    tray->SetIconIndex(2);
    tray->SetHint("PRV300K\nSignal: Good (45%)\nQuality: Good (40%)");
    EXPECT_TRUE(tray->Shown());
    tray->SetHint(std::string(300, 'x'));
    EXPECT_EQ(tray->Hint().size(), 127u);
    EXPECT_TRUE(tray->Shown());

    std::vector<std::string> log;
    tray->OnMouseDown = [&](TObject*, TMouseButton button, TShiftState shift, int, int) {
        log.push_back("down " + std::to_string(button) + ((shift & ssRight) ? " right" : ""));
    };
    tray->OnMouseUp = [&](TObject*, TMouseButton button, TShiftState, int, int) {
        log.push_back("up " + std::to_string(button));
    };
    tray->OnClick = [&](TObject*) { log.push_back("click"); };
    tray->OnDblClick = [&](TObject*) { log.push_back("double"); };
    HWND hwnd = tray->Handle();
    SendMessageA(hwnd, TTrayIcon::CallbackMessage, 1, WM_RBUTTONDOWN);
    SendMessageA(hwnd, TTrayIcon::CallbackMessage, 1, WM_RBUTTONUP);
    SendMessageA(hwnd, TTrayIcon::CallbackMessage, 1, WM_LBUTTONUP);
    SendMessageA(hwnd, TTrayIcon::CallbackMessage, 1, WM_LBUTTONDBLCLK);
    EXPECT_EQ(log, (std::vector<std::string>{"down 1 right", "up 1", "up 0", "click", "double"}));

    // Added again when the taskbar starts anew.
    SendMessageA(hwnd, RegisterWindowMessageA("TaskbarCreated"), 0, 0);
    EXPECT_TRUE(tray->Shown());
    tray->SetVisible(false);
    EXPECT_FALSE(tray->Shown());
}

namespace {

// What the notification area was told: action, tip and whether an icon came along.
struct ShellCall {
    DWORD Action;
    std::string Tip;
    HICON Icon;
};
std::vector<ShellCall> shellCalls;

BOOL WINAPI RecordShellNotify(DWORD action, NOTIFYICONDATAA* data) {
    shellCalls.push_back({action, data->szTip, (data->uFlags & NIF_ICON) ? data->hIcon : nullptr});
    return TRUE;
}

}  // namespace

TEST_F(ClasslibShell, TrayIconTellsTheNotificationAreaOnlyOfChanges) {
    TBitmap strip;
    strip.SetSize(16 * 3, 16);
    auto* icons = new TImageList(owner);
    icons->SetSize(16, 16);
    icons->Add(&strip);
    struct Seam {
        TTrayIcon::ShellNotifyFunction shell = TTrayIcon::ShellNotify;
        Seam() { TTrayIcon::ShellNotify = RecordShellNotify; }
        ~Seam() { TTrayIcon::ShellNotify = shell; }
    } seam;
    shellCalls.clear();
    auto* tray = new TTrayIcon(owner);
    tray->SetIcons(icons);
    EXPECT_TRUE(tray->SetHint("Wavelorn"));
    EXPECT_TRUE(shellCalls.empty());  // nothing shown yet
    tray->SetVisible(true);
    ASSERT_EQ(shellCalls.size(), 1u);
    EXPECT_EQ(shellCalls[0].Action, static_cast<DWORD>(NIM_ADD));
    HICON first = shellCalls[0].Icon;
    EXPECT_NE(first, nullptr);

    // A poll that finds the same state: nothing to redraw.
    EXPECT_FALSE(tray->SetHint("Wavelorn"));
    tray->SetIconIndex(0);
    EXPECT_EQ(shellCalls.size(), 1u);
    // A tip that differs only beyond what the area holds is the same tip.
    std::string longTip(200, 'x');
    EXPECT_TRUE(tray->SetHint(longTip));
    EXPECT_FALSE(tray->SetHint(longTip + "y"));
    ASSERT_EQ(shellCalls.size(), 2u);
    EXPECT_EQ(shellCalls[1].Action, static_cast<DWORD>(NIM_MODIFY));
    EXPECT_EQ(shellCalls[1].Tip, std::string(127, 'x'));

    tray->SetIconIndex(2);
    ASSERT_EQ(shellCalls.size(), 3u);
    EXPECT_EQ(shellCalls[2].Action, static_cast<DWORD>(NIM_MODIFY));
    EXPECT_NE(shellCalls[2].Icon, nullptr);
    tray->SetIconIndex(2);
    EXPECT_EQ(shellCalls.size(), 3u);

    // A new taskbar gets the icon again although nothing changed.
    SendMessageA(tray->Handle(), RegisterWindowMessageA("TaskbarCreated"), 0, 0);
    ASSERT_EQ(shellCalls.size(), 4u);
    EXPECT_EQ(shellCalls[3].Action, static_cast<DWORD>(NIM_ADD));
    tray->Free();
    EXPECT_EQ(shellCalls.back().Action, static_cast<DWORD>(NIM_DELETE));
}

TEST_F(ClasslibShell, PopupMenuShowsVisibleItemsAndRunsTheChosenOne) {
    auto* menu = new TPopupMenu(owner);
    std::vector<std::string> clicked;
    auto add = [&](const char* caption, bool visible, bool enabled) {
        auto* item = new TMenuItem(owner);
        item->Caption = caption;
        item->Visible = visible;
        item->Enabled = enabled;
        item->OnClick = [&clicked, caption](TObject*) { clicked.push_back(caption); };
        menu->Add(item);
        return item;
    };
    add("&About", true, true);
    add("&Use Windows XP Wireless Configuration", false, true);
    add("-", true, true);
    add("&Disable Utility", true, false);
    TMenuItem* close = add("&Close Utility", true, true);
    int count = -1;
    UINT disabledState = 0;
    SoonDo([&] {
        HWND window = FindWindowA("#32768", nullptr);
        if (!window || !menu->Handle()) return false;
        HMENU shown = menu->Handle();
        count = GetMenuItemCount(shown);
        disabledState = GetMenuState(shown, 2, MF_BYPOSITION);
        PostMessageA(window, WM_CHAR, 'c', 0);  // the mnemonic of "Close Utility"
        return true;
    });
    menu->Popup(100, 100);
    EXPECT_EQ(count, 4);  // the hidden item is left out
    EXPECT_TRUE(disabledState & MF_GRAYED);
    EXPECT_EQ(clicked, std::vector<std::string>{"&Close Utility"});
    EXPECT_EQ(menu->Handle(), nullptr);

    // An item freed with its owner leaves the menu.
    close->Free();
    EXPECT_EQ(menu->Count(), 4);
}

TEST_F(ClasslibShell, OpenDialogEndedFromOutsideAnswersFalse) {
    auto* dialog = new TOpenDialog(owner);
    dialog->Title = "Wavelorn Message";
    dialog->FileName = "*.qjw";
    dialog->Filter = "Wireless Profile (*.qjw)|*.qjw";
    dialog->Options = ofAllowMultiSelect | ofPathMustExist | ofFileMustExist | ofHideReadOnly;
    HWND parent = nullptr;
    char title[64] = {};
    SoonDo([&] {
        HWND handle = dialog->Handle();
        if (!handle) return false;
        parent = GetParent(handle);
        GetWindowTextA(parent, title, sizeof(title));
        EndDialog(parent, 2);  // as the main window ends it on the close-dialogs code
        return true;
    });
    EXPECT_FALSE(dialog->Execute());
    EXPECT_NE(parent, nullptr);
    EXPECT_STREQ(title, "Wavelorn Message");
    EXPECT_EQ(dialog->Handle(), nullptr);
    EXPECT_EQ(dialog->Files()->Count(), 0);
}

TEST_F(ClasslibShell, SaveDialogAddsTheDefaultExtension) {
    TempDir dir;
    auto* dialog = new TSaveDialog(owner);
    dialog->DefaultExt = ".qjw";
    dialog->Filter = "Wireless Profile (*.qjw)|*.qjw";
    dialog->Options = ofOverwritePrompt | ofPathMustExist | ofHideReadOnly;
    std::string typed = dir.File("Office");
    SoonDo([&] {
        HWND handle = dialog->Handle();
        if (!handle) return false;
        HWND box = GetParent(handle);
        // The file name field is an edit or a combo box, by the dialog's age.
        for (int id : {0x47c, 0x480}) SetDlgItemTextA(box, id, typed.c_str());
        PostMessageA(box, WM_COMMAND, IDOK, 0);
        return true;
    });
    ASSERT_TRUE(dialog->Execute());
    EXPECT_EQ(dialog->FileName, typed + ".qjw");
    ASSERT_EQ(dialog->Files()->Count(), 1);
    EXPECT_EQ(dialog->Files()->Strings(0), typed + ".qjw");
}

TEST_F(ClasslibShell, OpenDialogListsEveryChosenFile) {
    TempDir dir;
    TempDir::WriteFile(dir.File("a.qjw"), "[WLANProfile]\r\n");
    TempDir::WriteFile(dir.File("b.qjw"), "[WLANProfile]\r\n");
    auto* dialog = new TOpenDialog(owner);
    dialog->Filter = "Wireless Profile (*.qjw)|*.qjw";
    dialog->Options = ofAllowMultiSelect | ofPathMustExist | ofFileMustExist | ofHideReadOnly;
    std::string folder = dir.Path();
    SoonDo([&] {
        HWND handle = dialog->Handle();
        if (!handle) return false;
        HWND box = GetParent(handle);
        SendMessageA(box, CDM_SETCONTROLTEXT, 0x47c,
                     reinterpret_cast<LPARAM>("\"a.qjw\" \"b.qjw\""));
        SendMessageA(box, CDM_SETCONTROLTEXT, 0x480,
                     reinterpret_cast<LPARAM>("\"a.qjw\" \"b.qjw\""));
        PostMessageA(box, WM_COMMAND, IDOK, 0);
        return true;
    });
    dialog->FileName = folder + "\\*.qjw";
    ASSERT_TRUE(dialog->Execute());
    ASSERT_EQ(dialog->Files()->Count(), 2);
    EXPECT_EQ(dialog->Files()->Strings(0), folder + "\\a.qjw");
    EXPECT_EQ(dialog->Files()->Strings(1), folder + "\\b.qjw");
    EXPECT_EQ(dialog->FileName, folder + "\\a.qjw");
}
