#include "Handles.h"

#include "SysUtils.h"

TEvent::TEvent(bool manualReset, bool signalled)
    : handle_(
          CreateEventA(nullptr, manualReset ? TRUE : FALSE, signalled ? TRUE : FALSE, nullptr)) {
    if (!handle_)
        throw Exception(
            Format("Event creation error (%lu)", static_cast<unsigned long>(GetLastError())));
}

bool TEvent::Wait(DWORD timeoutMs) const {
    return WaitForSingleObject(handle_.Get(), timeoutMs) == WAIT_OBJECT_0;
}

TMutex::TMutex(const AnsiString& name) : handle_(CreateMutexA(nullptr, FALSE, name.c_str())) {
    createError_ = GetLastError();  // read at once: ERROR_ALREADY_EXISTS tells an existing one
}

DWORD TMutex::Wait(DWORD timeoutMs) {
    DWORD result = WaitForSingleObject(handle_.Get(), timeoutMs);
    // An abandoned mutex is ours as well: it must be let go like any other.
    if (result == WAIT_OBJECT_0 || result == WAIT_ABANDONED) owned_ = true;
    return result;
}

void TMutex::Unlock() {
    if (!owned_) return;
    owned_ = false;
    ReleaseMutex(handle_.Get());
}
