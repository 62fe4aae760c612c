#pragma once
// A bitmap of the program's resources, by its resource number.

#include <QImage>

#include "framework/Geometry.h"

class CBitmap {
public:
    // False when the program holds no bitmap of that number.
    bool LoadBitmap(int resource_id);
    // A blank (transparent) bitmap of that size in pixels, to draw on off the screen;
    // false for a size that is not positive.
    bool CreateBitmap(int cx, int cy);
    // What a CDC draws on to change the bitmap (null before it is made or loaded).
    QPaintDevice* surface() { return image_.isNull() ? nullptr : &image_; }
    bool IsLoaded() const { return !image_.isNull(); }
    // In design pixels: a picture drawn at twice the size for a fine screen counts half.
    CSize GetSize() const { return {image_.width() / pixel_ratio_, image_.height() / pixel_ratio_}; }
    const QImage& image() const { return image_; }

private:
    QImage image_;
    int pixel_ratio_ = 1;
};
