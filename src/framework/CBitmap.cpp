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
