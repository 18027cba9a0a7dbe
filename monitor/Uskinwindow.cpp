#include "Uskinwindow.h"

#include "../classlib/Application.h"
#include "Uformlayout.h"

void MakeBorderless(TForm* form, const TPicture* background, int corner) {
    form->SetCaption(Application->Title());
    HWND hwnd = form->Handle();
    DWORD style = static_cast<DWORD>(GetWindowLongA(hwnd, GWL_STYLE));
    SetWindowLongA(hwnd, GWL_STYLE, static_cast<LONG>(style & kBorderlessStyleMask));
    // The frame goes first, so that the client area is the picture's size without it.
    SetWindowPos(hwnd, nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    if (background) {
        form->SetClientHeight(background->Height());
        form->SetClientWidth(background->Width());
    }
    HRGN region =
        CreateRoundRectRgn(0, 0, form->ClientWidth(), form->ClientHeight(), corner, corner);
    // The window owns the region from here on.
    if (region && !SetWindowRgn(hwnd, region, TRUE)) DeleteObject(region);
}

void DragByBackground(TForm* form, TShiftState shift) {
    if (!(shift & ssLeft)) return;
    ReleaseCapture();
    SendMessageA(form->Handle(), WM_NCLBUTTONDOWN, HTCAPTION, 0);
}

void CentreOver(TForm* form, TForm* owner) {
    int left, top;
    if (owner && owner->Visible()) {
        left = CentredStart(owner->Left(), owner->Width(), form->Width());
        top = CentredStart(owner->Top(), owner->Height(), form->Height());
    } else {
        left = CentredStart(0, Screen->Width(), form->Width());
        top = CentredStart(0, Screen->Height(), form->Height());
    }
    form->SetPosition(poDesigned);
    form->SetBounds(left, top, form->Width(), form->Height());
}

int RunModalInPlaceOf(TForm* dialog, TForm* owner) {
    if (!owner || !owner->Visible()) {
        CentreOver(dialog, nullptr);
        return dialog->ShowModal();
    }
    CentreOver(dialog, owner);
    return RunModalReplacing(dialog, owner);
}

int RunModalReplacing(TForm* dialog, TForm* owner) {
    return dialog->ShowModalInPlaceOf(owner, [dialog, owner] {
        owner->SetBounds(CentredStart(dialog->Left(), dialog->Width(), owner->Width()),
                         CentredStart(dialog->Top(), dialog->Height(), owner->Height()),
                         owner->Width(), owner->Height());
    });
}
