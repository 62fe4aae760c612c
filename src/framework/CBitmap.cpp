#include "framework/CBitmap.h"

#include <QFile>
#include <QImageReader>
#include <QString>

#include "framework/Screen.h"

namespace {

// A screen of at least twice the design resolution takes the picture drawn for it, when
// there is one, so that it is not blown up from the small one.
constexpr int kDoubleDpi = 2 * framework::Screen::kDesignDpi;

// The format is named from the file's ending and not guessed: guessing, the toolkit loads
// every image plugin it has to ask each about the file, on the reminder's way to the screen.
bool load_image(QImage& image, const QString& path) {
    if (!QFile::exists(path)) return false;
    QImageReader reader(path, path.endsWith(QStringLiteral(".xpm")) ? "XPM" : "PNG");
    reader.setAutoDetectImageFormat(false);
    return reader.read(&image);
}

}  // namespace

bool CBitmap::LoadBitmap(int resource_id) {
    resource_id_ = resource_id;
    return Load();
}

bool CBitmap::Load() const {
    const int resource_id = resource_id_;
    dpi_changes_ = framework::Screen::DpiChanges();
    // Bitmaps are kept as XPM (text, easy to edit and review) or PNG under resources/bitmaps;
    // the reminder's pictures are PNG under resources/alert, each with a twice-as-large one,
    // and so are the file list's icons among the bitmaps.
    const bool double_screen = framework::Screen::current().dpi_x() >= kDoubleDpi;
    const QString alert = QStringLiteral(":/alert/%1").arg(resource_id);
    const QString bitmap = QStringLiteral(":/bitmaps/%1").arg(resource_id);
    for (const QString& base : {alert, bitmap}) {
        const QString fine = base + QStringLiteral("@2x.png");
        if (double_screen && load_image(image_, fine)) {
            pixel_ratio_ = 2;
            return true;
        }
    }
    pixel_ratio_ = 1;
    for (const QString& path : {QStringLiteral(":/bitmaps/%1.xpm").arg(resource_id),
                                QStringLiteral(":/bitmaps/%1.png").arg(resource_id), alert + QStringLiteral(".png")})
        if (load_image(image_, path)) return true;
    image_ = QImage();
    return false;
}

const QImage& CBitmap::image() const {
    if (resource_id_ != 0 && dpi_changes_ != framework::Screen::DpiChanges()) Load();
    return image_;
}

CSize CBitmap::GetSize() const {
    const QImage& shown = image();
    return {shown.width() / pixel_ratio_, shown.height() / pixel_ratio_};
}

bool CBitmap::CreateBitmap(int cx, int cy) {
    resource_id_ = 0;
    if (cx <= 0 || cy <= 0) {
        image_ = QImage();
        return false;
    }
    image_ = QImage(cx, cy, QImage::Format_ARGB32_Premultiplied);
    image_.fill(Qt::transparent);
    return true;
}
