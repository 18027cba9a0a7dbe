#include "Main.h"

#include <objbase.h>
#include <shellapi.h>

#include "../classlib/IniFile.h"
#include "../core/Udebug.h"

TTolbeck* Tolbeck = nullptr;
AnsiString ExecutableFileName;
AnsiString Parameter;

namespace {

// The one launcher thread of the running service; only the service thread touches it.
std::unique_ptr<TSrvThread> SrvThread;

AnsiString ModuleFileName() {
    char path[MAX_PATH + 1] = {};
    DWORD len = GetModuleFileNameA(nullptr, path, MAX_PATH);
    return AnsiString(path, len);
}

}  // namespace

void WINAPI ServiceController(DWORD ctrlCode) {
    if (Tolbeck) Tolbeck->Controller(ctrlCode);
}

// ---------------------------------------------------------------------------------------------
// TSrvThread

void TSrvThread::Execute() {
    // The shell may hand the file to extensions that need COM on this thread.
    HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    AnsiString folder = ExtractFilePath(ModuleFileName());
    AnsiString file = folder + ExecutableFileName;
    DebugTrace("file: %s", file.c_str());
    DebugTrace("param: %s", Parameter.c_str());
    INT_PTR result = reinterpret_cast<INT_PTR>(ShellExecuteA(
        nullptr, "open", file.c_str(), Parameter.c_str(), folder.c_str(), SW_SHOWNORMAL));
    if (result > 32)
        DebugTrace("Succ: ShellExecute");
    else
        DebugTrace("Fail: ShellExecute %d", static_cast<int>(result));
    if (SUCCEEDED(com)) CoUninitialize();
}

// ---------------------------------------------------------------------------------------------
// TTolbeck

TTolbeck::TTolbeck() {
    TIniFile ini(ChangeFileExt(ModuleFileName(), ".bin"));
    AnsiString devShortName = ini.ReadString("Product", "DevShortName", "PRV610K");
    ExecutableFileName = ini.ReadString("Setting", "ExecutableFileName", "VYXCfg.exe");
    Parameter = ini.ReadString("Setting", "Parameter", "/Service");
    DisplayName = "Tolbec_" + devShortName;
    Name = "Tolbec_" + devShortName;

    OnStart = [this](TService* s, bool& ok) { ServiceStart(s, ok); };
    OnStop = [this](TService* s, bool& ok) { ServiceStop(s, ok); };
    OnPause = [this](TService* s, bool& ok) { ServicePause(s, ok); };
    OnContinue = [this](TService* s, bool& ok) { ServiceContinue(s, ok); };
}

TTolbeck::~TTolbeck() {
    SrvThread.reset();
    if (Tolbeck == this) Tolbeck = nullptr;
}

TServiceController TTolbeck::GetServiceController() {
    return &ServiceController;
}

void TTolbeck::ServiceStart(TService*, bool& started) {
    SrvThread = MakeThread<TSrvThread>();
    started = true;
}

void TTolbeck::ServiceStop(TService*, bool& stopped) {
    if (SrvThread) {
        SrvThread->Terminate();
        WaitForLaunch();
        SrvThread.reset();
    }
    stopped = true;
}

// The launcher is never suspended: inside ShellExecute it may hold locks of the system that the
// service needs, and it does nothing after its one launch anyway. A pause or continue takes
// effect once the launch has been made.
void TTolbeck::ServicePause(TService*, bool& paused) {
    WaitForLaunch();
    paused = true;
}

void TTolbeck::ServiceContinue(TService*, bool& continued) {
    WaitForLaunch();
    continued = true;
}

void TTolbeck::WaitForLaunch() {
    if (!SrvThread) return;
    // Pending reports with fresh checkpoints keep the control manager waiting meanwhile.
    while (!SrvThread->WaitFor(WaitHint / 2)) ReportStatus();
}
