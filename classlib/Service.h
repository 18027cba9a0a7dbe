// Service framework over the service control manager: a service application object that runs
// the program's one service object.
//
// Command line: "INSTALL" or "UNINSTALL" after "/" or "-", in any case, registers or removes the
// service and ends, with a message box unless "SILENT" is given as well. Anything else connects
// to the control manager and serves it until the service stops.
#pragma once

#include <windows.h>

#include <deque>
#include <exception>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

#include "AnsiString.h"
#include "Handles.h"

class TService;

// The control handler a service registers; each service has its own, which passes the code to
// that service object's Controller (the system gives the handler no context).
using TServiceController = void(WINAPI*)(DWORD ctrlCode);

// A start, stop, pause or continue handler; it clears ok to refuse the request.
using TServiceEvent = std::function<void(TService* sender, bool& ok)>;

class TService {
public:
    TService();
    virtual ~TService();
    TService(const TService&) = delete;
    TService& operator=(const TService&) = delete;

    AnsiString Name;
    AnsiString DisplayName;

    // Registration
    DWORD ServiceType = SERVICE_WIN32_OWN_PROCESS;
    bool Interactive = false;  // may interact with the desktop
    DWORD StartType = SERVICE_AUTO_START;
    DWORD ErrorSeverity = SERVICE_ERROR_NORMAL;
    AnsiString ServiceStartName;  // account; empty: LocalSystem
    AnsiString Password;
    std::vector<AnsiString> Dependencies;  // names of services started before this one

    // Running
    DWORD WaitHint = 5000;  // ms the control manager waits between two pending reports
    bool AllowStop = true;
    bool AllowPause = true;

    TServiceEvent OnStart;
    TServiceEvent OnStop;
    TServiceEvent OnPause;
    TServiceEvent OnContinue;

    virtual TServiceController GetServiceController() = 0;
    // Called by the service's control handler, on the control manager's thread: queues the
    // request for the service thread.
    void Controller(DWORD ctrlCode);

    // The state last reported (SERVICE_RUNNING ...).
    DWORD Status() const { return status_.dwCurrentState; }
    // Reports the state again; in a pending state with the next checkpoint, so a handler that
    // takes long keeps the control manager waiting.
    void ReportStatus();
    // Writes to the system's event log under the service's name.
    void LogMessage(const AnsiString& message, WORD type = EVENTLOG_ERROR_TYPE);

    // Register or remove the service; the system's error code, 0 on success.
    DWORD Install();
    DWORD Uninstall();

protected:
    // A user-defined control code (128 to 255); an exception fails the request.
    virtual void DoCustomControl(DWORD ctrlCode);

private:
    friend class TServiceApplication;

    // The service's main function, on the thread the control manager gives it (the service
    // thread): starts, serves the queued requests until the service stops, reports stopped.
    void Main();
    DWORD NextRequest();
    // True when the service is to end.
    bool ProcessRequest(DWORD ctrlCode);
    // Reports pending, runs the handler and reports target, or the state from before when the
    // handler refuses or fails. Answers whether the state changed.
    bool ChangeState(const TServiceEvent& handler, const char* action, DWORD pending, DWORD target);
    // An exception from a handler is a failed request, written to the event log.
    bool CallHandler(const TServiceEvent& handler, const char* action);
    void SetStatus(DWORD state);

    SERVICE_STATUS_HANDLE statusHandle_ = nullptr;
    SERVICE_STATUS status_{};
    TCriticalSection requestLock_;
    TEvent requestEvent_;
    std::deque<DWORD> requests_;
};

class TServiceApplication {
public:
    TServiceApplication() = default;
    TServiceApplication(const TServiceApplication&) = delete;
    TServiceApplication& operator=(const TServiceApplication&) = delete;

    // Reads the command line; the title becomes the program's name.
    void Initialize();
    // Makes the program's one service object, owned by the application until Run ends.
    template <class T>
    T* CreateForm() {
        auto service = std::make_unique<T>();
        T* made = service.get();
        service_ = std::move(service);
        return made;
    }
    // Installs, uninstalls or serves as the command line says; frees the service at the end.
    void Run();
    // A message box while installing or uninstalling without "SILENT", else the event log.
    void ShowException(const std::exception& e);

    AnsiString Title;  // of the message boxes

private:
    enum class Mode { Serve, Install, Uninstall };

    void RegisterService(bool install);
    static void WINAPI ServiceMain(DWORD argc, LPSTR* argv);

    Mode mode_ = Mode::Serve;
    bool silent_ = false;
    std::unique_ptr<TService> service_;
};

// The service program's application object. Its own namespace keeps it apart from the
// windowed programs' Application at link time; a unit sees only one of the two.
namespace Svcmgr {
extern TServiceApplication* Application;
}
using Svcmgr::Application;
