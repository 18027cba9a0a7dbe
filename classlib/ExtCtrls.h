// Pictures, bevel lines and timers.
#pragma once

#include <windows.h>

#include "Controls.h"
#include "Graphics.h"

// A windowless picture, drawn unscaled from its top left (or stretched).
class TImage : public TGraphicControl {
public:
    explicit TImage(TComponent* owner);

    TPicture* Picture() { return &picture_; }
    // Takes the picture's size whenever the picture changes.
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool autoSize);
    bool Stretch() const { return stretch_; }
    void SetStretch(bool stretch);

protected:
    void Paint() override;

private:
    void PictureChanged();

    TPicture picture_;
    bool autoSize_ = false;
    bool stretch_ = false;
};

enum TBevelShape { bsBox, bsTopLine, bsBottomLine };
enum TBevelStyle { bsLowered, bsRaised };

// An etched frame or line.
class TBevel : public TGraphicControl {
public:
    explicit TBevel(TComponent* owner);

    TBevelShape Shape() const { return shape_; }
    void SetShape(TBevelShape shape);
    TBevelStyle Style() const { return style_; }
    void SetStyle(TBevelStyle style);

protected:
    void Paint() override;

private:
    TBevelShape shape_ = bsBox;
    TBevelStyle style_ = bsLowered;
};

// Runs OnTimer every Interval milliseconds while Enabled (the default) on the
// thread that made it.
class TTimer : public TComponent {
public:
    explicit TTimer(TComponent* owner);
    ~TTimer() override;

    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    UINT Interval() const { return interval_; }
    // A new interval starts counting now.
    void SetInterval(UINT interval);

    TNotifyEvent OnTimer;

private:
    void Update();

    TUtilityWindow window_;
    bool enabled_ = true;
    UINT interval_ = 1000;
};
