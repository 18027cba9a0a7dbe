#include "Uthreadipaddr.h"

#include <vector>

#include "Udebug.h"

namespace {

const ULONG kFirstAdaptersBuffer = 640;

class SystemIpHelperApi : public IpHelperApi {
public:
    DWORD GetAdaptersInfo(IP_ADAPTER_INFO* info, ULONG* size) override {
        return ::GetAdaptersInfo(info, size);
    }
    DWORD GetInterfaceInfo(IP_INTERFACE_INFO* info, ULONG* size) override {
        return ::GetInterfaceInfo(info, size);
    }
    DWORD IpReleaseAddress(IP_ADAPTER_INDEX_MAP* adapter) override {
        return ::IpReleaseAddress(adapter);
    }
    DWORD IpRenewAddress(IP_ADAPTER_INDEX_MAP* adapter) override {
        return ::IpRenewAddress(adapter);
    }
};

AnsiString LowerCase(AnsiString text) {
    if (!text.empty()) CharLowerBuffA(&text[0], static_cast<DWORD>(text.size()));
    return text;
}

// A text field read up to its NUL, or whole when it has none.
AnsiString FieldText(const char* field, size_t size) {
    size_t n = 0;
    while (n < size && field[n]) ++n;
    return AnsiString(field, n);
}

}  // namespace

std::shared_ptr<IpHelperApi> SystemIpHelper() {
    return std::make_shared<SystemIpHelperApi>();
}

bool FindAdapterIndex(IpHelperApi& api, const AnsiString& name, DWORD& index) {
    if (name.empty()) return false;
    // IP_ADAPTER_INFO holds pointers: keep the buffer aligned for them.
    std::vector<ULONGLONG> buffer((kFirstAdaptersBuffer + 7) / 8);
    ULONG size = kFirstAdaptersBuffer;
    DWORD r = api.GetAdaptersInfo(reinterpret_cast<IP_ADAPTER_INFO*>(buffer.data()), &size);
    if (r == ERROR_BUFFER_OVERFLOW) {
        buffer.assign((size + 7) / 8, 0);
        r = api.GetAdaptersInfo(reinterpret_cast<IP_ADAPTER_INFO*>(buffer.data()), &size);
    }
    if (r != ERROR_SUCCESS) return false;
    for (const IP_ADAPTER_INFO* a = reinterpret_cast<IP_ADAPTER_INFO*>(buffer.data()); a;
         a = a->Next) {
        AnsiString description = LowerCase(FieldText(a->Description, sizeof(a->Description)));
        if (description.find(name) != AnsiString::npos) {
            index = a->Index;
            return true;
        }
    }
    return false;
}

ThreadIPAddr::ThreadIPAddr(const AnsiString& adapterName, int32_t flags)
    : ThreadIPAddr(adapterName, flags, SystemIpHelper()) {}

ThreadIPAddr::ThreadIPAddr(const AnsiString& adapterName, int32_t flags,
                           std::shared_ptr<IpHelperApi> api)
    : TThread(false), AdapterName(adapterName), Flags(flags), Api(std::move(api)) {
    AfterConstruction();
}

ThreadIPAddr::~ThreadIPAddr() {
    EndThread();
}

bool ThreadIPAddr::StopIPAddrThread(DWORD timeoutMs) {
    DebugTrace("wait IPAddr Thread");
    bool ended = WaitFor(timeoutMs);
    // Never terminated: it may hold the IP Helper's locks. It ends when its call returns.
    if (!ended) DebugTrace(" IPAddr Thread still running");
    DebugTrace("stop IPAddr Thread");
    return ended;
}

void ThreadIPAddr::Execute() {
    ReleaseRenewAddress(LowerCase(AdapterName), Flags);
}

void ThreadIPAddr::ReleaseRenewAddress(const AnsiString& name, int32_t flags) {
    DWORD index = 0;
    if (!FindAdapterIndex(*Api, name, index)) {
        DebugTrace("get NIC index failed");
        return;
    }
    ULONG size = 0;
    if (Api->GetInterfaceInfo(nullptr, &size) != ERROR_INSUFFICIENT_BUFFER) {
        DebugTrace("GetInterfaceInfo get required failed");
        return;
    }
    std::vector<ULONGLONG> buffer((size + 7) / 8 + 1);
    IP_INTERFACE_INFO* info = reinterpret_cast<IP_INTERFACE_INFO*>(buffer.data());
    if (Api->GetInterfaceInfo(info, &size) != NO_ERROR) {
        DebugTrace("GetInterfaceInfo failed");
        return;
    }
    for (LONG i = 0; i < info->NumAdapters; ++i) {
        IP_ADAPTER_INDEX_MAP& entry = info->Adapter[i];
        if (entry.Index != index) continue;
        if (flags & kRelease) {
            DebugTrace("IP release");
            Api->IpReleaseAddress(&entry);
        }
        if (flags & kRenew) {
            DebugTrace("IP renew");
            Api->IpRenewAddress(&entry);
        }
        break;
    }
}
