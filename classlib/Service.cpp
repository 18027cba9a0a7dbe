#include "Service.h"

#include <cctype>
#include <cstdlib>

#include "SysUtils.h"

namespace {

const char kFailedOn[] = "Service failed on %s: %s";
const char kFailedCustom[] = "Service failed in custom message(%d): %s";

TServiceApplication applicationObject;

struct ServiceHandleTraits {
    using Type = SC_HANDLE;
    static bool Valid(SC_HANDLE handle) { return handle != nullptr; }
    static void Close(SC_HANDLE handle) { CloseServiceHandle(handle); }
};
using ScHandle = THandleHolder<ServiceHandleTraits>;

// The system's text for an error code, without the line break it ends with.
AnsiString SysErrorMessage(DWORD code) {
    char* buffer = nullptr;
    DWORD len = FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<LPSTR>(&buffer), 0, nullptr);
    AnsiString text;
    if (len != 0 && buffer) text.assign(buffer, len);
    if (buffer) LocalFree(buffer);
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) text.pop_back();
    return text;
}

void WriteEventLog(const AnsiString& source, const AnsiString& message, WORD type) {
    HANDLE log = RegisterEventSourceA(nullptr, source.c_str());
    if (!log) return;
    const char* strings[] = {message.c_str()};
    ReportEventA(log, type, 0, 0, nullptr, 1, 0, strings, nullptr);
    DeregisterEventSource(log);
}

AnsiString ModuleFileName() {
    char path[MAX_PATH + 1] = {};
    DWORD len = GetModuleFileNameA(nullptr, path, MAX_PATH);
    return AnsiString(path, len);
}

AnsiString UpperCase(AnsiString text) {
    for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

bool IsPending(DWORD state) {
    return state == SERVICE_START_PENDING || state == SERVICE_STOP_PENDING ||
           state == SERVICE_PAUSE_PENDING || state == SERVICE_CONTINUE_PENDING;
}

}  // namespace

TServiceApplication* Svcmgr::Application = &applicationObject;

// ---------------------------------------------------------------------------------------------
// TService

TService::TService() = default;

TService::~TService() = default;

void TService::Controller(DWORD ctrlCode) {
    {
        TScopedLock lock(requestLock_);
        requests_.push_back(ctrlCode);
    }
    requestEvent_.Set();
}

DWORD TService::NextRequest() {
    for (;;) {
        {
            TScopedLock lock(requestLock_);
            if (!requests_.empty()) {
                DWORD code = requests_.front();
                requests_.pop_front();
                return code;
            }
        }
        requestEvent_.Wait();
    }
}

void TService::ReportStatus() {
    if (!statusHandle_) return;
    DWORD state = status_.dwCurrentState;
    status_.dwControlsAccepted = 0;
    if (state != SERVICE_START_PENDING && state != SERVICE_STOP_PENDING &&
        state != SERVICE_STOPPED) {
        if (AllowStop) status_.dwControlsAccepted |= SERVICE_ACCEPT_STOP;
        if (AllowPause) status_.dwControlsAccepted |= SERVICE_ACCEPT_PAUSE_CONTINUE;
        status_.dwControlsAccepted |= SERVICE_ACCEPT_SHUTDOWN;
    }
    if (IsPending(state)) {
        ++status_.dwCheckPoint;
        status_.dwWaitHint = WaitHint;
    } else {
        status_.dwCheckPoint = 0;
        status_.dwWaitHint = 0;
    }
    SetServiceStatus(statusHandle_, &status_);
}

void TService::SetStatus(DWORD state) {
    status_.dwCurrentState = state;
    status_.dwCheckPoint = 0;
    ReportStatus();
}

void TService::LogMessage(const AnsiString& message, WORD type) {
    WriteEventLog(Name, message, type);
}

DWORD TService::Install() {
    ScHandle manager(OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CREATE_SERVICE));
    if (!manager.Get()) return GetLastError();
    // Quoted, so that a folder with blanks in its name is not split.
    AnsiString command = "\"" + ModuleFileName() + "\"";
    AnsiString dependencies;  // each name NUL-terminated, the list ends with one more NUL
    for (const AnsiString& name : Dependencies) {
        dependencies += name;
        dependencies += '\0';
    }
    const char* account = ServiceStartName.empty() ? nullptr : ServiceStartName.c_str();
    ScHandle service(CreateServiceA(
        manager.Get(), Name.c_str(), DisplayName.c_str(), SERVICE_QUERY_STATUS,
        ServiceType | (Interactive ? SERVICE_INTERACTIVE_PROCESS : 0), StartType, ErrorSeverity,
        command.c_str(), nullptr, nullptr, Dependencies.empty() ? nullptr : dependencies.c_str(),
        account, account ? Password.c_str() : nullptr));
    return service.Get() ? static_cast<DWORD>(ERROR_SUCCESS) : GetLastError();
}

DWORD TService::Uninstall() {
    ScHandle manager(OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT));
    if (!manager.Get()) return GetLastError();
    ScHandle service(OpenServiceA(manager.Get(), Name.c_str(), DELETE));
    if (!service.Get()) return GetLastError();
    return DeleteService(service.Get()) ? static_cast<DWORD>(ERROR_SUCCESS) : GetLastError();
}

void TService::DoCustomControl(DWORD) {}

bool TService::CallHandler(const TServiceEvent& handler, const char* action) {
    bool ok = true;
    try {
        if (handler) handler(this, ok);
    } catch (...) {
        LogMessage(Format(kFailedOn, action, CaughtExceptionText().c_str()));
        ok = false;
    }
    return ok;
}

void TService::Main() {
    statusHandle_ = RegisterServiceCtrlHandlerA(Name.c_str(), GetServiceController());
    if (!statusHandle_) {
        LogMessage(Format(kFailedOn, "start", SysErrorMessage(GetLastError()).c_str()));
        return;
    }
    status_.dwServiceType = ServiceType | (Interactive ? SERVICE_INTERACTIVE_PROCESS : 0);
    SetStatus(SERVICE_START_PENDING);
    if (CallHandler(OnStart, "start")) {
        SetStatus(SERVICE_RUNNING);
        while (!ProcessRequest(NextRequest())) {
        }
    } else {
        // The control manager shows the start as failed.
        status_.dwWin32ExitCode = ERROR_SERVICE_SPECIFIC_ERROR;
        status_.dwServiceSpecificExitCode = 1;
    }
    SetStatus(SERVICE_STOPPED);
}

bool TService::ChangeState(const TServiceEvent& handler, const char* action, DWORD pending,
                           DWORD target) {
    DWORD previous = Status();
    SetStatus(pending);
    bool ok = CallHandler(handler, action);
    // The stopped state is reported once the service thread is done.
    if (ok && target == SERVICE_STOPPED) return true;
    SetStatus(ok ? target : previous);
    return ok;
}

bool TService::ProcessRequest(DWORD ctrlCode) {
    switch (ctrlCode) {
        case SERVICE_CONTROL_STOP:
            return ChangeState(OnStop, "stop", SERVICE_STOP_PENDING, SERVICE_STOPPED);
        case SERVICE_CONTROL_SHUTDOWN:
            SetStatus(SERVICE_STOP_PENDING);
            return true;
        case SERVICE_CONTROL_PAUSE:
            ChangeState(OnPause, "pause", SERVICE_PAUSE_PENDING, SERVICE_PAUSED);
            return false;
        case SERVICE_CONTROL_CONTINUE:
            ChangeState(OnContinue, "continue", SERVICE_CONTINUE_PENDING, SERVICE_RUNNING);
            return false;
        case SERVICE_CONTROL_INTERROGATE:
            ReportStatus();
            return false;
        default:
            break;
    }
    if (ctrlCode >= 128 && ctrlCode <= 255) {
        try {
            DoCustomControl(ctrlCode);
        } catch (...) {
            LogMessage(
                Format(kFailedCustom, static_cast<int>(ctrlCode), CaughtExceptionText().c_str()));
        }
    }
    return false;
}

// ---------------------------------------------------------------------------------------------
// TServiceApplication

void TServiceApplication::Initialize() {
    Title = ChangeFileExt(ExtractFileName(ModuleFileName()), "");
    mode_ = Mode::Serve;
    silent_ = false;
    for (int i = 1; i < __argc; ++i) {
        AnsiString arg = __argv[i];
        bool switched = !arg.empty() && (arg[0] == '/' || arg[0] == '-');
        AnsiString word = UpperCase(switched ? arg.substr(1) : arg);
        if (switched && word == "INSTALL")
            mode_ = Mode::Install;
        else if (switched && word == "UNINSTALL" && mode_ != Mode::Install)
            mode_ = Mode::Uninstall;
        else if (word == "SILENT")
            silent_ = true;
    }
}

void TServiceApplication::Run() {
    struct FreeService {
        std::unique_ptr<TService>& service;
        ~FreeService() { service.reset(); }
    } freeAtEnd{service_};
    if (!service_) return;
    switch (mode_) {
        case Mode::Install:
            RegisterService(true);
            break;
        case Mode::Uninstall:
            RegisterService(false);
            break;
        case Mode::Serve: {
            SERVICE_TABLE_ENTRYA table[] = {
                {const_cast<char*>(service_->Name.c_str()), &TServiceApplication::ServiceMain},
                {nullptr, nullptr}};
            // Returns once the service has stopped; fails at once outside the control manager.
            StartServiceCtrlDispatcherA(table);
            break;
        }
    }
}

void WINAPI TServiceApplication::ServiceMain(DWORD, LPSTR*) {
    if (Application->service_) Application->service_->Main();
}

void TServiceApplication::RegisterService(bool install) {
    DWORD error = install ? service_->Install() : service_->Uninstall();
    if (silent_) return;
    AnsiString text;
    if (error == ERROR_SUCCESS)
        text = install ? "Service installed successfully" : "Service uninstalled successfully";
    else
        text = Format("Service \"%s\" failed to %s with error: \"%s\"", service_->Name.c_str(),
                      install ? "install" : "uninstall", SysErrorMessage(error).c_str());
    MessageBoxA(nullptr, text.c_str(), Title.c_str(),
                MB_OK | (error == ERROR_SUCCESS ? MB_ICONINFORMATION : MB_ICONERROR));
}

void TServiceApplication::ShowException(const std::exception& e) {
    if (mode_ != Mode::Serve && !silent_)
        MessageBoxA(nullptr, e.what(), Title.c_str(), MB_OK | MB_ICONERROR);
    else
        WriteEventLog(service_ ? service_->Name : Title, e.what(), EVENTLOG_ERROR_TYPE);
}
