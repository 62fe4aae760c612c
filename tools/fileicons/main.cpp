// Draws the small icons the file list shows into resources/bitmaps: a folder (560), a
// WAV sound (561) and any other file (562), each 16 x 16 as ID.png and 32 x 32 as
// ID@2x.png for screens of 192 dots per inch; and the forms' help button, up (539) and
// pressed (538), as ID@2x.png beside the 16 x 16 XPM it keeps. Drawn in a 16-unit grid
// so both sizes come from the same strokes.
//   kivo_file_icons resources/bitmaps

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <cstdio>
#include <functional>
#include <initializer_list>

namespace {

constexpr int kSize = 16;
const QColor kOutline(60, 60, 60);

void folder_icon(QPainter& p) {
    QPainterPath back;
    back.moveTo(1.5, 3.5);
    back.lineTo(6, 3.5);
    back.lineTo(7.5, 5);
    back.lineTo(14.5, 5);
    back.lineTo(14.5, 13.5);
    back.lineTo(1.5, 13.5);
    back.closeSubpath();
    p.setPen(QPen(QColor(150, 110, 20), 1));
    p.setBrush(QColor(240, 200, 80));
    p.drawPath(back);
    QPainterPath front;
    front.moveTo(1.5, 13.5);
    front.lineTo(3, 7.5);
    front.lineTo(15.5, 7.5);
    front.lineTo(14.5, 13.5);
    front.closeSubpath();
    p.setBrush(QColor(255, 225, 120));
    p.drawPath(front);
}

// A sheet of paper with its top right corner folded over.
void page(QPainter& p) {
    QPainterPath sheet;
    sheet.moveTo(3.5, 1.5);
    sheet.lineTo(10, 1.5);
    sheet.lineTo(13.5, 5);
    sheet.lineTo(13.5, 14.5);
    sheet.lineTo(3.5, 14.5);
    sheet.closeSubpath();
    p.setPen(QPen(kOutline, 1));
    p.setBrush(Qt::white);
    p.drawPath(sheet);
    QPainterPath corner;
    corner.moveTo(10, 1.5);
    corner.lineTo(10, 5);
    corner.lineTo(13.5, 5);
    p.setBrush(QColor(210, 210, 210));
    p.drawPath(corner);
}

void other_file(QPainter& p) {
    page(p);
    p.setPen(QPen(QColor(150, 150, 150), 1));
    for (const double y : {7.5, 9.5, 11.5}) p.drawLine(QPointF(5.5, y), QPointF(11.5, y));
}

// The page with a blue note on it: a sound.
void wav_file(QPainter& p) {
    page(p);
    const QColor note(20, 70, 190);
    p.setPen(QPen(note, 1.2));
    p.drawLine(QPointF(10, 6), QPointF(10, 11.5));
    p.drawLine(QPointF(10, 6), QPointF(12, 7));
    p.setPen(Qt::NoPen);
    p.setBrush(note);
    p.drawEllipse(QPointF(8.6, 11.8), 1.8, 1.4);
}

// The help button's round "?": blue on white when pressed, white on blue when up.
void help_button(QPainter& p, bool pressed) {
    const QColor rim(0x00, 0x3C, 0x8C), blue(0x00, 0x50, 0xC8);
    p.setPen(QPen(rim, 1));
    p.setBrush(pressed ? QColor(Qt::white) : blue);
    p.drawEllipse(QPointF(8, 8), 7.5, 7.5);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(12);
    font.setBold(true);
    p.setFont(font);
    p.setPen(pressed ? blue : QColor(Qt::white));
    p.drawText(QRectF(0, 0.5, 16, 16), Qt::AlignCenter, QStringLiteral("?"));
}

bool save(const QString& folder, int id, const std::function<void(QPainter&)>& draw,
          std::initializer_list<int> scales = {1, 2}) {
    for (const int scale : scales) {
        QImage image(kSize * scale, kSize * scale, QImage::Format_ARGB32);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.scale(scale, scale);
        draw(painter);
        painter.end();
        const QString name = scale == 1 ? QStringLiteral("%1.png").arg(id) : QStringLiteral("%1@2x.png").arg(id);
        if (!image.save(QDir(folder).filePath(name), "PNG")) return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    // Drawing needs no screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: kivo_file_icons FOLDER\n");
        return 2;
    }
    const QString out = QString::fromLocal8Bit(argv[1]);
    const bool ok = save(out, 560, folder_icon) && save(out, 561, wav_file) && save(out, 562, other_file) &&
                    save(out, 539, [](QPainter& p) { help_button(p, false); }, {2}) &&
                    save(out, 538, [](QPainter& p) { help_button(p, true); }, {2});
    if (!ok) std::fprintf(stderr, "kivo_file_icons: cannot write the icons into %s\n", argv[1]);
    return ok ? 0 : 1;
}
