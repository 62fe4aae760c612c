#include "framework/CFont.h"

#include <QString>
#include <algorithm>

#include "framework/Screen.h"

bool CFont::Create(std::u16string_view face, double points, int weight) {
    if (face.empty() || !(points > 0) || weight < 1 || weight > 1000) return false;
    font_ = QFont(QString::fromUtf16(face.data(), static_cast<qsizetype>(face.size())));
    points_ = points;
    SizeForScreen();
    // The handheld's faces come in regular and bold only; like the window system, a
    // semi-bold request or heavier is drawn bold.
    font_.setWeight(static_cast<QFont::Weight>(weight >= 600 ? std::max(weight, 700) : weight));
    font_.setStyleStrategy(QFont::PreferAntialias);
    created_ = true;
    return true;
}

const QFont& CFont::font() const {
    if (created_ && dpi_changes_ != framework::Screen::DpiChanges()) SizeForScreen();
    return font_;
}

void CFont::SizeForScreen() const {
    dpi_changes_ = framework::Screen::DpiChanges();
    font_.setPixelSize(std::max(1, framework::Screen::current().PointsToPixels(points_)));
}

CFont CFont::DialogFont() {
    CFont font;
    font.Create(u"Tahoma", 8, FW_NORMAL);
    return font;
}
