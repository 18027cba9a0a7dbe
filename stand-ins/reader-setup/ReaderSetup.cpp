// Stands in for the PDF reader's setup program: records how it was started,
// shows its window with the scenario's title for a while, then registers the
// .pdf file type to the viewer the scenario names.
#include <windows.h>

#include <cstring>
#include <string>

#include "Standin.h"

using namespace standin;

namespace {

const char kProgId[] = "WLStandIn.PdfFile";

bool SetDefault(const std::string& key, const std::string& value) {
    HKEY h = nullptr;
    if (RegCreateKeyExA(HKEY_CLASSES_ROOT, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &h,
                        nullptr) != ERROR_SUCCESS)
        return false;
    bool ok = RegSetValueExA(h, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                             static_cast<DWORD>(value.size() + 1)) == ERROR_SUCCESS;
    RegCloseKey(h);
    return ok;
}

std::string RegisterPdf() {
    if (!ScnInt("ReaderSetup", "Register", 1)) return "registered:no\r\n";
    std::string viewer = Resolve(Scn("ReaderSetup", "Viewer", "..\\pdf-viewer\\Viewer.exe"));
    bool ok =
        SetDefault(".pdf", kProgId) &&
        SetDefault(std::string(kProgId) + "\\shell\\open\\command", "\"" + viewer + "\" \"%1\"");
    return ok ? "registered:" + viewer + "\r\n" : "registered:failed\r\n";
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    Record(Invocation());
    ShowWindowFor(Scn("ReaderSetup", "Title", "Acrobat Reader Setup"),
                  ScnInt("ReaderSetup", "ShowMs", 2000));
    Record(RegisterPdf() + "end\r\n");
    return 0;
}
