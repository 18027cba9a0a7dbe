// Where the driver file is looked for: the library's path, then System32\Drivers, and under
// WOW64 in the native System32 with the redirection back on afterwards.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

#include "FakeDriverFiles.h"

namespace {

const char kWindows[] = "C:\\WINDOWS\\";

// The files are a list of paths.
class FakeSystem : public FakeDriverFiles {
public:
    std::set<std::string> Files;

protected:
    bool Exists(const std::string& seen) override { return Files.count(seen) != 0; }
    AnsiString Version(const std::string& seen) override {
        return Files.count(seen) ? "1.2.3.4 of " + seen : "";
    }
};

TEST(DriverFile, NativeSystemFolderUnderWow64) {
    // Files by letter: N the native System32's, W a copy in SysWOW64, V the vendor's folder.
    const std::map<char, std::string> paths = {
        {'N', std::string(kWindows) + "System32\\Drivers\\wl.sys"},
        {'W', std::string(kWindows) + "SysWOW64\\Drivers\\wl.sys"},
        {'V', std::string(kWindows) + "Vendor\\wl.sys"},
        {'-', ""}};
    const char kSystem[] = "System32\\Drivers\\wl.sys";
    struct Case {
        const char* what;
        bool wow64, canTurnOff;
        const char* files;
        const char* relative;
        char found;    // the path answered
        char version;  // whose version: the file the lookup saw there
        const char* calls;
    } cases[] = {
        {"32-bit Windows", false, true, "N", kSystem, 'N', 'N', "exists version "},
        {"the library's path leads nowhere", false, true, "N", "Nowhere\\wl.sys", 'N', 'N',
         "exists exists version "},
        {"the library's own folder", false, true, "NV", "Vendor\\wl.sys", 'V', 'V',
         "exists version "},
        {"no file", false, true, "", kSystem, '-', '-', "exists exists "},
        {"WOW64: the native file", true, true, "N", kSystem, 'N', 'N', "off exists version on "},
        {"WOW64: the fallback natively too", true, true, "N", "Nowhere\\wl.sys", 'N', 'N',
         "off exists exists version on "},
        {"WOW64: a copy in SysWOW64 is not the driver", true, true, "W", kSystem, '-', '-',
         "off exists exists on "},
        // A system without the switch: looked for as before, nothing to turn back on.
        {"WOW64 that cannot turn it off", true, false, "NW", kSystem, 'N', 'W',
         "off exists version "},
    };
    for (const Case& c : cases) {
        FakeSystem fs;
        fs.Wow64 = c.wow64;
        fs.CanTurnOff = c.canTurnOff;
        for (const char* f = c.files; *f; ++f) fs.Files.insert(paths.at(*f));
        DriverFile found = LookUpDriverFile(fs, kWindows, c.relative);
        EXPECT_EQ(found.Path, paths.at(c.found)) << c.what;
        EXPECT_EQ(found.Version, c.version == '-' ? "" : "1.2.3.4 of " + paths.at(c.version))
            << c.what;
        EXPECT_EQ(fs.Calls, c.calls) << c.what;
    }
}

}  // namespace
