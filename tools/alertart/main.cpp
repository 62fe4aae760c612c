// Draws the reminder's pictures into a folder: the background (170) and the sky round
// it (177), the buttons
// (171-176) and the ringing clock (130-169), each at its design size as ID.png and at
// twice that as ID@2x.png for screens of 192 dots per inch, and the Qt resource list
// that compiles them in. With --preview, also a mock of the form on a 240 x 320 and a
// 480 x 640 screen (frame FRAME, pressed buttons with --pressed), to judge them together.
//   kivo_alert_art resources/alert [--preview FILE [FRAME] [--pressed]]

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QStringList>
#include <QTextStream>
#include <cstdio>
#include <functional>
#include <vector>

#include "AlertBackground.h"
#include "AlertButton.h"
#include "AlertPalette.h"
#include "RingingClock.h"

namespace {

using alertart::AlertBackground;
using alertart::AlertButton;
using alertart::RingingClock;

struct Picture {
    int id;
    QSize size;
    QString what;
    std::function<void(QPainter&)> paint;
};

std::vector<Picture> Pictures() {
    std::vector<Picture> pictures;
    for (int frame = 0; frame < RingingClock::kFrames; ++frame)
        pictures.push_back({RingingClock::kFirstId + frame, QSize(RingingClock::kWidth, RingingClock::kHeight),
                            QStringLiteral("ringing clock, frame %1").arg(frame + 1),
                            [frame](QPainter& painter) { RingingClock::Paint(painter, frame); }});
    pictures.push_back({170, QSize(AlertBackground::kSize, AlertBackground::kSize), QStringLiteral("background"),
                        [](QPainter& painter) { AlertBackground::Paint(painter); }});
    pictures.push_back({177, QSize(AlertBackground::kSkySize, AlertBackground::kSkySize),
                        QStringLiteral("the sky beyond the background, on longer screens"),
                        [](QPainter& painter) { AlertBackground::PaintWideSky(painter); }});
    static const char* const kNames[] = {"Dismiss", "Snooze", "snooze length arrow"};
    for (const auto& button : AlertButton::kPictures)
        pictures.push_back({button.id, AlertButton::Place(button.kind).size(),
                            QStringLiteral("%1, %2")
                                .arg(QLatin1String(kNames[static_cast<int>(button.kind)]))
                                .arg(button.pressed ? QStringLiteral("pressed") : QStringLiteral("up")),
                            [button](QPainter& painter) { AlertButton::Paint(painter, button.kind, button.pressed); }});
    return pictures;
}

bool Save(const Picture& picture, int scale, const QString& path) {
    QImage image(picture.size * scale, QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter painter(&image);
    painter.scale(scale, scale);
    picture.paint(painter);
    painter.end();
    return image.save(path, "PNG", 0);  // 0: the smallest file
}

bool WriteResourceList(const QDir& folder, const std::vector<Picture>& pictures) {
    QFile file(folder.filePath(QStringLiteral("alert.qrc")));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text)) return false;
    QTextStream out(&file);
    out << "<!DOCTYPE RCC>\n"
           "<!-- The reminder's pictures, by resource number, drawn by tools/alertart. -->\n"
           "<RCC version=\"1.0\">\n"
           "  <qresource prefix=\"/alert\">\n";
    for (const auto& picture : pictures) {
        out << "    <!-- " << picture.what << " -->\n";
        out << "    <file>" << picture.id << ".png</file>\n";
        out << "    <file>" << picture.id << "@2x.png</file>\n";
    }
    out << "  </qresource>\n"
           "</RCC>\n";
    return out.status() == QTextStream::Ok;
}

// The form as it lays its pictures out, with sample texts, at `scale` on a screen of
// 240 x 320 design pixels (the picture 40 pixels down).
QImage Mock(int scale, int frame, bool pressed) {
    QImage image(QSize(240, 320) * scale, QImage::Format_RGB32);
    image.fill(alertart::kFrameOrange);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(scale, scale);
    painter.translate(0, 40);
    AlertBackground::Paint(painter);
    for (const auto& button : AlertButton::kPictures) {
        // Dismiss and Snooze as asked; the arrow up.
        if (button.pressed != (pressed && button.kind != AlertButton::Kind::arrow)) continue;
        painter.save();
        painter.translate(AlertButton::Place(button.kind).topLeft());
        AlertButton::Paint(painter, button.kind, button.pressed);
        painter.restore();
    }
    painter.save();
    painter.translate(alertart::kAnimation.topLeft());
    RingingClock::Paint(painter, frame);
    painter.restore();
    painter.setPen(alertart::kTimeBlue);
    painter.setFont(alertart::BoldFont(36));
    painter.drawText(QRectF(116, 9, 89, 29), Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("12:30"));
    painter.setFont(alertart::BoldFont(22));
    painter.drawText(QRectF(202, 20, 32, 16), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("AM"));
    painter.setPen(Qt::black);
    painter.setFont(alertart::BoldFont(14));
    painter.drawText(QRectF(43, 195, 47, 15), Qt::AlignCenter, QStringLiteral("5 min"));
    painter.setFont(alertart::BoldFont(12));
    painter.drawText(QRectF(130, 197, 97, 26), Qt::TextWordWrap, QStringLiteral("Team meeting in the big room"));
    return image;
}

bool SavePreview(const QString& path, int frame, bool pressed) {
    const QImage small = Mock(1, frame, pressed);
    const QImage large = Mock(2, frame, pressed);
    QImage both(small.width() + large.width() + 16, large.height(), QImage::Format_RGB32);
    both.fill(Qt::darkGray);
    QPainter painter(&both);
    painter.drawImage(0, 0, small);
    painter.drawImage(small.width() + 16, 0, large);
    painter.end();
    return both.save(path, "PNG");
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    const QStringList arguments = QGuiApplication::arguments();
    if (arguments.size() < 2 || (arguments.size() > 2 && arguments[2] != QStringLiteral("--preview"))) {
        std::fprintf(stderr, "usage: kivo_alert_art FOLDER [--preview FILE [FRAME] [--pressed]]\n");
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    if (!QDir().mkpath(folder.path())) return 1;
    const auto pictures = Pictures();
    for (const auto& picture : pictures)
        for (const int scale : {1, 2}) {
            const QString name = scale == 1 ? QStringLiteral("%1.png").arg(picture.id)
                                            : QStringLiteral("%1@2x.png").arg(picture.id);
            if (!Save(picture, scale, folder.filePath(name))) {
                std::fprintf(stderr, "cannot write %s\n", qPrintable(folder.filePath(name)));
                return 1;
            }
        }
    if (!WriteResourceList(folder, pictures)) return 1;
    if (arguments.size() > 3) {
        const int frame = arguments.size() > 4 ? arguments[4].toInt() % RingingClock::kFrames : 0;
        if (!SavePreview(arguments[3], frame, arguments.contains(QStringLiteral("--pressed")))) return 1;
    }
    std::printf("%zu pictures in %s\n", pictures.size(), qPrintable(folder.path()));
    return 0;
}
