#include "kivo/RowArt.h"

#include <QPainter>
#include <QPainterPath>
#include <memory>

#include "framework/Screen.h"
#include "kivo/ListPalette.h"

namespace {

std::unique_ptr<RowArt> g_art;
int g_users = 0;

QColor qcolour(framework::COLORREF colour) {
    return QColor(framework::GetRValue(colour), framework::GetGValue(colour), framework::GetBValue(colour));
}

// Every picture is drawn on a 16 x 16 design grid, scaled to the bitmap's size.
void DrawCheckBox(QPainter& painter, bool checked) {
    painter.setPen(QPen(checked ? qcolour(kivo_palette::kAccent) : qcolour(kivo_palette::kMuted), 1.4));
    painter.setBrush(checked ? qcolour(kivo_palette::kAccent) : QColor(Qt::white));
    painter.drawRoundedRect(QRectF(1.5, 1.5, 13, 13), 3, 3);
    if (!checked) return;
    painter.setPen(QPen(Qt::white, 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPolyline(QPolygonF({QPointF(4.3, 8.3), QPointF(7, 11), QPointF(11.8, 5)}));
}

void DrawSound(QPainter& painter) {
    const QColor ink = qcolour(kivo_palette::kNightLight);
    painter.setPen(Qt::NoPen);
    painter.setBrush(ink);
    painter.drawPolygon(QPolygonF({QPointF(2, 6), QPointF(5, 6), QPointF(9, 2.5), QPointF(9, 13.5), QPointF(5, 10),
                                   QPointF(2, 10)}));
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(ink, 1.3, Qt::SolidLine, Qt::RoundCap));
    painter.drawArc(QRectF(7, 5, 5, 6), -60 * 16, 120 * 16);
    painter.drawArc(QRectF(6, 2.5, 9, 11), -60 * 16, 120 * 16);
}

void DrawInfrared(QPainter& painter) {
    const QColor red(206, 40, 40);
    painter.setPen(Qt::NoPen);
    painter.setBrush(qcolour(kivo_palette::kInk));
    painter.drawRoundedRect(QRectF(1, 7, 7, 8), 1.5, 1.5);  // the remote's body
    painter.setBrush(red);
    painter.drawEllipse(QPointF(4.5, 7), 2, 2);  // its LED
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(red, 1.3, Qt::SolidLine, Qt::RoundCap));
    painter.drawArc(QRectF(3, 1.5, 9, 9), 0 * 16, 90 * 16);
    painter.drawArc(QRectF(2, -1, 14, 14), 5 * 16, 80 * 16);
}

void DrawSymbol(QPainter& painter, RowArt::Picture which) {
    const QColor ink = qcolour(kivo_palette::kNight);
    QPen pen(ink, 1.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    switch (which) {
        case RowArt::kAdd:
            painter.setPen(QPen(qcolour(kivo_palette::kAccent), 2.6, Qt::SolidLine, Qt::RoundCap));
            painter.drawLine(QPointF(8, 2.5), QPointF(8, 13.5));
            painter.drawLine(QPointF(2.5, 8), QPointF(13.5, 8));
            break;
        case RowArt::kEdit: {
            QPainterPath pencil;
            pencil.moveTo(3, 13);
            pencil.lineTo(3.6, 10.2);
            pencil.lineTo(10.8, 3);
            pencil.lineTo(13, 5.2);
            pencil.lineTo(5.8, 12.4);
            pencil.closeSubpath();
            painter.setBrush(QColor(255, 214, 120));
            painter.drawPath(pencil);
            break;
        }
        case RowArt::kDelete:
            painter.setBrush(QColor(236, 240, 246));
            painter.drawRect(QRectF(4, 5, 8, 9));
            painter.drawLine(QPointF(2.5, 4), QPointF(13.5, 4));
            painter.drawLine(QPointF(6.5, 2), QPointF(9.5, 2));
            painter.setPen(QPen(ink, 1.1));
            painter.drawLine(QPointF(6.7, 7), QPointF(6.7, 12));
            painter.drawLine(QPointF(9.3, 7), QPointF(9.3, 12));
            break;
        case RowArt::kCopy:
            painter.setBrush(QColor(236, 240, 246));
            painter.drawRoundedRect(QRectF(2, 2, 8, 9), 1.2, 1.2);
            painter.setBrush(Qt::white);
            painter.drawRoundedRect(QRectF(6, 5, 8, 9), 1.2, 1.2);
            break;
        case RowArt::kHelp: {
            painter.setBrush(qcolour(kivo_palette::kNightLight));
            painter.setPen(Qt::NoPen);
            painter.drawEllipse(QRectF(1, 1, 14, 14));
            painter.setPen(Qt::white);
            QFont font(QStringLiteral("Arial"));
            font.setBold(true);
            font.setPixelSize(11);
            painter.setFont(font);
            painter.drawText(QRectF(1, 1, 14, 14), Qt::AlignCenter, QStringLiteral("?"));
            break;
        }
        default: break;
    }
}

}  // namespace

const RowArt& RowArt::Acquire() {
    if (g_art == nullptr) g_art.reset(new RowArt());
    ++g_users;
    return *g_art;
}

void RowArt::Release() {
    if (g_users > 0 && --g_users == 0) g_art.reset();
}

RowArt::RowArt() {
    normal_.Create(u"Arial", 8.5, CFont::FW_NORMAL);
    bold_.Create(u"Arial", 11, CFont::FW_BOLD);
    small_.Create(u"Arial", 6.5, CFont::FW_BOLD);
    FollowDpi();
}

void RowArt::FollowDpi() const {
    if (drawn_ && dpi_changes_ == framework::Screen::DpiChanges()) return;
    drawn_ = true;
    dpi_changes_ = framework::Screen::DpiChanges();
    const auto screen = framework::Screen::current();
    dpi_x_ = screen.dpi_x();
    dpi_y_ = screen.dpi_y();
    for (int which = 0; which < kPictureCount; ++which) Draw(static_cast<Picture>(which), screen.ScaleX(16));
}

const CBitmap& RowArt::picture(Picture which) const {
    FollowDpi();
    return pictures_[which];
}

int RowArt::x(int design) const {
    FollowDpi();
    return framework::MulDiv(design, dpi_x_, framework::Screen::kDesignDpi);
}

int RowArt::y(int design) const {
    FollowDpi();
    return framework::MulDiv(design, dpi_y_, framework::Screen::kDesignDpi);
}

void RowArt::Draw(Picture which, int size) const {
    CBitmap& bitmap = pictures_[which];
    if (!bitmap.CreateBitmap(size, size)) return;
    QPainter painter(bitmap.surface());
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / 16.0, size / 16.0);
    switch (which) {
        case kChecked: DrawCheckBox(painter, true); break;
        case kUnchecked: DrawCheckBox(painter, false); break;
        case kSound: DrawSound(painter); break;
        case kInfrared: DrawInfrared(painter); break;
        default: DrawSymbol(painter, which); break;
    }
}
