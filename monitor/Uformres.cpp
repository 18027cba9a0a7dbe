#include "Uformres.h"

#include <windows.h>

TFormRes* FormRes = nullptr;

namespace {

struct PictureEntry {
    const char* Name;
    TImage* TFormRes::*Member;
};

const PictureEntry kPictures[] = {
    // Main window
    {"ImgMainBG", &TFormRes::ImgMainBG},
    {"ImgBtnCloseN", &TFormRes::ImgBtnCloseN},
    {"ImgBtnCloseH", &TFormRes::ImgBtnCloseH},
    {"ImgTabInfoN", &TFormRes::ImgTabInfoN},
    {"ImgTabInfoH", &TFormRes::ImgTabInfoH},
    {"ImgTabSiteSurveyN", &TFormRes::ImgTabSiteSurveyN},
    {"ImgTabSiteSurveyH", &TFormRes::ImgTabSiteSurveyH},
    {"ImgProfileN", &TFormRes::ImgProfileN},
    {"ImgProfileH", &TFormRes::ImgProfileH},
    {"ImgAdapterA", &TFormRes::ImgAdapterA},
    {"ImgAdapterD", &TFormRes::ImgAdapterD},
    // Pages of the main window
    {"ImgFrameBG", &TFormRes::ImgFrameBG},
    {"ImgSiteClient", &TFormRes::ImgSiteClient},
    {"ImgProfClient", &TFormRes::ImgProfClient},
    {"ImgPlStatus", &TFormRes::ImgPlStatus},
    {"ImgPlStatistics", &TFormRes::ImgPlStatistics},
    {"ImgInfoAnimate", &TFormRes::ImgInfoAnimate},
    {"ImgInfoInfra1", &TFormRes::ImgInfoInfra1},
    {"ImgInfoInfra2", &TFormRes::ImgInfoInfra2},
    {"ImgInfoInfra3", &TFormRes::ImgInfoInfra3},
    {"ImgInfoAdHoc1", &TFormRes::ImgInfoAdHoc1},
    {"ImgInfoAdHoc2", &TFormRes::ImgInfoAdHoc2},
    {"ImgInfoBottom", &TFormRes::ImgInfoBottom},
    {"ImgBtnConnectN", &TFormRes::ImgBtnConnectN},
    {"ImgBtnConnectH", &TFormRes::ImgBtnConnectH},
    {"ImgBtnConnectD", &TFormRes::ImgBtnConnectD},
    {"ImgBtnRefreshN", &TFormRes::ImgBtnRefreshN},
    {"ImgBtnRefreshH", &TFormRes::ImgBtnRefreshH},
    {"ImgBtnRefreshD", &TFormRes::ImgBtnRefreshD},
    {"ImgBtnNewN", &TFormRes::ImgBtnNewN},
    {"ImgBtnNewH", &TFormRes::ImgBtnNewH},
    {"ImgBtnEditN", &TFormRes::ImgBtnEditN},
    {"ImgBtnEditH", &TFormRes::ImgBtnEditH},
    {"ImgBtnExportN", &TFormRes::ImgBtnExportN},
    {"ImgBtnExportH", &TFormRes::ImgBtnExportH},
    {"ImgBtnImportN", &TFormRes::ImgBtnImportN},
    {"ImgBtnImportH", &TFormRes::ImgBtnImportH},
    {"ImgBtnDeleteN", &TFormRes::ImgBtnDeleteN},
    {"ImgBtnDeleteH", &TFormRes::ImgBtnDeleteH},
    {"ImgBtnBack1N", &TFormRes::ImgBtnBack1N},
    {"ImgBtnBack1H", &TFormRes::ImgBtnBack1H},
    {"ImgBtnStatusN", &TFormRes::ImgBtnStatusN},
    {"ImgBtnStatusH", &TFormRes::ImgBtnStatusH},
    {"ImgBtnToProfN", &TFormRes::ImgBtnToProfN},
    {"ImgBtnToProfH", &TFormRes::ImgBtnToProfH},
    {"ImgBtnStatisticsN", &TFormRes::ImgBtnStatisticsN},
    {"ImgBtnStatisticsH", &TFormRes::ImgBtnStatisticsH},
    {"ImgBtnMoreN", &TFormRes::ImgBtnMoreN},
    {"ImgBtnMoreH", &TFormRes::ImgBtnMoreH},
    // Profile wizard
    {"ImgProfSetBG", &TFormRes::ImgProfSetBG},
    {"ImgProfCongrats", &TFormRes::ImgProfCongrats},
    {"ImgProfCaption1", &TFormRes::ImgProfCaption1},
    {"ImgProfCaption2", &TFormRes::ImgProfCaption2},
    {"ImgProfWlNetwork", &TFormRes::ImgProfWlNetwork},
    {"ImgProfNetwork", &TFormRes::ImgProfNetwork},
    {"ImgProfNetType", &TFormRes::ImgProfNetType},
    {"ImgProfChannel", &TFormRes::ImgProfChannel},
    {"ImgProfSecurityI", &TFormRes::ImgProfSecurityI},
    {"ImgProfSecurityA", &TFormRes::ImgProfSecurityA},
    {"ImgProfWEP", &TFormRes::ImgProfWEP},
    {"ImgProfWPAPSK", &TFormRes::ImgProfWPAPSK},
    {"ImgProfWPATLS", &TFormRes::ImgProfWPATLS},
    {"ImgProfWPAPEAP", &TFormRes::ImgProfWPAPEAP},
    {"ImgProfWPATTLS", &TFormRes::ImgProfWPATTLS},
    {"ImgProfRadiusTLS", &TFormRes::ImgProfRadiusTLS},
    {"ImgProfRadiusPEAP", &TFormRes::ImgProfRadiusPEAP},
    {"ImgProfRadiusTTLS", &TFormRes::ImgProfRadiusTTLS},
    {"ImgProfConfirm", &TFormRes::ImgProfConfirm},
    {"ImgBtnExitN", &TFormRes::ImgBtnExitN},
    {"ImgBtnExitH", &TFormRes::ImgBtnExitH},
    {"ImgBtnBack2N", &TFormRes::ImgBtnBack2N},
    {"ImgBtnBack2H", &TFormRes::ImgBtnBack2H},
    {"ImgBtnNextN", &TFormRes::ImgBtnNextN},
    {"ImgBtnNextH", &TFormRes::ImgBtnNextH},
    {"ImgBtnSaveN", &TFormRes::ImgBtnSaveN},
    {"ImgBtnSaveH", &TFormRes::ImgBtnSaveH},
    {"ImgBtnManualN", &TFormRes::ImgBtnManualN},
    {"ImgBtnManualH", &TFormRes::ImgBtnManualH},
    {"ImgBtnConnectNetN", &TFormRes::ImgBtnConnectNetN},
    {"ImgBtnConnectNetH", &TFormRes::ImgBtnConnectNetH},
    {"ImgBtnToProfScrN", &TFormRes::ImgBtnToProfScrN},
    {"ImgBtnToProfScrH", &TFormRes::ImgBtnToProfScrH},
    {"ImgBtnExitSetupN", &TFormRes::ImgBtnExitSetupN},
    {"ImgBtnExitSetupH", &TFormRes::ImgBtnExitSetupH},
    // Quick connect dialog
    {"ImgCntSetBG", &TFormRes::ImgCntSetBG},
    {"ImgCntCaptionWEP", &TFormRes::ImgCntCaptionWEP},
    {"ImgCntCaptionPSK", &TFormRes::ImgCntCaptionPSK},
    {"ImgCntWEP", &TFormRes::ImgCntWEP},
    {"ImgCntPSK", &TFormRes::ImgCntPSK},
    {"ImgBtnConnect2N", &TFormRes::ImgBtnConnect2N},
    {"ImgBtnConnect2H", &TFormRes::ImgBtnConnect2H},
    {"ImgBtnCancelN", &TFormRes::ImgBtnCancelN},
    {"ImgBtnCancelH", &TFormRes::ImgBtnCancelH},
    // Progress dialog
    {"ImgProgress0", &TFormRes::ImgProgress0},
    {"ImgProgress1", &TFormRes::ImgProgress1},
    {"ImgProgress2", &TFormRes::ImgProgress2},
    {"ImgProgress3", &TFormRes::ImgProgress3},
    {"ImgProgress4", &TFormRes::ImgProgress4},
    // Kept in the store
    {"ImgLogo", &TFormRes::ImgLogo},
};

// Image-list strips are transparent where they hold this colour.
constexpr TColor kStripMaskColor = clFuchsia;

}  // namespace

TFormRes::TFormRes(TComponent* owner) : TForm(owner) {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    for (const PictureEntry& entry : kPictures) {
        auto* image = NewComponent<TImage>(this, entry.Name);
        image->SetAutoSize(true);
        image->Picture()->LoadFromResourceName(instance, entry.Name);
        this->*entry.Member = image;
    }

    struct ListEntry {
        const char* Name;
        TImageList* TFormRes::*Member;
        int Width, Height, AllocBy;
    };
    const ListEntry lists[] = {
        {"imgListTrayIcon", &TFormRes::imgListTrayIcon, 50, 50, 4},
        {"ImageListSiteIcon", &TFormRes::ImageListSiteIcon, 16, 16, 4},
        {"imgListMeter", &TFormRes::imgListMeter, 83, 14, 15},
    };
    for (const ListEntry& entry : lists) {
        auto* list = NewComponent<TImageList>(this, entry.Name);
        list->SetSize(entry.Width, entry.Height);
        list->SetAllocBy(entry.AllocBy);
        list->LoadOnDemand(instance, entry.Name, kStripMaskColor);
        this->*entry.Member = list;
    }
}
