#include "framework/TreeBranchStyle.h"

#include <QPainter>
#include <QStyleOption>

namespace framework {

TreeBranchStyle::TreeBranchStyle(int box) : box_(box | 1) {}  // odd, so the sign has a middle line

void TreeBranchStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                                    const QWidget* widget) const {
    if (element != PE_IndicatorBranch || !(option->state & State_Children)) {
        QProxyStyle::drawPrimitive(element, option, painter, widget);
        return;
    }
    const QPoint middle = option->rect.center();
    const int half = box_ / 2;
    const QRect box(middle.x() - half, middle.y() - half, box_, box_);
    const int line = box_ >= 15 ? 2 : 1;
    const int reach = half - line - 1;  // the sign stops short of the frame
    painter->save();
    painter->setPen(QPen(option->palette.color(QPalette::Dark), line, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    painter->setBrush(option->palette.color(QPalette::Base));
    painter->drawRect(box.adjusted(line / 2, line / 2, -(line + 1) / 2, -(line + 1) / 2));
    painter->setPen(QPen(option->palette.color(QPalette::Text), line, Qt::SolidLine, Qt::FlatCap));
    painter->drawLine(middle.x() - reach, middle.y(), middle.x() + reach, middle.y());
    if (!(option->state & State_Open)) painter->drawLine(middle.x(), middle.y() - reach, middle.x(), middle.y() + reach);
    painter->restore();
}

}  // namespace framework
