// The installer front end's main function: the window under the fixed title the monitor's
// profile wizard looks for, and the installer's result log deleted on every way out.
#include <windows.h>

#include "../classlib/Application.h"
#include "Formmainunit.h"
#include "Formprogressunit.h"
#include "Formresourceunit.h"
#include "Setupsettings.h"

namespace {

struct ResponseLogCleanup {
    ~ResponseLogCleanup() { DeleteResponseLog(); }
};

void RunSetupWizard() {
    Application->SetTitle(kSetupWizardTitle);
    Application->Initialize();
    // The picture store first: the window's buttons take their faces from it as they are made.
    ResourceForm = NewForm<TResourceForm>(Application);
    Application->CreateForm(MainForm);
    Application->CreateForm(ProgressForm);
    // Asked to end while the window was made: it is not shown at all.
    Application->ShowMainForm = !Application->Terminated();
    Application->Run();
    Application->DestroyComponents();
    ProgressForm = nullptr;
    MainForm = nullptr;
    ResourceForm = nullptr;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    ResponseLogCleanup cleanup;
    try {
        RunSetupWizard();
    } catch (...) {
        Application->HandleCurrentException(Application);
    }
    return 0;
}
