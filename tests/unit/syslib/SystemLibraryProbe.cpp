// Makes the class library load the system libraries it loads at run time (the common controls,
// the rich edit, the file dialogs), then writes into the file named on its command line where
// each came from: one "name=path" line a library, the path empty when it was not loaded.
#include <windows.h>

#include <fstream>

#include "classlib/Application.h"
#include "classlib/ComCtrls.h"
#include "classlib/CommonControls.h"
#include "classlib/Dialogs.h"
#include "classlib/ExtCtrls.h"
#include "classlib/Forms.h"

namespace {

class TProbeForm : public TForm {
public:
    explicit TProbeForm(TComponent* owner) : TForm(owner) {}
};

// A library of the wrong kind throws or fails here: only where it came from counts.
template <class F>
void Try(F f) {
    try {
        f();
    } catch (...) {
    }
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR cmdLine, int) {
    Application->Initialize();
    Try([] { CommonControls(); });
    Try([] {
        auto* form = NewForm<TProbeForm>(Application);
        auto* rich = new TRichEdit(form);
        rich->SetParent(form);
        rich->HandleNeeded();
    });
    Try([] {
        auto* dialog = new TOpenDialog(Application);
        // Ends the dialog as soon as it shows.
        auto* timer = new TTimer(Application);
        timer->SetInterval(50);
        timer->OnTimer = [dialog](TObject*) {
            if (HWND handle = dialog->Handle()) EndDialog(GetParent(handle), IDCANCEL);
        };
        dialog->Execute();
        timer->SetEnabled(false);
    });
    std::ofstream out(cmdLine, std::ios::binary);
    for (const char* name : {"comctl32.dll", "riched20.dll", "comdlg32.dll"}) {
        char path[MAX_PATH] = {};
        if (HMODULE module = GetModuleHandleA(name)) GetModuleFileNameA(module, path, MAX_PATH);
        out << name << "=" << path << "\n";
    }
    return 0;
}
