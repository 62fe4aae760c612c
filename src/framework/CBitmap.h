#pragma once
// A bitmap of the program's resources, by its resource number. One loaded for a dpi
// takes the picture made for the new one when the screen's dpi changes.

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
    CSize GetSize() const;
    const QImage& image() const;

private:
    bool Load() const;

    int resource_id_ = 0;  // 0: made by CreateBitmap
    mutable QImage image_;
    mutable int pixel_ratio_ = 1;
    mutable unsigned dpi_changes_ = 0;
};
