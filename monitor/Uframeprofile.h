// The main window's third page: the profiles of the driver library's store as the adapter
// worker keeps them, the details of the selected one, and the commands on them: Connect (also a
// double click), New and Edit through the profile wizard, Delete, Import and Export of profile
// files "*.qjw". It is also where the program stores the profile the wizard or the link page has
// prepared in EditProfile (OnProfileStored), and it hands the adapter notifications it receives
// on to the wizard window.
//
// Each row owns a copy of its profile. Every question, prompt and file dialog runs a message
// loop of its own, in which the adapter may go: after each one the page looks again whether an
// adapter is attached and finds its row again by name.
#pragma once

#include <windows.h>

#include "../classlib/ComCtrls.h"
#include "../classlib/Dialogs.h"
#include "../classlib/ExtCtrls.h"
#include "../classlib/StdCtrls.h"
#include "Propertypageframeunit.h"
#include "Qximage.h"
#include "Trifacebtn.h"
#include "Uformmain.h"
#include "Uprofilelogic.h"

class TFrameProfile : public TPropertyPageFrame, public IMainProfilePage, public IMainListPage {
public:
    explicit TFrameProfile(TComponent* owner);

    // Pictures, faces and texts, then an empty page.
    void InitPage() override;
    void ClosePage() override;
    // No rows, no details, every button disabled.
    void ResetPage() override;
    // Attached: the worker's profiles, sorted, the first selected. Detached: an empty page.
    // Either way the wizard window hears of it too.
    void AdapterChanged(CAdapter* adapter, int kind, int reserved) override;
    // Control switched on or off: the buttons follow. The wizard window hears of every event.
    void AdapterEvent(CAdapter* adapter, int type, int value) override;

    // Stores EditProfile: lParam's low byte WizardModeEdit replaces the edited row's profile,
    // anything else adds it or overwrites the profile of that name. True when the store took it.
    bool OnProfileStored(LPARAM lParam) override;
    // Runs the wizard window modally in mode over the page's window (hidden meanwhile) or on
    // the screen; true when it ended with 1. False at once while it shows, or without one.
    bool RunProfileWizard(int mode) override;
    TOpenDialog* ProfileOpenDialog() override { return OpenDlgProf; }
    TOpenDialog* ProfileSaveDialog() override { return SaveDlgProf; }
    TWinControl* PageList() override { return LvProf; }

    // The name prompt of New; true with a name to use.
    bool AskProfileName(AnsiString& name);

    // Handlers.
    void LvProfSelectItem(TObject* sender, TListItem* item, bool selected);
    void LvProfCompare(TObject* sender, TListItem* item1, TListItem* item2, int& compare);
    void ImgProfNameClick(TObject* sender);
    void ImgSSIDClick(TObject* sender);
    void BtnConnectClick(TObject* sender);
    void BtnNewClick(TObject* sender);
    void BtnEditClick(TObject* sender);
    void BtnImportClick(TObject* sender);
    void BtnExportClick(TObject* sender);
    void BtnDeleteClick(TObject* sender);

    // Components, in layout order.
    TImage* ImgBG;
    TImage* ImgClient;
    TQXImage* ImgProfName;
    TQXImage* ImgSSID;
    TListView* LvProf;  // its Tag is the sort direction
    TLabel* LbWlMode;
    TLabel* LbTxRate;
    TLabel* LbChannel;
    TLabel* LbSecurity;
    TLabel* LbAuthen;
    TTrifaceBtn* BtnConnect;
    TTrifaceBtn* BtnNew;
    TTrifaceBtn* BtnEdit;
    TTrifaceBtn* BtnImport;
    TTrifaceBtn* BtnExport;
    TTrifaceBtn* BtnDelete;
    TOpenDialog* OpenDlgProf;
    TSaveDialog* SaveDlgProf;

    CAdapter* Adapter = nullptr;  // while one is attached; not owned
    int SortColumn = kSortByName;
    // The row Edit handed to the wizard; forgotten when that row goes.
    TListItem* EditedItem = nullptr;
    ProfilePageTexts Texts;

protected:
    // The message dialog over the page's window; the button's result.
    virtual int ShowPageMessage(int flags, const AnsiString& text);

private:
    void LoadProfileList();
    void ClearProfileList();
    void ClearProfileDetails();
    void ShowProfileDetails(TListItem* item);
    void UpdateProfileButtons();
    void EnableButtons(TListItem* selected);
    TListItem* FindProfileItem(const AnsiString& name) const;
    TListItem* AddProfileItem(const WLProfile& profile);
    void RemoveProfileItem(TListItem* item);
    void SelectProfileItem(TListItem* item);
    void SortProfileList(int column);
    void ImportProfileFile(const AnsiString& file);
    void FocusList();
    bool ControlOn() const;
    TForm* OwnerForm() const;
    TFormBase* WizardForm() const;
};
