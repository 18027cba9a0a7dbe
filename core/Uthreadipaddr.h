// DHCP release and renew of the adapter, once, on a thread of its own. The adapter is the
// first of the system's network adapters whose description holds the device name.
#pragma once

// clang-format off
#include <windows.h>
#include <iphlpapi.h>  // after windows.h
// clang-format on

#include <cstdint>
#include <memory>

#include "../classlib/AnsiString.h"
#include "../classlib/Thread.h"

// The IP Helper calls the thread makes; the program's own passes them to iphlpapi.
class IpHelperApi {
public:
    virtual ~IpHelperApi() = default;
    virtual DWORD GetAdaptersInfo(IP_ADAPTER_INFO* info, ULONG* size) = 0;
    virtual DWORD GetInterfaceInfo(IP_INTERFACE_INFO* info, ULONG* size) = 0;
    virtual DWORD IpReleaseAddress(IP_ADAPTER_INDEX_MAP* adapter) = 0;
    virtual DWORD IpRenewAddress(IP_ADAPTER_INDEX_MAP* adapter) = 0;
};

std::shared_ptr<IpHelperApi> SystemIpHelper();

// The index of the first adapter whose description, lower-cased, holds name (lower-case
// already). An empty name would match any adapter and is refused.
bool FindAdapterIndex(IpHelperApi& api, const AnsiString& name, DWORD& index);

// Created running; does its work once and ends. Its owner stops it with StopIPAddrThread and
// frees it with ReleaseThread (Thread.h): a thread still inside the IP Helper is never
// terminated, it finishes on its own with its own copies of what it uses.
class ThreadIPAddr final : public TThread {
public:
    static constexpr DWORD kStopTimeoutMs = 1000;
    enum : int32_t { kRelease = 1, kRenew = 2 };

    ThreadIPAddr(const AnsiString& adapterName, int32_t flags);
    ThreadIPAddr(const AnsiString& adapterName, int32_t flags, std::shared_ptr<IpHelperApi> api);
    ~ThreadIPAddr() override;

    // Waits at most timeoutMs for the work to end; it is not asked to stop, having no
    // stopping point. True when it ended.
    bool StopIPAddrThread(DWORD timeoutMs = kStopTimeoutMs);

protected:
    void Execute() override;

private:
    void ReleaseRenewAddress(const AnsiString& name, int32_t flags);

    AnsiString AdapterName;
    int32_t Flags;
    std::shared_ptr<IpHelperApi> Api;
};
