// The arrows of drop-down lists, spinners and scroll bars grow with their controls, as the controls
// grow with the handheld's dots per inch: the toolkit's own arrows stay at their 96-dpi
// size and are specks on a 192-dpi screen.

#include <gtest/gtest.h>

#include <QComboBox>
#include <QImage>
#include <QScrollBar>
#include <QStyleFactory>
#include <QStyleOptionComboBox>
#include <QStyleOptionSlider>
#include <memory>

#include "framework/ControlFactory.h"
#include "framework/DialogTemplate.h"
#include "framework/ScrollArrowStyle.h"

namespace {

using framework::ControlKind;
using framework::DialogItem;

// How many pixels of `area` (its frame left out) are well darker than the face around
// the arrow.
int dark_pixels(QWidget& control, const QRect& area) {
    const QImage picture = control.grab().toImage();
    const QRect inside = area.adjusted(3, 3, -3, -3);
    const int face = picture.pixelColor(inside.topLeft()).lightness();
    int dark = 0;
    for (int y = inside.top(); y <= inside.bottom(); ++y)
        for (int x = inside.left(); x <= inside.right(); ++x)
            if (picture.pixelColor(x, y).lightness() < face - 60) ++dark;
    return dark;
}

int caret_of(int scale) {
    QWidget form;
    const DialogItem item{1, ControlKind::DropDownList, u"", framework::WS_VISIBLE, 0, 0, 0, 0};
    auto* box = qobject_cast<QComboBox*>(framework::ControlFactory::Create(item, &form, nullptr));
    EXPECT_NE(box, nullptr);
    if (box == nullptr) return 0;
    box->resize(80 * scale, 20 * scale);
    QStyleOptionComboBox option;
    option.initFrom(box);
    option.rect = box->rect();
    return dark_pixels(*box, box->style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxArrow, box));
}

int spinner_arrows_of(int scale) {
    QWidget form;
    const DialogItem item{1, ControlKind::UpDown, u"", framework::WS_VISIBLE, 0, 0, 0, 0};
    QWidget* spinner = framework::ControlFactory::Create(item, &form, nullptr);
    spinner->resize(12 * scale, 24 * scale);
    return dark_pixels(*spinner, spinner->rect());
}

int scroll_arrow_of(int scale) {
    framework::ScrollArrowStyle style(QStyleFactory::create(QStringLiteral("Fusion")));
    QScrollBar bar(Qt::Vertical);
    bar.setStyle(&style);
    bar.setRange(0, 100);
    bar.setValue(50);
    bar.resize(16 * scale, 100 * scale);
    QStyleOptionSlider option;
    option.initFrom(&bar);
    option.orientation = Qt::Vertical;
    option.rect = bar.rect();
    return dark_pixels(bar, style.subControlRect(QStyle::CC_ScrollBar, &option, QStyle::SC_ScrollBarSubLine, &bar));
}

TEST(ControlArrows, GrowWithTheirControl) {
    const int caret = caret_of(1), large_caret = caret_of(2);
    EXPECT_GT(caret, 0) << "the drop-down list has its caret";
    EXPECT_GE(large_caret, 3 * caret) << "a caret twice as wide and high";
    const int arrows = spinner_arrows_of(1), large_arrows = spinner_arrows_of(2);
    EXPECT_GT(arrows, 0) << "the spinner has its arrows";
    EXPECT_GE(large_arrows, 3 * arrows);
    const int scroll = scroll_arrow_of(1), large_scroll = scroll_arrow_of(2);
    EXPECT_GT(scroll, 0) << "the scroll bar has its arrow";
    EXPECT_GE(large_scroll, 3 * scroll);
}

}  // namespace
