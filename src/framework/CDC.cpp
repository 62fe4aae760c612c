#include "framework/CDC.h"

#include <QColor>
#include <QFontMetrics>
#include <QPen>
#include <QString>
#include <QTextLayout>
#include <algorithm>

#include "framework/CBitmap.h"
#include "framework/CFont.h"

namespace {

QColor qcolour(framework::COLORREF colour) {
    return QColor(framework::GetRValue(colour), framework::GetGValue(colour), framework::GetBValue(colour));
}

QRect qrect(const CRect& rect) { return QRect(rect.left, rect.top, rect.Width(), rect.Height()); }

}  // namespace

CDC::CDC(QPaintDevice* device) : painter_(device) {
    painter_.setPen(QPen(Qt::black, 1));
    painter_.setBrush(Qt::NoBrush);
}

void CDC::FillSolidRect(const CRect& rect, framework::COLORREF colour) { painter_.fillRect(qrect(rect), qcolour(colour)); }

void CDC::FillTranslucentRect(const CRect& rect, framework::COLORREF colour, int percent) {
    QColor wash = qcolour(colour);
    wash.setAlpha(std::clamp(percent, 0, 100) * 255 / 100);
    painter_.fillRect(qrect(rect), wash);
}

void CDC::SelectPen(int width, framework::COLORREF colour) {
    painter_.setPen(QPen(qcolour(colour), std::max(1, width), Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
}

void CDC::SelectFont(const CFont& font) { painter_.setFont(font.font()); }

void CDC::SetTextColor(framework::COLORREF colour) {
    QPen pen = painter_.pen();
    pen.setColor(qcolour(colour));
    painter_.setPen(pen);
}

void CDC::RoundRect(const CRect& rect, CSize corner) {
    painter_.setBrush(Qt::NoBrush);
    // Corner ellipse sizes are diameters; Qt takes radii.
    painter_.drawRoundedRect(QRectF(rect.left, rect.top, rect.Width(), rect.Height()), corner.cx / 2.0,
                             corner.cy / 2.0);
}

void CDC::MoveTo(int x, int y) { position_ = QPoint(x, y); }

void CDC::LineTo(int x, int y) {
    painter_.drawLine(position_, QPoint(x, y));
    position_ = QPoint(x, y);
}

namespace {

// The lines of `text` word-wrapped to `width`, as many as fit `height`; the last of them
// cut with an ellipsis when more text follows.
void wrap_words(QTextLayout& layout) {
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
}

QString fitted_lines(const QString& text, const QFont& font, int width, int height) {
    const QFontMetrics metrics(font);
    const int most = std::max(1, height / std::max(1, metrics.lineSpacing()));
    QTextLayout layout(text, font);
    wrap_words(layout);
    QStringList lines;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        if (lines.size() + 1 == most) {
            lines.append(metrics.elidedText(text.mid(line.textStart()).simplified(), Qt::ElideRight, width));
            break;
        }
        lines.append(text.mid(line.textStart(), line.textLength()).trimmed());
    }
    layout.endLayout();
    return lines.join(QLatin1Char('\n'));
}

}  // namespace

void CDC::DrawText(std::u16string_view text, const CRect& rect, unsigned format) {
    if ((format & (DT_WORDBREAK | DT_END_ELLIPSIS)) == (DT_WORDBREAK | DT_END_ELLIPSIS)) {
        const QString whole = QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
        const QStringList lines = fitted_lines(whole, painter_.font(), rect.Width(), rect.Height()).split(QLatin1Char('\n'));
        // Line by line at the spacing the fitting counted with, so the last one counted is whole.
        const int spacing = QFontMetrics(painter_.font()).lineSpacing();
        CRect line = rect;
        for (const QString& each : lines) {
            line.bottom = line.top + spacing;
            DrawText(each.toStdU16String(), line, (format & ~(DT_WORDBREAK | DT_END_ELLIPSIS | DT_VCENTER)) | DT_SINGLELINE);
            line.top += spacing;
        }
        return;
    }
    int flags = 0;
    flags |= (format & DT_CENTER) != 0 ? Qt::AlignHCenter : (format & DT_RIGHT) != 0 ? Qt::AlignRight : Qt::AlignLeft;
    flags |= (format & DT_VCENTER) != 0 ? Qt::AlignVCenter : Qt::AlignTop;
    if ((format & DT_WORDBREAK) != 0) flags |= Qt::TextWordWrap;
    if ((format & DT_SINGLELINE) != 0) flags |= Qt::TextSingleLine;
    if ((format & DT_NOCLIP) != 0) flags |= Qt::TextDontClip;
    painter_.drawText(qrect(rect), flags, QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size())));
}

bool CDC::FitsWrapped(std::u16string_view text, const CRect& rect) const {
    const QFont& font = painter_.font();
    const int most = rect.Height() / std::max(1, QFontMetrics(font).lineSpacing());
    QTextLayout layout(QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size())), font);
    wrap_words(layout);
    int lines = 0;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid() && lines <= most; line = layout.createLine()) {
        line.setLineWidth(rect.Width());
        ++lines;
    }
    layout.endLayout();
    return lines <= most;
}

CSize CDC::GetTextExtent(std::u16string_view text) const {
    const QFontMetrics metrics(painter_.font());
    const QString line = QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
    return {metrics.horizontalAdvance(line), metrics.height()};
}

void CDC::TransparentBlt(const CRect& rect, const CBitmap& bitmap, framework::COLORREF transparent) {
    QImage image = bitmap.image().convertToFormat(QImage::Format_ARGB32);
    const QRgb key = qcolour(transparent).rgb();
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            if ((line[x] | 0xFF000000u) == key) line[x] = 0;
    }
    painter_.drawImage(qrect(rect), image);
}

void CDC::StretchBlt(const CRect& rect, const CBitmap& bitmap) { painter_.drawImage(qrect(rect), bitmap.image()); }
