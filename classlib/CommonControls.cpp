#include "CommonControls.h"

#include "SysUtils.h"
#include "SystemLibrary.h"

namespace {

template <typename Fn>
void Bind(HMODULE library, const char* name, Fn& fn) {
    fn = reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(library, name)));
    if (!fn) throw Exception(Format("The common controls library has no %s", name));
}

TCommonControls Load() {
    HMODULE library = LoadSystemLibrary("comctl32.dll");  // kept for the program's life
    if (!library) throw Exception("Cannot load the common controls library");
    TCommonControls c = {};
    Bind(library, "InitCommonControlsEx", c.InitCommonControlsEx);
    Bind(library, "ImageList_Create", c.ImageList_Create);
    Bind(library, "ImageList_Destroy", c.ImageList_Destroy);
    Bind(library, "ImageList_Add", c.ImageList_Add);
    Bind(library, "ImageList_Remove", c.ImageList_Remove);
    INITCOMMONCONTROLSEX init = {sizeof(init), ICC_LISTVIEW_CLASSES | ICC_ANIMATE_CLASS};
    c.InitCommonControlsEx(&init);
    return c;
}

}  // namespace

const TCommonControls& CommonControls() {
    // windows are made on the main thread only
    static const TCommonControls controls = Load();
    return controls;
}
