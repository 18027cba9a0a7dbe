// The monitor's main function: the "/Service" run, the second instance that
// wakes the first, and the window instance.
#include <windows.h>

#include "../classlib/Application.h"
#include "../classlib/Handles.h"
#include "../monitor/Uformabout.h"
#include "../monitor/Uformaskinfo.h"
#include "../monitor/Uformmain.h"
#include "../monitor/Uformres.h"
#include "../monitor/Uframeinfo.h"
#include "../monitor/Uframeprofile.h"
#include "../monitor/Uframesitesurvey.h"
#include "../wizard/Uformconnectset.h"
#include "../wizard/Uformprofset.h"
#include "Udebug.h"
#include "Udefine.h"
#include "Umessages.h"
#include "Uprofile.h"
#include "Uvyxwllib.h"

// True when the driver library finds one of the adapters of [Product].
static bool IsAdapterPresent() {
    DeviceEntry entries[16];
    int32_t count = ReadHwidList(FAGlobalVar, entries, 16);
    if (count <= 0) {
        entries[0] = DeviceEntry{};
        count = 1;
    }
    for (int32_t i = 0; i < count; ++i)
        if (DriverLib.VYXWL_DevDetect(&entries[i]) == 1) return true;
    return false;
}

// A window instance holds the instance mutex. Only look for it: creating it
// here, even for a moment, would make a window instance starting at the same
// time take itself for a second instance and end.
static bool WindowInstanceRuns() {
    TKernelHandle h(OpenMutexA(SYNCHRONIZE, FALSE, FAGlobalVar.MutexName.c_str()));
    if (h) return true;
    return GetLastError() == ERROR_ACCESS_DENIED;
}

// Applies the last applied profile once and ends; no other thread runs, so
// the library lock is not taken.
static void RunServiceLogin() {
    if (WindowInstanceRuns()) {
        DebugTrace("ONE_INSTANCE_MUTEX_NAME exists");
        return;
    }
    TMutex login(FAGlobalVar.LoginMutexName);
    if (login.Existed()) {
        DebugTrace("ONE_LOGIN_MUTEX_NAME exists");
        return;
    }
    if (login) login.Wait();

    if (IsAdapterPresent()) {
        WLProfile profile = FAGlobalVar.DefaultProfile;
        if (LoadProfile(FAGlobalVar, profile, "LastApplyProf")) {
            DebugTrace("Succ: read last apply profile");
        } else {
            DebugTrace("Fail: read last apply profile");
            profile = FAGlobalVar.DefaultProfile;
            SetTextField(profile.Ssid1, "");
        }
        WLStatus status{};
        DriverLib.VYXWL_WLProfileToWLStatus(&profile, &status);
        int32_t flag = 0;
        if (DriverLib.VYXWL_SetWLANStatus(&flag, &status) == 1) {
            Sleep(3000);  // let the link come up before the login goes on
            DebugTrace("Succ: connect");
        } else {
            DebugTrace("Fail: connect");
        }
    }
    login.Unlock();
    DebugTrace("login instance end");
}

// Waits until no "/Service" run holds the login mutex.
static bool WaitLoginInstanceEnd() {
    const AnsiString& name = FAGlobalVar.LoginMutexName;
    {
        TMutex login(name);
        if (login) {
            DebugTrace("waiting login instance end");
            if (login.Wait() == WAIT_OBJECT_0) {
                DebugTrace("Succ: wait login instance end");
            } else {
                DebugTrace("Fail: wait login instance end");
            }
            return true;
        }
        DebugPrintError(login.CreateError(), "Fail: CreateMutex");
        if (login.CreateError() != ERROR_ACCESS_DENIED) return true;
    }
    // held by a "/Service" run of another security context
    DebugTrace("sleep wait login instance end");
    do {
        Sleep(1000);
    } while (!TMutex(name));
    DebugTrace("Succ: sleep wait login instance end");
    return true;
}

static int RunMonitor() {
    if (!FAGlobalVar.InitGlobals(Application->ExeName())) return 0;

    int32_t start = 0;
    for (int i = 1; i < __argc; ++i) {
        DebugTrace("Param(%d) %s", i, __argv[i]);
        if (AnsiCompareText(__argv[i], "/Service") == 0) {
            RunServiceLogin();
            return 0;
        }
        if (AnsiCompareText(__argv[i], "/SetupDefault") == 0) start = WizardModeFirstRun;
    }

    WaitLoginInstanceEnd();

    // Held for the whole run: other starts of the program find it.
    TMutex instance(FAGlobalVar.MutexName);
    if (instance.Existed()) {
        SendMessageA(HWND_BROADCAST, BroadcastMsgId, bmOpenUtility, 0);
        return 0;
    }

    Application->Initialize();
    Application->SetTitle(FAGlobalVar.AppTitle);
    // The skin store first: the windows take their pictures from it as they are made.
    FormRes = NewForm<TFormRes>(Application);
    MainPageFactory = [](TComponent* owner, TMainPageKind kind) -> TPropertyPageFrame* {
        switch (kind) {
            case TMainPageKind::Info:
                return new TFrameInfo(owner);
            case TMainPageKind::Profile:
                return new TFrameProfile(owner);
            case TMainPageKind::SiteSurvey:
                return new TFrameSiteSurvey(owner);
        }
        return nullptr;
    };
    Application->CreateForm(FormMain);
    Application->CreateForm(FormAbout);
    Application->CreateForm(FormProfSet);
    Application->CreateForm(FormAskInfo);
    Application->CreateForm(FormConnectSet);
    FormMain->ProfileWizardForm = FormProfSet;
    FormMain->ConnectSetForm = FormConnectSet;
    FormMain->PrepareForm(start);
    Application->ShowMainForm = false;
    Application->Run();

    // The windows go, the last made first and the skin store last, while the driver library is
    // still loaded: the main window stops its threads as it goes.
    Application->DestroyComponents();
    FormConnectSet = nullptr;
    FormAskInfo = nullptr;
    FormProfSet = nullptr;
    FormAbout = nullptr;
    FormMain = nullptr;
    FormRes = nullptr;
    return 0;
}

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    try {
        return RunMonitor();
    } catch (const Exception& e) {
        Application->ShowException(e);
    } catch (...) {
        Application->ShowException(Exception(""));
    }
    return 0;
}
