// A picture that behaves as a button by swapping its picture: push buttons that light up
// under the mouse, tab buttons of which one in a group is selected, clickable pictures and
// picture meters. Faces: 0 normal; 1 hot, pressed or selected; 3 disabled.
#pragma once

#include <windows.h>

#include "../classlib/Controls.h"
#include "../classlib/ExtCtrls.h"
#include "../classlib/ImgList.h"

enum TQXImageStyle { qsButton, qsPushButton, qsTabButton };
enum TQXImageSource { qsrcImageList, qsrcImage };

class TQXImage : public TImage {
public:
    static constexpr int kImageSlots = 8;

    explicit TQXImage(TComponent* owner);

    // Face slots, not owned: index n shows Image<n>'s picture with the picture source.
    TImage* GetImage(int index) const;
    // Image0 shows its picture at once and becomes current; the others are only stored.
    void SetImage(int index, TImage* image);
    TImage* Image0() const { return images_[0]; }
    void SetImage0(TImage* image);
    TQXImageStyle ImageStyle() const { return imageStyle_; }
    void SetImageStyle(TQXImageStyle style) { imageStyle_ = style; }
    TQXImageSource ImageSource() const { return imageSource_; }
    void SetImageSource(TQXImageSource source) {
        imageSource_ = source;
        listImageShown_ = false;
    }
    // Not owned; setting it shows face 0.
    TImageList* ImageList() const { return imageList_; }
    void SetImageList(TImageList* list);
    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int index);
    // Face 1 while the mouse is over the enabled control.
    bool MouseOverEffect() const { return mouseOverEffect_; }
    void SetMouseOverEffect(bool effect) { mouseOverEffect_ = effect; }

    void SetEnabled(bool enabled) override;
    // After a layout has set the properties: shows the current slot's picture.
    void Loaded();

    void WndProc(TMessage& msg) override;

protected:
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void CMMouseEnter();
    void CMMouseLeave();

private:
    TImage* images_[kImageSlots] = {};
    TQXImageStyle imageStyle_ = qsButton;
    TQXImageSource imageSource_ = qsrcImageList;
    TImageList* imageList_ = nullptr;
    int imageIndex_ = 0;
    bool listImageShown_ = false;  // the picture holds image imageIndex_ of imageList_
    bool mouseOverEffect_ = false;
    bool mouseInside_ = false;
};
