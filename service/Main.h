// The service that starts the monitor program once each time it starts.
#pragma once

#include "../classlib/AnsiString.h"
#include "../classlib/Service.h"
#include "../classlib/Thread.h"

// Starts the program named by the settings file, once.
class TSrvThread : public TThread {
public:
    TSrvThread() : TThread(false) {}

protected:
    void Execute() override;
};

class TTolbeck : public TService {
public:
    TTolbeck();  // reads the settings file and takes its names from it
    ~TTolbeck() override;

    TServiceController GetServiceController() override;

    void ServiceStart(TService* sender, bool& started);
    void ServiceStop(TService* sender, bool& stopped);
    void ServicePause(TService* sender, bool& paused);
    void ServiceContinue(TService* sender, bool& continued);

private:
    void WaitForLaunch();
};

extern TTolbeck* Tolbeck;
// From the settings file, read when the service object is made.
extern AnsiString ExecutableFileName;
extern AnsiString Parameter;

void WINAPI ServiceController(DWORD ctrlCode);
