#include "Udriverfile.h"

namespace {

// Redirection off while it lives, when the program runs under WOW64 and the system lets it;
// nothing else runs inside, for anything that loads a library would find the 64-bit one.
class NativeSystemFolder {
public:
    explicit NativeSystemFolder(DriverFileSystem& fs)
        : fs_(fs), off_(fs.IsWow64() && fs.RedirectionOff()) {}
    ~NativeSystemFolder() {
        if (off_) fs_.RedirectionOn();
    }
    NativeSystemFolder(const NativeSystemFolder&) = delete;
    NativeSystemFolder& operator=(const NativeSystemFolder&) = delete;

private:
    DriverFileSystem& fs_;
    bool off_;
};

}  // namespace

DriverFile LookUpDriverFile(DriverFileSystem& fs, const AnsiString& windowsDir,
                            const AnsiString& relative) {
    NativeSystemFolder native(fs);
    DriverFile found;
    AnsiString candidate = windowsDir + relative;
    if (!fs.FileExists(candidate)) {
        candidate = windowsDir + "System32\\Drivers\\" + ExtractFileName(candidate);
        if (!fs.FileExists(candidate)) return found;
    }
    found.Path = candidate;
    found.Version = fs.FileVersion(candidate);
    return found;
}
