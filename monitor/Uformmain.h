// The main window: it lives in the notification area. Its tray icon shows whether an adapter is
// attached, whether the program controls it and how strong the signal is; its tray menu opens
// the window, switches the program's control of the adapter and the system's zero-configuration
// service, and ends the program. The window itself is borderless and skinned, with three tabs
// over three pages. It receives every broadcast code of the program and the system's power and
// device-change messages, attaches the adapter that device detection reports and connects
// automatically.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <vector>

#include "../classlib/Dialogs.h"
#include "../classlib/ExtCtrls.h"
#include "../classlib/Menus.h"
#include "../classlib/TrayIcon.h"
#include "../core/Uadapter.h"
#include "../core/Udevicerecord.h"
#include "../core/Uthreaddevdetect.h"
#include "Propertypageframeunit.h"
#include "Qximage.h"
#include "Trifacebtn.h"
#include "Uformbase.h"
#include "Umainlogic.h"
#include "Upagehost.h"

// The main window's pages, in the order of its layout.
enum class TMainPageKind { SiteSurvey, Profile, Info };

// Makes one page of the main window; owner is the window, which places and parents the page.
// The program sets it before the main window is made. No factory, or a null page, gives a blank
// page showing the skin's page background.
using TMainPageFactory = std::function<TPropertyPageFrame*(TComponent* owner, TMainPageKind kind)>;
extern TMainPageFactory MainPageFactory;

// What the main window asks of its profile page beyond the page operations. The profile page
// implements it; without it the first-run wizard is only logged and counts as cancelled.
class IMainProfilePage {
public:
    virtual ~IMainProfilePage() = default;
    // Runs the profile wizard modally in mode; true when it ended with result 1.
    virtual bool RunProfileWizard(int mode) = 0;
    // Stores EditProfile (bmProfileSaved): WizardModeEdit replaces the edited
    // profile, any other lParam adds it. True when the store took it; the main window answers
    // the code with 1 then, else 0.
    virtual bool OnProfileStored(LPARAM lParam) = 0;
    // The page's file dialogs (OpenDlgProf, SaveDlgProf), ended by the close-dialogs code while
    // they run.
    virtual TOpenDialog* ProfileOpenDialog() = 0;
    virtual TOpenDialog* ProfileSaveDialog() = 0;
};

// What the profile page hands the profile wizard window (the window behind ProfileWizardForm):
// the adapter notifications it receives, for the wizard's pages.
class IProfileWizard {
public:
    virtual ~IProfileWizard() = default;
    virtual void NotifyPagesAdapterChanged(CAdapter* adapter, int kind, int reserved) = 0;
    virtual void NotifyPagesAdapterEvent(CAdapter* adapter, int type, int value) = 0;
};

// A page whose list takes the focus when the page is shown (LvSite, LvProf).
class IMainListPage {
public:
    virtual ~IMainListPage() = default;
    virtual TWinControl* PageList() = 0;
};

// The link information page: bmShowPage with spInfoPage returns it to its status panel, as a
// click on its BtnBack1 does.
class IMainInfoPage {
public:
    virtual ~IMainInfoPage() = default;
    virtual void ShowStatusPanel() = 0;
};

class TFormMain : public TFormBase {
public:
    explicit TFormMain(TComponent* owner);

    // Once, by the start-up code: skin, words, pages, tray, control settings, the adapter
    // worker and the device-detect thread, and a first detection.
    bool PrepareForm(int arg) override;
    void WndProc(TMessage& msg) override;

    bool ShowPage(TPropertyPageFrame* page);
    void SetUtilityEnabled(bool on);
    void SetZeroConfigEnabled(bool on);
    // The message dialog, centred on the screen; the button's result.
    virtual int ShowMainMessage(int flags, const AnsiString& text);

    AnsiString SignalWord(int percent) const { return ::SignalWord(Texts, percent); }
    void UpdateTrayFromStatus(const WLStatus& status);
    void OnDeviceListChanged();
    void AttachDevice(const DeviceRecord* record);
    void DetachDevice();
    void OnAdapterEvent(int type, int value);
    // False when the profile list could not be read: the connection stays due.
    bool AutoConnect();
    void RunFirstProfileWizard();

    // Menu and tray actions.
    void MenuItAboutClick(TObject* sender);
    void MenuItUseUtilityClick(TObject* sender);
    void MenuItUseZeroCfgClick(TObject* sender);
    void MenuItOpenClick(TObject* sender);
    void MenuItEnableClick(TObject* sender);
    void MenuItDisableClick(TObject* sender);
    void MenuItCloseClick(TObject* sender);
    void TrayIconMainClick(TObject* sender);
    void TrayIconMainMouseDown(TObject* sender, TMouseButton button, TShiftState shift, int x,
                               int y);
    void TrayIconMainMouseUp(TObject* sender, TMouseButton button, TShiftState shift, int x, int y);
    void BuildTrayMenu();

    // Components, in layout order.
    TImage* ImgBG;
    TTrifaceBtn* BtnClose;
    TQXImage* ImgTabInfo;
    TQXImage* ImgTabSiteSurvey;
    TQXImage* ImgProfile;
    TPropertyPageFrame* FrameSiteSurvey1;
    TPropertyPageFrame* FrameProfile1;
    TPropertyPageFrame* FrameInfo1;
    TImage* ImgAdapter;
    TPopupMenu* MenuTrayIcon;
    TMenuItem* MenuItAbout;
    TMenuItem* MenuItUseUtility;
    TMenuItem* MenuItUseZeroCfg;
    TMenuItem* N1;
    TMenuItem* MenuItOpen;
    TMenuItem* MenuItEnable;
    TMenuItem* MenuItDisable;
    TMenuItem* MenuItClose;
    TTimer* TimerDevDect;
    TTrayIcon* TrayIconMain;

    // The three pages with their tabs; the lists of the site survey and profile pages and the
    // window itself take the focus when their page shows.
    TPageHost PageHost;
    TPropertyPageFrame* ActivePage() const { return PageHost.Current(); }
    std::unique_ptr<CThreadDevDetect> DevDetect;
    std::unique_ptr<DeviceRecord> CurDevice;  // null while no adapter is attached
    std::unique_ptr<CAdapter> Adapter;
    TrayTexts Texts;  // DevName, TipDefault, TipActive, TipNoLink and the signal words
    bool ZeroCfgOn = false;
    bool AutoConnectDue = false;
    // The program's control of the adapter ([Setting] "EnableUtility").
    bool UtilityEnabled = true;
    // Set by bmIgnoreDeviceChange: device changes start no detection meanwhile.
    bool IgnoreDeviceChange = false;

    // Windows whose showing makes the Open action restore the application instead of opening
    // anything: the profile wizard and the quick connect dialog, set by the start-up code.
    // The wizard window also implements IProfileWizard.
    TFormBase* ProfileWizardForm = nullptr;
    TFormBase* ConnectSetForm = nullptr;
    // The wizard edits EditProfile while it shows: nothing else may fill it then.
    bool ProfileWizardShowing() const { return ProfileWizardForm && ProfileWizardForm->Visible(); }

    // The worker's waits and the device timer; the program keeps the defaults.
    AdapterTiming WorkerTiming;
    UINT DeviceTimerMs = kDeviceTimerMs;

protected:
    // The stored profiles for the automatic connection; false while the list is not loaded.
    virtual bool ReadStoredProfiles(std::vector<WLProfile>& profiles);

private:
    void FormCreate(TObject* sender);
    void BindBroadcasts();
    void FormClose(TObject* sender, TCloseAction& action);
    void FormDestroy(TObject* sender);
    void BtnCloseClick(TObject* sender);
    void ImgBGMouseMove(TObject* sender, TShiftState shift, int x, int y);
    void TimerDevDectTimer(TObject* sender);

    TPropertyPageFrame* MakePage(TMainPageKind kind, const char* name);
    IMainProfilePage* ProfilePage() const;
    void SetTray(const TrayState& state);
    void RestartDeviceTimer();
    void OnResume();
    void OnPageRequest(LPARAM lParam);
    void CloseDialogsAndHide();
    void OnCloseFormThreadDone();
    void NotifyPagesAdapterChanged(int kind, int reserved);
    void NotifyPagesAdapterEvent(int type, int value);
    void StopThreads();
    void CreateWorkers();
};

extern TFormMain* FormMain;

// Control is on for a page: it lies on a window of the monitor's own kind and the program
// controls the adapter (the main window's UtilityEnabled).
bool ControlOnFor(TControl* page);

// Runs the progress dialog over owner (or on the screen) for ms: the adapter worker's
// ShowProgressHook.
void RunProgressDialog(TForm* owner, int ms);
