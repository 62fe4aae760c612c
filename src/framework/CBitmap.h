#pragma once
// A bitmap of the program's resources, by its resource number.

#include <QImage>

#include "framework/Geometry.h"

class CBitmap {
public:
    // False when the program holds no bitmap of that number.
    bool LoadBitmap(int resource_id);
    bool IsLoaded() const { return !image_.isNull(); }
    CSize GetSize() const { return {image_.width(), image_.height()}; }
    const QImage& image() const { return image_; }

private:
    QImage image_;
};
