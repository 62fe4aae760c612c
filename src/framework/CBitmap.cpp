#include "framework/CBitmap.h"

#include <QFile>
#include <QString>

bool CBitmap::LoadBitmap(int resource_id) {
    // Bitmaps are kept as XPM (text, easy to edit and review) or PNG under resources/bitmaps.
    for (const char* suffix : {".xpm", ".png"}) {
        const QString path = QStringLiteral(":/bitmaps/%1%2").arg(resource_id).arg(QLatin1String(suffix));
        if (QFile::exists(path) && image_.load(path)) return true;
    }
    image_ = QImage();
    return false;
}

bool CBitmap::CreateBitmap(int cx, int cy) {
    if (cx <= 0 || cy <= 0) {
        image_ = QImage();
        return false;
    }
    image_ = QImage(cx, cy, QImage::Format_ARGB32_Premultiplied);
    image_.fill(Qt::transparent);
    return true;
}
