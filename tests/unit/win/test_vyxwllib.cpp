// The driver binding against the stand-in library, as the program loads it.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "TempDir.h"
#include "core/Udefine.h"
#include "core/Uvyxwllib.h"

namespace {

// The trace's function names, in call order.
std::vector<std::string> TracedCalls(const std::string& file) {
    std::vector<std::string> calls;
    std::string text = TempDir::ReadFile(file);
    size_t pos = 0;
    while ((pos = text.find("VYXWL_", pos)) != std::string::npos) {
        size_t end = text.find('(', pos);
        calls.push_back(text.substr(pos, end - pos));
        pos = text.find("\r\n", end);
        if (pos == std::string::npos) break;
    }
    return calls;
}

size_t Count(const std::vector<std::string>& calls, const std::string& name) {
    size_t n = 0;
    for (const auto& c : calls) n += c == name;
    return n;
}

class DriverBinding : public ::testing::Test {
protected:
    void SetUp() override {
        trace_ = dir_.File("calls.trace");
        Scenario("");
        SetEnvironmentVariableA("VYXWL_SCENARIO", dir_.File("VYXWL.scn").c_str());
        root_ = "BindingTest" + std::to_string(GetCurrentProcessId());
    }
    void TearDown() override {
        lib_.UnloadDriverLib();
        SetEnvironmentVariableA("VYXWL_SCENARIO", nullptr);
    }
    // adapter lines: more keys of the adapter section
    void Scenario(const std::string& adapterLines) {
        TempDir::WriteFile(dir_.File("VYXWL.scn"),
                           "[Trace]\r\nFile=" + trace_ +
                               "\r\n[Adapter]\r\nHWID1=USB\\VID_0001&PID_0002\r\n"
                               "Name1=Test Adapter\r\n" +
                               adapterLines +
                               "[Network1]\r\nSSID=Lobby\r\n"
                               "MAC=00:A0:C5:44:55:66\r\nFrequency=2412000\r\nRSSI=-60\r\n"
                               "Privacy=0\r\nMode=1\r\nBand=1\r\n");
    }
    void Load() { ASSERT_TRUE(lib_.LoadDriverLib(BinDir() + "VYXWL.DLL", root_)); }
    void ConnectToLobby() {
        WLProfile p{};
        p.NetworkMode = 1;
        SetTextField(p.ProfileName, "Lobby");
        SetTextField(p.Ssid1, "Lobby");
        WLStatus s{};
        lib_.VYXWL_WLProfileToWLStatus(&p, &s);
        int32_t flag = 0;
        ASSERT_EQ(lib_.VYXWL_SetWLANStatus(&flag, &s), 1);
    }

    TempDir dir_;
    std::string trace_;
    std::string root_;
    CVYXWLLIB lib_;
};

TEST_F(DriverBinding, BindsAllNamesAndInitialisesFirst) {
    Load();
    FARPROC* first = reinterpret_cast<FARPROC*>(&lib_.VYXWL_Initial);
    for (int i = 0; i < kVyxwlEntryCount; ++i) EXPECT_NE(first[i], nullptr) << kVyxwlEntryNames[i];
    std::string text = TempDir::ReadFile(trace_);
    std::vector<std::string> calls = TracedCalls(trace_);
    ASSERT_GE(calls.size(), 2u);
    EXPECT_EQ(calls[0], "VYXWL_Initial");
    EXPECT_NE(text.find("VYXWL_Initial(\"Velmora\", 1)"), std::string::npos) << text;
    EXPECT_EQ(calls[1], "VYXWL_SetWLProfileDir");
    EXPECT_NE(text.find("VYXWL_SetWLProfileDir(\"" + root_ + "\")"), std::string::npos) << text;
    // the lock is free after the load
    EXPECT_EQ(WaitForSingleObject(lib_.DriverLibLock.Get(), 0), WAIT_OBJECT_0);
}

TEST_F(DriverBinding, RefusesAMissingOrIncompleteLibrary) {
    CVYXWLLIB lib;
    EXPECT_FALSE(lib.LoadDriverLib("", root_));
    EXPECT_FALSE(lib.LoadDriverLib(dir_.File("VYXWL.DLL"), root_));
    // lacks only VYXWL_SetAPFilterList, which nobody calls
    EXPECT_FALSE(lib.LoadDriverLib(BinDir() + "missing-entry\\VYXWL.DLL", root_));
    EXPECT_NE(lib.Handle, nullptr);
    EXPECT_EQ(lib.VYXWL_SetAPFilterList, nullptr);
    // nothing was called and the lock was never freed
    EXPECT_TRUE(TracedCalls(trace_).empty());
    EXPECT_EQ(WaitForSingleObject(lib.DriverLibLock.Get(), 0), static_cast<DWORD>(WAIT_TIMEOUT));
    lib.UnloadDriverLib();
    EXPECT_EQ(lib.Handle, nullptr);
}

TEST_F(DriverBinding, StopEventWinsTheLock) {
    Load();
    HANDLE stop = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    {
        DriverLibGuard guard(lib_, stop);
        EXPECT_TRUE(guard);
        EXPECT_EQ(WaitForSingleObject(lib_.DriverLibLock.Get(), 0),
                  static_cast<DWORD>(WAIT_TIMEOUT));
    }
    // both signalled: the stop event wins, stays set, and the lock stays free
    SetEvent(stop);
    EXPECT_FALSE(lib_.LockDriverLib(stop));
    EXPECT_EQ(WaitForSingleObject(stop, 0), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(lib_.DriverLibLock.Get(), 0), WAIT_OBJECT_0);
    SetEvent(lib_.DriverLibLock.Get());
    CloseHandle(stop);
}

struct Waiter {
    CVYXWLLIB* lib;
    HANDLE stop;
    HANDLE waiting;
    bool got;
};

TEST_F(DriverBinding, StopReleasesAThreadWaitingForTheLock) {
    Load();
    HANDLE ownStop = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    ASSERT_TRUE(lib_.LockDriverLib(ownStop));
    Waiter w{&lib_, CreateEventA(nullptr, TRUE, FALSE, nullptr),
             CreateEventA(nullptr, TRUE, FALSE, nullptr), true};
    HANDLE thread = CreateThread(
        nullptr, 0,
        [](LPVOID arg) -> DWORD {
            Waiter* w = static_cast<Waiter*>(arg);
            SetEvent(w->waiting);
            w->got = w->lib->LockDriverLib(w->stop);
            return 0;
        },
        &w, 0, nullptr);
    WaitForSingleObject(w.waiting, INFINITE);
    // still held by this thread: the waiter must not get through
    EXPECT_EQ(WaitForSingleObject(thread, 100), static_cast<DWORD>(WAIT_TIMEOUT));
    SetEvent(w.stop);
    EXPECT_EQ(WaitForSingleObject(thread, 2000), WAIT_OBJECT_0);
    EXPECT_FALSE(w.got);
    lib_.UnlockDriverLib();
    CloseHandle(thread);
    CloseHandle(w.stop);
    CloseHandle(w.waiting);
    CloseHandle(ownStop);
}

TEST_F(DriverBinding, QueryStatusOnlyWhenConnected) {
    Load();
    WLStatus status{};
    EXPECT_EQ(lib_.QueryWLANStatus(status), -99);
    EXPECT_EQ(status.MediaConnect, 1);
    WLStatus expected{};
    expected.MediaConnect = 1;
    EXPECT_EQ(memcmp(&status, &expected, sizeof(status)), 0) << "only the media state written";
    std::vector<std::string> calls = TracedCalls(trace_);
    EXPECT_EQ(Count(calls, "VYXWL_QueryOID"), 1u);
    EXPECT_EQ(Count(calls, "VYXWL_GetWLANStatus"), 0u);

    ConnectToLobby();
    WLStatus linked{};
    EXPECT_EQ(lib_.QueryWLANStatus(linked), 1);
    EXPECT_EQ(linked.MediaConnect, 0);
    EXPECT_EQ(SsidText(linked.Ssid, linked.SsidLength), "Lobby");
    EXPECT_EQ(Count(TracedCalls(trace_), "VYXWL_GetWLANStatus"), 1u);
}

TEST_F(DriverBinding, MoreToComeAsksExactlyTwice) {
    Scenario("MoreToCome=2\r\n");
    Load();
    ConnectToLobby();
    WLStatus status{};
    // the second answer counts even though the first was a success
    EXPECT_EQ(lib_.QueryWLANStatus(status), 0);
    EXPECT_EQ(Count(TracedCalls(trace_), "VYXWL_GetWLANStatus"), 2u);
}

// The store's names are registry keys: other letters name the same profile.
TEST_F(DriverBinding, FindsAStoredProfileByNameWhateverTheCaseOfItsLetters) {
    Load();
    WLProfile office{};
    SetTextField(office.ProfileName, "Office");
    SetTextField(office.Ssid1, "corp");
    office.Channel = 11;
    lib_.VYXWL_SetWLProfile("Office", &office);
    WLProfile other{};
    SetTextField(other.ProfileName, "Home");
    lib_.VYXWL_SetWLProfile("Home", &other);

    WLProfile defaults{};
    defaults.TxRate = 15;
    WLProfile found{};
    EXPECT_FALSE(lib_.FindDriverProfile("Nowhere", found, defaults));
    EXPECT_FALSE(lib_.FindDriverProfile("Offic", found, defaults));
    for (const char* name : {"Office", "office", "OFFICE"}) {
        found = WLProfile{};
        ASSERT_TRUE(lib_.FindDriverProfile(name, found, defaults)) << name;
        EXPECT_STREQ(found.Ssid1, "corp");
        EXPECT_EQ(found.Channel, 11);
    }
    lib_.VYXWL_DeleteWLProfile("Office");
    lib_.VYXWL_DeleteWLProfile("Home");
}

TEST(InitGlobalsLibrary, LoadsTheLibraryBesideTheProgram) {
    // (without a library the program shows a message box: see the start-up tests)
    TempDir dir;
    CFAGlobalVar g;
    ASSERT_TRUE(CopyFileA((BinDir() + "VYXWL.DLL").c_str(), dir.File("VYXWL.DLL").c_str(), FALSE));
    TempDir::WriteFile(dir.File("Wavelorn.bin"), "[Setting]\r\nProfRoot=Acme\r\n");
    EXPECT_TRUE(g.InitGlobals(dir.File("Wavelorn.exe")));
    EXPECT_NE(DriverLib.VYXWL_SetAPFilterList, nullptr);
    DriverLib.UnloadDriverLib();
}

}  // namespace
