// Draws KIVO's icon for the desktop's menu: an alarm clock with its two bells, ringing,
// in a 256-unit square. One list of shapes is painted twice, as PNG at 48 and 256 pixels
// and written as SVG, so the three pictures are the same drawing.
//   kivo_app_icon resources/desktop

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QTextStream>

#include <cstdio>
#include <vector>

namespace {

constexpr int kGrid = 256;

struct Shape {
    enum class Kind { circle, line } kind;
    double x1, y1, x2_or_radius, y2;  // circle: centre and radius; line: its ends
    QColor fill;                       // circles only; invalid for none
    QColor stroke;
    double width;
};

Shape circle(double x, double y, double r, QColor fill, QColor stroke, double width) {
    return {Shape::Kind::circle, x, y, r, 0, fill, stroke, width};
}
Shape line(double x1, double y1, double x2, double y2, QColor stroke, double width) {
    return {Shape::Kind::line, x1, y1, x2, y2, QColor(), stroke, width};
}

std::vector<Shape> alarm_clock() {
    const QColor ink(40, 44, 52), body(214, 58, 48), bell(240, 176, 48), face(252, 250, 244), hand(40, 44, 52);
    return {
        // Legs and the bells' hammer behind the body.
        line(84, 206, 60, 236, ink, 14),
        line(172, 206, 196, 236, ink, 14),
        line(128, 40, 128, 62, ink, 10),
        circle(128, 34, 10, bell, ink, 6),
        // The bells.
        circle(66, 60, 34, bell, ink, 8),
        circle(190, 60, 34, bell, ink, 8),
        // The body and its face.
        circle(128, 140, 92, body, ink, 8),
        circle(128, 140, 72, face, ink, 4),
        // Hour marks at 12, 3, 6 and 9.
        line(128, 76, 128, 90, ink, 8),
        line(192, 140, 178, 140, ink, 8),
        line(128, 204, 128, 190, ink, 8),
        line(64, 140, 78, 140, ink, 8),
        // Seven o'clock.
        line(128, 140, 98, 176, hand, 12),
        line(128, 140, 128, 88, hand, 8),
        circle(128, 140, 9, hand, hand, 1),
        // It rings.
        line(20, 108, 8, 100, body, 8),
        line(236, 108, 248, 100, body, 8),
        line(22, 136, 6, 136, body, 8),
        line(234, 136, 250, 136, body, 8),
    };
}

void paint(QPainter& painter, const std::vector<Shape>& shapes) {
    for (const Shape& shape : shapes) {
        QPen pen(shape.stroke, shape.width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
        painter.setPen(pen);
        if (shape.kind == Shape::Kind::line) {
            painter.drawLine(QPointF(shape.x1, shape.y1), QPointF(shape.x2_or_radius, shape.y2));
            continue;
        }
        painter.setBrush(shape.fill.isValid() ? QBrush(shape.fill) : Qt::NoBrush);
        painter.drawEllipse(QPointF(shape.x1, shape.y1), shape.x2_or_radius, shape.x2_or_radius);
    }
}

bool write_png(const std::vector<Shape>& shapes, int size, const QString& path) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(static_cast<double>(size) / kGrid, static_cast<double>(size) / kGrid);
    paint(painter, shapes);
    painter.end();
    return image.save(path, "PNG");
}

bool write_svg(const std::vector<Shape>& shapes, const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
    QTextStream out(&file);
    out << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" << kGrid << "\" height=\"" << kGrid
        << "\" viewBox=\"0 0 " << kGrid << ' ' << kGrid << "\">\n"
        << "  <g stroke-linecap=\"round\" stroke-linejoin=\"round\">\n";
    for (const Shape& shape : shapes) {
        const QString stroke = QString("stroke=\"%1\" stroke-width=\"%2\"").arg(shape.stroke.name()).arg(shape.width);
        if (shape.kind == Shape::Kind::line) {
            out << QString("    <line x1=\"%1\" y1=\"%2\" x2=\"%3\" y2=\"%4\" %5/>\n")
                       .arg(shape.x1).arg(shape.y1).arg(shape.x2_or_radius).arg(shape.y2).arg(stroke);
        } else {
            out << QString("    <circle cx=\"%1\" cy=\"%2\" r=\"%3\" fill=\"%4\" %5/>\n")
                       .arg(shape.x1).arg(shape.y1).arg(shape.x2_or_radius)
                       .arg(shape.fill.isValid() ? shape.fill.name() : QString("none")).arg(stroke);
        }
    }
    out << "  </g>\n</svg>\n";
    return out.status() == QTextStream::Ok;
}

}  // namespace

int main(int argc, char** argv) {
    QGuiApplication application(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: kivo_app_icon FOLDER\n");
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    const auto shapes = alarm_clock();
    const bool written = write_svg(shapes, folder.filePath("kivo.svg")) &&
                         write_png(shapes, 48, folder.filePath("kivo-48.png")) &&
                         write_png(shapes, 256, folder.filePath("kivo-256.png"));
    if (!written) std::fprintf(stderr, "kivo_app_icon: cannot write into %s\n", argv[1]);
    return written ? 0 : 1;
}
