#pragma once
// The arrows of vertical scroll bars drawn to their buttons' size: the toolkit's own stay
// at their 96-dpi size, specks on a 192-dpi screen, while the bar itself is widened.

#include <QProxyStyle>

namespace framework {

class ScrollArrowStyle : public QProxyStyle {
public:
    // `base` draws everything else; the style takes it over.
    explicit ScrollArrowStyle(QStyle* base) : QProxyStyle(base) {}

    void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option, QPainter* painter,
                            const QWidget* widget = nullptr) const override;
};

}  // namespace framework
