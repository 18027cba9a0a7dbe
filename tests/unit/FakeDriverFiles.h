// The file system as a 32-bit program sees it on 64-bit Windows (WOW64), for the driver file's
// lookup: while the redirection is on, what it asks for in System32 it is shown from SysWOW64.
// Every call is written down; where the files are is the test's.
#pragma once

#include <algorithm>
#include <cctype>
#include <string>

#include "core/Udriverfile.h"

class FakeDriverFiles : public DriverFileSystem {
public:
    bool Wow64 = true;
    bool CanTurnOff = true;
    std::string Calls;

    bool IsWow64() override { return Wow64; }
    bool RedirectionOff() override {
        Calls += "off ";
        if (!CanTurnOff) return false;
        off_ = true;
        return true;
    }
    void RedirectionOn() override {
        Calls += "on ";
        off_ = false;
    }
    bool FileExists(const AnsiString& path) override {
        Calls += "exists ";
        return Exists(Seen(path));
    }
    AnsiString FileVersion(const AnsiString& path) override {
        Calls += "version ";
        return Version(Seen(path));
    }

protected:
    virtual bool Exists(const std::string& seen) = 0;
    virtual AnsiString Version(const std::string& seen) = 0;

private:
    std::string Seen(const std::string& path) const {
        if (!Wow64 || off_) return path;
        std::string lower = path;
        std::transform(lower.begin(), lower.end(), lower.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        const std::string system32 = "\\system32\\";
        size_t at = lower.find(system32);
        if (at == std::string::npos) return path;
        return path.substr(0, at) + "\\SysWOW64\\" + path.substr(at + system32.size());
    }
    bool off_ = false;
};
