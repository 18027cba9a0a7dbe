// The recipe of the skinned, borderless windows of the monitor and of the installer front end:
// no frame, a rounded region over the client area, placing a dialog over its owner, and moving a
// window by dragging its background picture. Needs nothing of the monitor's settings.
#pragma once

#include <windows.h>

#include "../classlib/Controls.h"
#include "../classlib/Forms.h"
#include "../classlib/Graphics.h"

// The window style bits a skinned window keeps: WS_BORDER, WS_DLGFRAME,
// WS_SYSMENU and WS_THICKFRAME go.
constexpr DWORD kBorderlessStyleMask = 0xFF33FFFFu;

// Borderless window: caption the application title, client size that of
// background (kept when none is given), the style masked, and a rounded region
// of corner x corner over the client area when one can be made.
void MakeBorderless(TForm* form, const TPicture* background, int corner);

// Centres form over owner when that is showing, else on the screen; the halves
// are integer divisions rounded toward zero.
void CentreOver(TForm* form, TForm* owner);

// For the background picture's mouse moves: with the left button held the
// window is moved as if its caption were dragged.
void DragByBackground(TForm* form, TShiftState shift);

// Runs dialog modally in place of owner: when owner is showing, the dialog is centred over it
// and owner hidden meanwhile, then centred over the dialog's last place and shown again;
// otherwise the dialog is centred on the screen. The dialog's modal result.
int RunModalInPlaceOf(TForm* dialog, TForm* owner);
// Runs dialog modally in place of owner, which is showing, wherever the dialog stands: owner
// hidden meanwhile, then centred over the dialog's last place and shown again. The activation
// passes from one to the other, never to another program's window. The dialog's modal result.
int RunModalReplacing(TForm* dialog, TForm* owner);
