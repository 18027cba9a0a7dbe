// Device detection: a thread that, on request, finds which supported adapter is present and
// tells the main window when that changed. The program serves one adapter at a time, so a pass
// reports at most one: the first of the [Product] list that the driver library finds.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <vector>

#include "../classlib/Handles.h"
#include "../classlib/Thread.h"
#include "Udevicerecord.h"
#include "Umessages.h"

class CFAGlobalVar;
class CVYXWLLIB;

// What the thread works with; the defaults are the program's own.
struct DevDetectSetup {
    CVYXWLLIB* Lib = nullptr;                // null: DriverLib
    const CFAGlobalVar* Settings = nullptr;  // null: FAGlobalVar, for the [Product] list
    UINT Message = 0;                        // 0: BroadcastMsgId, read when posting
    // The pause before a retry: waits on the stop event like WaitForSingleObject, which it is
    // when empty. WAIT_TIMEOUT lets the retry run.
    std::function<DWORD(HANDLE stopEvent, DWORD timeoutMs)> Wait;
    // Run on the thread at the end of every detection pass, stopped ones included.
    std::function<void()> PassDone;
};

// Created running; freed by its owner after StopDetect (ReleaseThread when it did not end).
class CThreadDevDetect final : public TThread {
public:
    static constexpr DWORD kRetryDelayMs = 1500;
    static constexpr DWORD kStopTimeoutMs = 10000;

    explicit CThreadDevDetect(HWND owner);
    CThreadDevDetect(HWND owner, DevDetectSetup setup);
    ~CThreadDevDetect() override;

    // Asks for a pass; while no adapter is found up to count passes run in all, 1500 ms apart.
    void RequestDetect(int32_t count);
    // Ends the thread, waiting at most 10000 ms; a thread still running is left running. True
    // when it ended.
    bool StopDetect();
    // Appends a copy of each known record.
    void GetDevices(std::vector<DeviceRecord>& list);
    // Forgets the known records, so the next pass reports a present adapter as new.
    void ClearDevices();

protected:
    void Execute() override;
    void TerminatedSet() override { StopEvent.Set(); }

private:
    void DetectDevices();
    // False when the stop event came before the driver library lock.
    bool EnumerateDevices(std::vector<DeviceRecord>& found);

    HWND Owner;
    TEvent StopEvent;
    TEvent DetectEvent;
    TCriticalSection Lock;
    int32_t RetryCount = 0;
    std::vector<DeviceRecord> Devices;
    DevDetectSetup Setup;
};
