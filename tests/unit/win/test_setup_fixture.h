// The installer's operations and stand-ins under Wine: a package folder in a temp folder with
// the stand-ins copied in as a package holds them, registry keys of names no other test uses
// (removed again), the operations' message boxes caught, and a window that receives the
// installer's completion notice.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "TempDir.h"
#include "setup/Setupsettings.h"
#include "tests/e2e/E2e.h"

namespace setuptest {

constexpr char kUninstallKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
constexpr char kAppPathsKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\";

inline bool KeyExists(HKEY root, const std::string& path) {
    HKEY h;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS) return false;
    RegCloseKey(h);
    return true;
}

inline void MakeKey(HKEY root, const std::string& path, const char* value = nullptr,
                    const std::string& data = "") {
    HKEY h;
    ASSERT_EQ(
        RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &h, nullptr),
        ERROR_SUCCESS)
        << path;
    if (value)
        RegSetValueExA(h, value, 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                       static_cast<DWORD>(data.size() + 1));
    RegCloseKey(h);
}

// A name no other test run uses.
inline std::string Unique(const std::string& stem) {
    static int counter = 0;
    return stem + std::to_string(GetCurrentProcessId()) + "_" + std::to_string(++counter);
}

// A stand-in from bin/<folder>/<name> copied to path; the folder is made.
inline void CopyStandIn(const std::string& folder, const std::string& name,
                        const std::string& path) {
    CreateDirectoryA(path.substr(0, path.find_last_of('\\')).c_str(), nullptr);
    ASSERT_TRUE(CopyFileA((BinDir() + folder + "\\" + name).c_str(), path.c_str(), FALSE))
        << folder << "\\" << name;
}

// A stand-in's record beside it (<program>.out) once it says "end".
inline std::string WaitForRecord(const std::string& exePath) {
    std::string out = exePath.substr(0, exePath.find_last_of('.')) + ".out", text;
    e2e::WaitUntil([&] {
        text = TempDir::ReadFile(out);
        return text.find("end\r\n") != std::string::npos;
    });
    return text;
}

inline bool HasLine(const std::string& record, const std::string& line) {
    for (const std::string& l : e2e::Lines(record))
        if (l == line) return true;
    return false;
}

struct Shown {
    std::string text, title;
    unsigned flags;
};

class SetupTest : public ::testing::Test {
protected:
    void SetUp() override {
        savedMessageBox_ = SetupMessageBox;
        SetupMessageBox = [this](const AnsiString& text, const AnsiString& title, unsigned flags) {
            shown_.push_back({text, title, flags});
            return IDOK;
        };
        pkg_ = dir_.Path() + "\\package\\";
        CreateDirectoryA(pkg_.c_str(), nullptr);
        CreateDirectoryA((pkg_ + "Utility").c_str(), nullptr);
        shortName_ = Unique("WLT");
        company_ = Unique("WLTestCo");
        guid_ = Unique("WLTEST-GUID-");
    }
    void TearDown() override {
        DeleteResponseLog();
        DeleteRegistryTree(HKEY_LOCAL_MACHINE, kAppPathsKey + shortName_);
        DeleteRegistryTree(HKEY_LOCAL_MACHINE, kUninstallKey + ("{" + guid_ + "}"));
        DeleteRegistryTree(HKEY_LOCAL_MACHINE, "Software\\" + company_);
        SetupMessageBox = savedMessageBox_;
        LoadSetupSettings();
    }

    // The settings a package of this test reads: its own names.
    void UseOwnNames() {
        SetupSettings.ShortName = shortName_;
        SetupSettings.CompanyName = company_;
        SetupSettings.ProductName = "Test Product";
    }

    // Utility\Setup.exe (the installer's stand-in), Setup.iss and Setup.ini with the GUID.
    void MakePackage(bool exe = true, bool iss = true) {
        if (exe) CopyStandIn("packaged-installer", "Setup.exe", pkg_ + "Utility\\Setup.exe");
        if (iss) TempDir::WriteFile(pkg_ + "Utility\\Setup.iss", "[InstallShield Silent]\r\n");
        TempDir::WriteFile(pkg_ + "Utility\\Setup.ini",
                           "[Startup]\r\nProductGUID=" + guid_ + "\r\n");
    }
    std::string Program() const { return pkg_ + "setup.exe"; }

    TempDir dir_;
    std::string pkg_, shortName_, company_, guid_;
    std::vector<Shown> shown_;
    decltype(SetupMessageBox) savedMessageBox_;
};

// A hidden top-level window with its own title, for the installer's completion notice.
class NoticeWindow {
public:
    NoticeWindow() : title_(Unique("Setup notice ")) {
        WNDCLASSA wc{};
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = kClass;
        RegisterClassA(&wc);
        hwnd_ = CreateWindowExA(0, kClass, title_.c_str(), WS_OVERLAPPED, 0, 0, 10, 10, nullptr,
                                nullptr, wc.hInstance, nullptr);
    }
    ~NoticeWindow() { DestroyWindow(hwnd_); }
    NoticeWindow(const NoticeWindow&) = delete;
    NoticeWindow& operator=(const NoticeWindow&) = delete;

    // The lines of the installer's scenario that aim its notice here.
    std::string Scenario() const {
        return std::string("NotifyClass=") + kClass + "\r\nNotifyTitle=" + title_ + "\r\n";
    }
    // True when WM_INSTALLDONE reaches the window within timeoutMs.
    bool WaitForInstallDone(DWORD timeoutMs = e2e::kTimeoutMs) {
        DWORD start = GetTickCount();
        for (;;) {
            MSG m;
            while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
                if (m.hwnd == hwnd_ && m.message == WM_INSTALLDONE) return true;
                DispatchMessageA(&m);
            }
            DWORD spent = GetTickCount() - start;
            if (spent >= timeoutMs) return false;
            MsgWaitForMultipleObjects(0, nullptr, FALSE, timeoutMs - spent, QS_ALLINPUT);
        }
    }

private:
    static constexpr const char* kClass = "WLSetupNoticeTarget";
    std::string title_;
    HWND hwnd_;
};

}  // namespace setuptest
