// The profile wizard: a borderless, skinned window that leads through the pages which edit
// EditProfile, has the main window store the result, and can then connect with it. It runs
// modally in one of three modes: a new profile, an edited one, and the first run when no
// profile is stored. The pages switch through the page host by the wizard's route.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "../classlib/ExtCtrls.h"
#include "../monitor/Trifacebtn.h"
#include "../monitor/Uformbase.h"
#include "../monitor/Uformmain.h"
#include "../monitor/Upagehost.h"
#include "Uwizardrules.h"

class TFrameWlNetwork;
class TFrameNetType;
class TFrameNetwork;
class TFrameChannel;
class TFrameSecurity;
class TFrameConfirm;
class TFrameWEP;
class TFrameWPAPSK;

class TFormProfSet : public TFormBase, public IProfileWizard {
public:
    explicit TFormProfSet(TComponent* owner);

    // Starts a run in mode: every page prepared, the network list page entered. True.
    bool PrepareForm(int mode) override;
    // From the profile page, whether or not the wizard is showing.
    void NotifyPagesAdapterChanged(CAdapter* adapter, int kind, int reserved) override;
    void NotifyPagesAdapterEvent(CAdapter* adapter, int type, int value) override;

    // Next from the current page by the route, and Back to the page it was entered from.
    bool GoNext();
    bool GoBack();
    // The page of a step of the route; null for a step whose page the wizard has not.
    TPropertyPageFrame* PageOf(TWizardPage step) const;
    // The step of a page; None for no page.
    TWizardPage StepOf(TPropertyPageFrame* page) const;
    TPropertyPageFrame* CurrentPage() const { return PageHost.Current(); }
    bool FinishShown() const { return finishShown_; }
    TTrifaceBtn* ButtonOf(TWizardButton button) const;

    TImage* ImgBG;
    TImage* ImgCaption;
    TFrameWlNetwork* FrameWlNetwork1;
    TFrameNetwork* FrameNetwork1;
    TFrameNetType* FrameNetType1;
    TFrameChannel* FrameChannel1;
    TFrameSecurity* FrameSecurity1;
    TFrameWEP* FrameWEP1;
    TFrameWPAPSK* FrameWPAPSK1;
    TFrameConfirm* FrameConfirm1;
    TTrifaceBtn* BtnManual;
    TTrifaceBtn* BtnNext;
    TTrifaceBtn* BtnBack;
    TTrifaceBtn* BtnExit;
    TTrifaceBtn* BtnSave;
    TTrifaceBtn* BtnConnectNet;
    TTrifaceBtn* BtnToProfScr;

    int32_t WizardMode = 0;
    CAdapter* Adapter = nullptr;
    TPageHost PageHost;

    void BtnNextClick(TObject* sender);
    void BtnBackClick(TObject* sender);
    void BtnSaveClick(TObject* sender);
    void BtnExitClick(TObject* sender);
    void BtnConnectNetClick(TObject* sender);
    void BtnToProfScrClick(TObject* sender);

private:
    void FormCreate(TObject* sender);
    void FormShow(TObject* sender);
    void FormClose(TObject* sender, TCloseAction& action);
    void ImgBGMouseMove(TObject* sender, TShiftState shift, int x, int y);
    void ApplyPickedNetwork();

    // A page placed on the window as the route's page of step.
    template <class T>
    T* PlacePage(T* page, TWizardPage step, const char* name) {
        AddRoutePage(page, step, name);
        return page;
    }
    void AddRoutePage(TPropertyPageFrame* page, TWizardPage step, const char* name);
    TTrifaceBtn* MakeButton(TWizardButton button, const char* name,
                            void (TFormProfSet::*click)(TObject*));
    // After a page switch: its caption and its buttons.
    void ShowPageChrome();
    void HideWizardButtons();
    void PlaceButton(TTrifaceBtn* button, int index, bool visible);
    void PlaceStrip(TWizardPage page);
    void ShowFinishPage();
    void UpdateAdapterButtons();
    // bmProfileSaved to the main window; true when its profile page stored EditProfile.
    bool StoreEditProfile();
    void ShowStoreFailed();
    // False, with the user told, when EditProfile cannot be used; nothing is applied then.
    bool ApplyEditProfile();
    void PostPageRequest(LPARAM page);
    // Modal result 1, unless the run has already ended otherwise (bmCloseDialogs).
    void EndRunDone();
    // The same after an apply, while the adapter is attached and control on.
    void EndRunConnected();

    struct TRouteEntry {
        TWizardPage Step;
        TPropertyPageFrame* Page;
    };
    std::vector<TRouteEntry> route_;
    std::array<TTrifaceBtn*, static_cast<size_t>(TWizardButton::Count)> buttons_{};
    int32_t buttonRight_ = kButtonStripRight;
    bool finishShown_ = false;
};

extern TFormProfSet* FormProfSet;

// Posts WM_CLOSE to the first top-level window of class "TApplication" and this title that
// belongs to another process; our own application window has that class too. False when there
// is none.
bool CloseInstallerFrontEnd(const AnsiString& title);
