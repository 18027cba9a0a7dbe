// The skin picture store: a window that is never shown and only holds the
// pictures and image lists the other windows and pages take their backgrounds,
// button faces, tray icons and list icons from. Each picture is the program's
// RCDATA resource of the same name; the component carries that name too, so
// FindComponent finds it. It must exist before the windows that use it.
#pragma once

#include "../classlib/ExtCtrls.h"
#include "../classlib/Forms.h"
#include "../classlib/ImgList.h"

class TFormRes : public TForm {
public:
    // Loads every picture and image list; a picture that is missing throws.
    explicit TFormRes(TComponent* owner);

    // Main window
    TImage* ImgMainBG = nullptr;
    TImage* ImgBtnCloseN = nullptr;
    TImage* ImgBtnCloseH = nullptr;
    TImage* ImgTabInfoN = nullptr;
    TImage* ImgTabInfoH = nullptr;
    TImage* ImgTabSiteSurveyN = nullptr;
    TImage* ImgTabSiteSurveyH = nullptr;
    TImage* ImgProfileN = nullptr;
    TImage* ImgProfileH = nullptr;
    TImage* ImgAdapterA = nullptr;
    TImage* ImgAdapterD = nullptr;
    // Pages of the main window
    TImage* ImgFrameBG = nullptr;
    TImage* ImgSiteClient = nullptr;
    TImage* ImgProfClient = nullptr;
    TImage* ImgPlStatus = nullptr;
    TImage* ImgPlStatistics = nullptr;
    TImage* ImgInfoAnimate = nullptr;
    TImage* ImgInfoInfra1 = nullptr;
    TImage* ImgInfoInfra2 = nullptr;
    TImage* ImgInfoInfra3 = nullptr;
    TImage* ImgInfoAdHoc1 = nullptr;
    TImage* ImgInfoAdHoc2 = nullptr;
    TImage* ImgInfoBottom = nullptr;
    TImage* ImgBtnConnectN = nullptr;
    TImage* ImgBtnConnectH = nullptr;
    TImage* ImgBtnConnectD = nullptr;
    TImage* ImgBtnRefreshN = nullptr;
    TImage* ImgBtnRefreshH = nullptr;
    TImage* ImgBtnRefreshD = nullptr;
    TImage* ImgBtnNewN = nullptr;
    TImage* ImgBtnNewH = nullptr;
    TImage* ImgBtnEditN = nullptr;
    TImage* ImgBtnEditH = nullptr;
    TImage* ImgBtnExportN = nullptr;
    TImage* ImgBtnExportH = nullptr;
    TImage* ImgBtnImportN = nullptr;
    TImage* ImgBtnImportH = nullptr;
    TImage* ImgBtnDeleteN = nullptr;
    TImage* ImgBtnDeleteH = nullptr;
    TImage* ImgBtnBack1N = nullptr;
    TImage* ImgBtnBack1H = nullptr;
    TImage* ImgBtnStatusN = nullptr;
    TImage* ImgBtnStatusH = nullptr;
    TImage* ImgBtnToProfN = nullptr;
    TImage* ImgBtnToProfH = nullptr;
    TImage* ImgBtnStatisticsN = nullptr;
    TImage* ImgBtnStatisticsH = nullptr;
    TImage* ImgBtnMoreN = nullptr;
    TImage* ImgBtnMoreH = nullptr;
    // Profile wizard
    TImage* ImgProfSetBG = nullptr;
    TImage* ImgProfCongrats = nullptr;
    TImage* ImgProfCaption1 = nullptr;
    TImage* ImgProfCaption2 = nullptr;
    TImage* ImgProfWlNetwork = nullptr;
    TImage* ImgProfNetwork = nullptr;
    TImage* ImgProfNetType = nullptr;
    TImage* ImgProfChannel = nullptr;
    TImage* ImgProfSecurityI = nullptr;
    TImage* ImgProfSecurityA = nullptr;
    TImage* ImgProfWEP = nullptr;
    TImage* ImgProfWPAPSK = nullptr;
    TImage* ImgProfWPATLS = nullptr;
    TImage* ImgProfWPAPEAP = nullptr;
    TImage* ImgProfWPATTLS = nullptr;
    TImage* ImgProfRadiusTLS = nullptr;
    TImage* ImgProfRadiusPEAP = nullptr;
    TImage* ImgProfRadiusTTLS = nullptr;
    TImage* ImgProfConfirm = nullptr;
    TImage* ImgBtnExitN = nullptr;
    TImage* ImgBtnExitH = nullptr;
    TImage* ImgBtnBack2N = nullptr;
    TImage* ImgBtnBack2H = nullptr;
    TImage* ImgBtnNextN = nullptr;
    TImage* ImgBtnNextH = nullptr;
    TImage* ImgBtnSaveN = nullptr;
    TImage* ImgBtnSaveH = nullptr;
    TImage* ImgBtnManualN = nullptr;
    TImage* ImgBtnManualH = nullptr;
    TImage* ImgBtnConnectNetN = nullptr;
    TImage* ImgBtnConnectNetH = nullptr;
    TImage* ImgBtnToProfScrN = nullptr;
    TImage* ImgBtnToProfScrH = nullptr;
    TImage* ImgBtnExitSetupN = nullptr;
    TImage* ImgBtnExitSetupH = nullptr;
    // Quick connect dialog
    TImage* ImgCntSetBG = nullptr;
    TImage* ImgCntCaptionWEP = nullptr;
    TImage* ImgCntCaptionPSK = nullptr;
    TImage* ImgCntWEP = nullptr;
    TImage* ImgCntPSK = nullptr;
    TImage* ImgBtnConnect2N = nullptr;
    TImage* ImgBtnConnect2H = nullptr;
    TImage* ImgBtnCancelN = nullptr;
    TImage* ImgBtnCancelH = nullptr;
    // Progress dialog
    TImage* ImgProgress0 = nullptr;
    TImage* ImgProgress1 = nullptr;
    TImage* ImgProgress2 = nullptr;
    TImage* ImgProgress3 = nullptr;
    TImage* ImgProgress4 = nullptr;
    // Kept in the store
    TImage* ImgLogo = nullptr;

    // Tray icons (50 x 50): 0 no adapter or control off, 2 attached, 6 to 9 signal steps.
    TImageList* imgListTrayIcon = nullptr;
    // Small icons of the site lists (16 x 16).
    TImageList* ImageListSiteIcon = nullptr;
    // Meter strips 0 to 10 of the link information page (83 x 14).
    TImageList* imgListMeter = nullptr;
};

extern TFormRes* FormRes;
