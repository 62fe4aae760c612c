#pragma once
// The drawing resources every alarm row shares: the two fonts and the small pictures
// (check box, day marks, sound and infrared badges, the buttons' symbols), drawn for
// the screen's scale the first time a row needs them and kept while any row exists;
// drawn again for a new scale when the screen's dpi changes.

#include "framework/CBitmap.h"
#include "framework/CFont.h"

class RowArt {
public:
    enum Picture { kChecked, kUnchecked, kSound, kInfrared, kAdd, kEdit, kDelete, kCopy, kHelp, kPictureCount };

    // The art for the screen as it is now; Acquire and Release count the users.
    static const RowArt& Acquire();
    static void Release();

    const CFont& normal() const { return normal_; }
    const CFont& bold() const { return bold_; }
    const CFont& small() const { return small_; }
    const CBitmap& picture(Picture which) const;
    // Design pixels (96 dpi) to pixels of this screen.
    int x(int design) const;
    int y(int design) const;

private:
    RowArt();
    // Takes the screen's dpi and draws the pictures for it, unless they are for it already.
    void FollowDpi() const;
    void Draw(Picture which, int size) const;

    CFont normal_;
    CFont bold_;
    CFont small_;
    // What the rows hold on to is drawn again in place for a new dpi.
    mutable CBitmap pictures_[kPictureCount];
    mutable int dpi_x_ = 96;
    mutable int dpi_y_ = 96;
    mutable unsigned dpi_changes_ = 0;
    mutable bool drawn_ = false;
};
