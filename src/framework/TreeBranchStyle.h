#pragma once
// The expand box of a tree's item as the handheld draws it: a square with "+" while the
// item is closed and "-" while open, sized for the handheld's screen. Qt's styles draw
// their arrow at one size whatever the handheld's dots per inch, too small to tap at 192.

#include <QProxyStyle>

namespace framework {

class TreeBranchStyle : public QProxyStyle {
public:
    // `box`: the square's side in screen pixels.
    explicit TreeBranchStyle(int box);

    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget = nullptr) const override;

private:
    int box_;
};

}  // namespace framework
