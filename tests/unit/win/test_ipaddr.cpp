// DHCP release and renew through a fake IP Helper: the system's own cannot be driven here.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstddef>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "TempDir.h"
#include "core/Udebug.h"
#include "core/Uthreadipaddr.h"

namespace {

const DWORD kPatienceMs = 5000;

struct FakeAdapter {
    std::string description;
    DWORD index;
};

// Answers as the IP Helper does; everything the thread asks is noted in the journal, which
// the test owns so that it outlives the fake.
class FakeIpHelper : public IpHelperApi {
public:
    explicit FakeIpHelper(std::vector<std::string>& journal) : journal_(journal) {}
    ~FakeIpHelper() override {
        if (destroyed) SetEvent(destroyed);
    }

    DWORD GetAdaptersInfo(IP_ADAPTER_INFO* info, ULONG* size) override {
        journal_.push_back("adapters " + std::to_string(*size));
        if (adaptersAnswer != NO_ERROR) return adaptersAnswer;
        ULONG need = static_cast<ULONG>(adapters.size() * sizeof(IP_ADAPTER_INFO));
        if (*size < need) {
            *size = need;
            return ERROR_BUFFER_OVERFLOW;
        }
        for (size_t i = 0; i < adapters.size(); ++i) {
            IP_ADAPTER_INFO& a = info[i];
            std::memset(&a, 0, sizeof(a));
            std::strncpy(a.Description, adapters[i].description.c_str(), sizeof(a.Description) - 1);
            a.Index = adapters[i].index;
            a.Next = i + 1 < adapters.size() ? &info[i + 1] : nullptr;
        }
        return NO_ERROR;
    }
    DWORD GetInterfaceInfo(IP_INTERFACE_INFO* info, ULONG* size) override {
        journal_.push_back(info ? "interfaces" : "interfaces size");
        ULONG need = static_cast<ULONG>(offsetof(IP_INTERFACE_INFO, Adapter) +
                                        interfaces.size() * sizeof(IP_ADAPTER_INDEX_MAP));
        if (!info) {
            *size = need;
            return sizeAnswer;
        }
        if (interfacesAnswer != NO_ERROR) return interfacesAnswer;
        if (*size < need) return ERROR_INSUFFICIENT_BUFFER;
        info->NumAdapters = static_cast<LONG>(interfaces.size());
        for (size_t i = 0; i < interfaces.size(); ++i) {
            info->Adapter[i] = IP_ADAPTER_INDEX_MAP{};
            info->Adapter[i].Index = interfaces[i];
        }
        return NO_ERROR;
    }
    DWORD IpReleaseAddress(IP_ADAPTER_INDEX_MAP* adapter) override {
        journal_.push_back("release " + std::to_string(adapter->Index));
        return NO_ERROR;
    }
    DWORD IpRenewAddress(IP_ADAPTER_INDEX_MAP* adapter) override {
        journal_.push_back("renew " + std::to_string(adapter->Index));
        if (renewEntered) SetEvent(renewEntered);
        if (renewBlock) WaitForSingleObject(renewBlock, INFINITE);
        return NO_ERROR;
    }

    std::vector<FakeAdapter> adapters{{"Onboard Gigabit Ethernet", 3},
                                      {"Simulated USB WLAN Adapter #2", 9},
                                      {"simulated usb wlan adapter", 12}};
    std::vector<ULONG> interfaces{3, 12, 9};
    DWORD adaptersAnswer = NO_ERROR;
    DWORD sizeAnswer = ERROR_INSUFFICIENT_BUFFER;
    DWORD interfacesAnswer = NO_ERROR;
    HANDLE renewEntered = nullptr;
    HANDLE renewBlock = nullptr;
    HANDLE destroyed = nullptr;

private:
    std::vector<std::string>& journal_;
};

class IPAddr : public ::testing::Test {
protected:
    void SetUp() override {
        logPath_ = dir_.File("Prog.Log");
        FreshLog();
        fake_ = std::make_shared<FakeIpHelper>(journal_);
    }
    void FreshLog() {
        CloseDebugLog();
        TempDir::WriteFile(logPath_, "");
        ASSERT_TRUE(GlobalDebugLog().Open(logPath_));
    }
    void TearDown() override { CloseDebugLog(); }

    // Runs the work once to its end.
    void Run(const AnsiString& name, int32_t flags) {
        ThreadIPAddr thread(name, flags, fake_);
        ASSERT_TRUE(thread.StopIPAddrThread(kPatienceMs));
    }
    // The lines the work wrote to the log; the caller's own wait lines are left out, they
    // interleave with the work's.
    std::vector<std::string> WorkLines() {
        std::vector<std::string> lines;
        std::string text = TempDir::ReadFile(logPath_);
        for (size_t pos = 0, end; (end = text.find("\r\n", pos)) != std::string::npos;
             pos = end + 2) {
            std::string line = text.substr(pos, end - pos);
            if (line != "== START LOG ==" && line.find("IPAddr Thread") == std::string::npos)
                lines.push_back(line);
        }
        return lines;
    }
    // The journal without the buffer sizes.
    std::vector<std::string> Calls() {
        std::vector<std::string> calls;
        for (const std::string& j : journal_)
            if (j.compare(0, 8, "adapters") != 0) calls.push_back(j);
        return calls;
    }

    TempDir dir_;
    std::string logPath_;
    std::vector<std::string> journal_;
    std::shared_ptr<FakeIpHelper> fake_;
};

TEST_F(IPAddr, ReleasesThenRenewsTheFirstAdapterWhoseDescriptionHoldsTheName) {
    // Any case on either side; adapter 9 comes before 12 in the system's order.
    Run("SIMULATED usb WLAN Adapter", 3);
    EXPECT_EQ(Calls(),
              (std::vector<std::string>{"interfaces size", "interfaces", "release 9", "renew 9"}));
    // asked first with 640 bytes, then with the size the helper wanted
    ASSERT_GE(journal_.size(), 2u);
    EXPECT_EQ(journal_[0], "adapters 640");
    EXPECT_EQ(journal_[1], "adapters " + std::to_string(3 * sizeof(IP_ADAPTER_INFO)));
    EXPECT_EQ(WorkLines(), (std::vector<std::string>{"IP release", "IP renew"}));

    journal_.clear();
    Run("simulated usb wlan adapter", 1);
    EXPECT_EQ(Calls(), (std::vector<std::string>{"interfaces size", "interfaces", "release 9"}));
    journal_.clear();
    Run("Onboard", 2);
    EXPECT_EQ(Calls(), (std::vector<std::string>{"interfaces size", "interfaces", "renew 3"}));
}

TEST_F(IPAddr, AnEmptyOrUnknownNameTouchesNoAdapter) {
    // An empty name is held by every description.
    for (const char* name : {"", "Other Adapter"}) {
        journal_.clear();
        Run(name, 3);
        EXPECT_TRUE(Calls().empty()) << name;
    }
    EXPECT_EQ(WorkLines(), (std::vector<std::string>(2, "get NIC index failed")));
}

TEST_F(IPAddr, EachFailureEndsTheWorkWithItsLine) {
    struct Case {
        DWORD FakeIpHelper::*answer;
        DWORD value;
        const char* line;
        size_t interfaceCalls;
    };
    const Case cases[] = {
        {&FakeIpHelper::adaptersAnswer, ERROR_NO_DATA, "get NIC index failed", 0},
        {&FakeIpHelper::sizeAnswer, NO_ERROR, "GetInterfaceInfo get required failed", 1},
        {&FakeIpHelper::interfacesAnswer, ERROR_NOT_SUPPORTED, "GetInterfaceInfo failed", 2},
    };
    for (const Case& c : cases) {
        journal_.clear();
        fake_ = std::make_shared<FakeIpHelper>(journal_);
        (*fake_).*c.answer = c.value;
        FreshLog();
        Run("simulated", 3);
        EXPECT_EQ(Calls().size(), c.interfaceCalls) << c.line;
        EXPECT_EQ(WorkLines(), std::vector<std::string>{c.line});
    }
    // The adapter has no entry in the interface table: nothing is released.
    journal_.clear();
    fake_ = std::make_shared<FakeIpHelper>(journal_);
    fake_->interfaces = {3, 12};
    Run("adapter #2", 3);
    EXPECT_EQ(Calls(), (std::vector<std::string>{"interfaces size", "interfaces"}));
}

TEST_F(IPAddr, AHangingRenewIsNeverTerminatedAndFinishesOnItsOwn) {
    HANDLE entered = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HANDLE block = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HANDLE destroyed = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    fake_->renewEntered = entered;
    fake_->renewBlock = block;
    fake_->destroyed = destroyed;
    std::unique_ptr<ThreadIPAddr> thread(new ThreadIPAddr("Simulated", 3, fake_));
    fake_.reset();  // the thread holds the only reference now
    ASSERT_EQ(WaitForSingleObject(entered, kPatienceMs), WAIT_OBJECT_0);

    DWORD start = GetTickCount();
    EXPECT_FALSE(thread->StopIPAddrThread(100));
    EXPECT_LT(GetTickCount() - start, 1000u);
    EXPECT_FALSE(ReleaseThread(thread));
    EXPECT_FALSE(thread);
    EXPECT_EQ(WaitForSingleObject(destroyed, 0), static_cast<DWORD>(WAIT_TIMEOUT))
        << "what the thread uses was freed under it";

    SetEvent(block);  // the system's call returns at last
    EXPECT_EQ(WaitForSingleObject(destroyed, kPatienceMs), WAIT_OBJECT_0);
    EXPECT_EQ(journal_.back(), "renew 9");
    CloseHandle(entered);
    CloseHandle(block);
    CloseHandle(destroyed);
}

}  // namespace
