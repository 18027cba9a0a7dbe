// What the tests of the monitor's base form, dialogs and skin store share: the
// application, the skin store (made once per program), a string file in memory
// and the registered broadcast message, and a message pump with a time limit.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "GuiTestUtil.h"
#include "classlib/Application.h"
#include "classlib/ExtCtrls.h"
#include "core/Udefine.h"
#include "monitor/Uformbase.h"
#include "monitor/Uformres.h"
#include "portable/FakeIniFile.h"

namespace formstest {

using guitest::PumpUntil;

inline void PostCloseDialogs(HWND window) {
    PostMessageA(window, BroadcastMsgId, bmCloseDialogs, 0);
}

// Runs body once on the thread's timer after delayMs, inside whatever modal run
// is going on then.
class OneShot {
public:
    OneShot(UINT delayMs, std::function<void()> body) : timer_(new TTimer(nullptr)) {
        timer_->SetInterval(delayMs);
        timer_->OnTimer = [this, body](TObject*) {
            timer_->SetEnabled(false);
            ++Runs;
            body();
        };
    }
    ~OneShot() { timer_->Free(); }
    OneShot(const OneShot&) = delete;
    OneShot& operator=(const OneShot&) = delete;
    int Runs = 0;

private:
    TTimer* timer_;
};

class FormsTest : public ::testing::Test {
protected:
    void SetUp() override {
        Application->Initialize();
        Application->OnException = [this](TObject*, const Exception& e) {
            errors_.push_back(e.Message);
        };
        if (BroadcastMsgId == 0) BroadcastMsgId = RegisterWindowMessageA("Velmora_BroadcastMsg");
        FAGlobalVar.MsgTitle = "Wavelorn Message";
        strings_ = new FakeIniFile("Wavelorn.ini");
        FAGlobalVar.StringIni.reset(strings_);
        if (!FormRes) FormRes = NewForm<TFormRes>(Application);
    }
    void TearDown() override {
        FAGlobalVar.StringIni.reset();
        Application->OnException = nullptr;
        EXPECT_TRUE(errors_.empty()) << errors_.front();
    }

    // A text of the string file.
    void SetText(const char* section, const char* key, const char* text) {
        strings_->WriteString(section, key, text);
    }

    FakeIniFile* strings_ = nullptr;
    std::vector<std::string> errors_;
};

}  // namespace formstest
