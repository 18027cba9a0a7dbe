// The window tests' own mouse and keys (MonitorE2e.h, through tests/tools/xtestd) against a
// window of this program that a thread of its own runs, as a program runs its window: what a
// helper's answer tells of the click it made.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>
#include <thread>

#include "MonitorE2e.h"

namespace {

using namespace e2e;

const char kText[] = "clicked into";

// A shown window whose edit has the keys, run by a thread of its own.
class Input : public ::testing::Test {
protected:
    void SetUp() override {
        ready_ = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        runner_ = std::thread([this] { Run(); });
        ASSERT_EQ(WaitForSingleObject(ready_, kTimeoutMs), WAIT_OBJECT_0);
        ASSERT_TRUE(edit_ != nullptr);
        ASSERT_TRUE(TakesKeys(edit_)) << InputTargets(window_, {0, 0});
    }
    void TearDown() override {
        PostThreadMessageA(runnerId_, WM_QUIT, 0, 0);
        runner_.join();
        CloseHandle(ready_);
    }

    // A point of the edit, in its window's client area.
    POINT InEdit(int x) const {
        RECT r;
        GetClientRect(edit_, &r);
        POINT p = {x, r.bottom / 2};
        MapWindowPoints(edit_, window_, &p, 1);
        return p;
    }
    DWORD Caret() const {
        DWORD from = 0;
        SendMessageA(edit_, EM_GETSEL, reinterpret_cast<WPARAM>(&from), 0);
        return from;
    }

    HWND window_ = nullptr;
    HWND edit_ = nullptr;

private:
    void Run() {
        runnerId_ = GetCurrentThreadId();
        static const ATOM kind = [] {
            WNDCLASSA c = {};
            c.lpfnWndProc = DefWindowProcA;
            c.hInstance = GetModuleHandleA(nullptr);
            c.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
            c.lpszClassName = "InputTestWindow";
            return RegisterClassA(&c);
        }();
        window_ = CreateWindowExA(0, MAKEINTATOM(kind), "input", WS_POPUP | WS_BORDER | WS_VISIBLE,
                                  200, 200, 320, 60, nullptr, nullptr, nullptr, nullptr);
        edit_ = CreateWindowExA(0, "EDIT", kText, WS_CHILD | WS_VISIBLE | WS_BORDER, 10, 10, 280,
                                24, window_, nullptr, nullptr, nullptr);
        SetForegroundWindow(window_);
        SetFocus(edit_);
        SetEvent(ready_);
        MSG msg;
        while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        DestroyWindow(window_);
    }

    HANDLE ready_ = nullptr;
    std::thread runner_;
    DWORD runnerId_ = 0;
};

// The edit had the keys before each click: only the click itself tells that ClickInto may
// return, and the caret where the click put it shows at once that the program has taken it.
TEST_F(Input, ClickIntoReturnsOnceTheControlHasTakenTheClick) {
    SendMessageA(edit_, EM_SETSEL, 0, 0);
    ASSERT_TRUE(ClickInto(window_, InEdit(270)));
    EXPECT_EQ(Caret(), std::strlen(kText));
    ASSERT_TRUE(ClickInto(window_, InEdit(2)));
    EXPECT_EQ(Caret(), 0u);
}

// A click the input server could not make: the step fails at once and says why, and the
// screenshot it leaves is named after this program and this test.
TEST_F(Input, ALostClickSaysWhyAndLeavesAScreenshotOfItsOwn) {
    char shots[MAX_PATH] = {}, server[MAX_PATH] = {};
    ASSERT_TRUE(GetEnvironmentVariableA("WL_SCREENSHOT_DIR", shots, sizeof(shots)));
    ASSERT_TRUE(GetEnvironmentVariableA("WL_XTESTD_FILE", server, sizeof(server)));
    SetEnvironmentVariableA("WL_XTESTD_FILE", "Z:\\no\\input\\server");
    ::testing::AssertionResult clicked = ClickThen(window_, InEdit(2), [] { return false; });
    SetEnvironmentVariableA("WL_XTESTD_FILE", server);
    EXPECT_FALSE(clicked);
    EXPECT_NE(std::string(clicked.message()).find("no input server"), std::string::npos)
        << clicked.message();
    const std::string shot = std::string(shots) +
                             "\\e2e_input.Input.ALostClickSaysWhyAndLeavesAScreenshotOfItsOwn."
                             "failed_click.bmp";
    EXPECT_TRUE(DeleteFileA(shot.c_str())) << shot;  // nothing went wrong after all
}

}  // namespace
