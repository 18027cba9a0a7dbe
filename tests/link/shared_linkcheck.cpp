// Links every object of wl_shared with the class library alone: a unit of it that reached for the
// monitor's settings object, driver binding or broadcast message would leave the link unresolved.
// The installer front end links the same. Built, never run.
#include "core/Uforeground.h"
#include "monitor/Propertypageframeunit.h"
#include "monitor/Qximage.h"
#include "monitor/Uskinwindow.h"

int main() {
    // What the installer front end calls, taken by address so nothing runs.
    void (*front)(HWND) = BringWindowToFront;
    void (*borderless)(TForm*, const TPicture*, int) = MakeBorderless;
    void (*centre)(TForm*, TForm*) = CentreOver;
    void (*drag)(TForm*, TShiftState) = DragByBackground;
    return front && borderless && centre && drag ? 0 : 1;
}
