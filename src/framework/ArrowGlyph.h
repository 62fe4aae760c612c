#pragma once
// The filled triangle of a spinner's arrows and a drop-down list's caret, drawn to a size
// the control gives: the style's own arrows keep their 96-dpi size and are specks on a
// 192-dpi screen.

#include <QColor>
#include <QPointF>

class QPainter;
class QWidget;

namespace framework {

// A triangle pointing up or down, `half` its half width and its height, centred on `centre`.
void DrawArrowGlyph(QPainter& painter, QPointF centre, double half, bool up, const QColor& color);

// The colour of a control's arrow: its text's, dimmed while the control is disabled.
QColor ArrowColor(const QWidget& control);

}  // namespace framework
