#include "Uthreaddevdetect.h"

#include <algorithm>

#include "Udebug.h"
#include "Udefine.h"
#include "Uvyxwllib.h"

namespace {

const int32_t kMaxHardwareIds = 16;

DevDetectSetup WithDefaults(DevDetectSetup setup) {
    if (!setup.Lib) setup.Lib = &DriverLib;
    if (!setup.Settings) setup.Settings = &FAGlobalVar;
    if (!setup.Wait)
        setup.Wait = [](HANDLE event, DWORD ms) { return WaitForSingleObject(event, ms); };
    return setup;
}

}  // namespace

CThreadDevDetect::CThreadDevDetect(HWND owner) : CThreadDevDetect(owner, DevDetectSetup()) {}

CThreadDevDetect::CThreadDevDetect(HWND owner, DevDetectSetup setup)
    : TThread(false), Owner(owner), Setup(WithDefaults(std::move(setup))) {
    AfterConstruction();
}

CThreadDevDetect::~CThreadDevDetect() {
    EndThread();
}

void CThreadDevDetect::RequestDetect(int32_t count) {
    {
        TScopedLock lock(Lock);
        RetryCount = count;
    }
    DetectEvent.Set();
}

bool CThreadDevDetect::StopDetect() {
    StopEvent.Set();
    return WaitFor(kStopTimeoutMs);
}

void CThreadDevDetect::GetDevices(std::vector<DeviceRecord>& list) {
    TScopedLock lock(Lock);
    list.insert(list.end(), Devices.begin(), Devices.end());
}

void CThreadDevDetect::ClearDevices() {
    TScopedLock lock(Lock);
    Devices.clear();
}

void CThreadDevDetect::Execute() {
    HANDLE events[2] = {StopEvent, DetectEvent};
    while (WaitForMultipleObjects(2, events, FALSE, INFINITE) == WAIT_OBJECT_0 + 1) {
        DetectDevices();
        if (Setup.PassDone) Setup.PassDone();
    }
}

bool CThreadDevDetect::EnumerateDevices(std::vector<DeviceRecord>& found) {
    DriverLibGuard guard(*Setup.Lib, StopEvent);
    if (!guard) return false;
    DeviceEntry entries[kMaxHardwareIds];
    int32_t count = ReadHwidList(*Setup.Settings, entries, kMaxHardwareIds);
    if (count <= 0) {
        // Nothing configured: let the library answer for an empty id.
        entries[0] = DeviceEntry{};
        count = 1;
    }
    for (int32_t i = 0; i < count; ++i) {
        if (Setup.Lib->VYXWL_DevDetect(&entries[i]) == 1) {
            found.push_back(MakeDeviceRecord(TextField(entries[i].DeviceName),
                                             TextField(entries[i].HardwareId)));
            break;
        }
    }
    return true;
}

void CThreadDevDetect::DetectDevices() {
    std::vector<DeviceRecord> found;
    if (!EnumerateDevices(found)) return;
    DebugTrace("detect device %d", static_cast<int>(found.size()));

    bool changed = false;
    bool retry = false;
    {
        TScopedLock lock(Lock);
        for (size_t i = Devices.size(); i-- > 0;) {
            const DeviceRecord known = Devices[i];
            auto same = [&known](const DeviceRecord& r) { return SameDevice(r, known); };
            auto kept = std::remove_if(found.begin(), found.end(), same);
            if (kept == found.end()) {
                // Gone: nothing equal to it was found.
                Devices.erase(Devices.begin() + static_cast<std::ptrdiff_t>(i));
                changed = true;
            }
            found.erase(kept, found.end());
        }
        if (!found.empty()) {
            Devices.insert(Devices.end(), found.begin(), found.end());
            changed = true;
        }
        if (changed)
            RetryCount = 0;
        else
            --RetryCount;
        retry = !changed && RetryCount > 0 && Devices.empty();
    }

    if (changed) {
        UINT message = Setup.Message ? Setup.Message : BroadcastMsgId;
        PostMessageA(Owner, message, bmDeviceListChanged, 0);
    } else if (retry) {
        DWORD r = Setup.Wait(StopEvent, kRetryDelayMs);
        if (r == WAIT_TIMEOUT)
            DetectEvent.Set();
        else if (r == WAIT_OBJECT_0)
            StopEvent.Set();  // for the thread body, which ends on it
    }
}
