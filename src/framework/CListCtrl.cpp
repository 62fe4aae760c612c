#include "framework/CListCtrl.h"

#include <QHeaderView>
#include <QIcon>
#include <QPixmap>
#include <QSignalBlocker>
#include <QTreeWidget>

#include "framework/CBitmap.h"
#include "framework/ControlFactory.h"
#include "framework/ControlText.h"
#include "framework/Screen.h"

namespace {

QTreeWidget* tree_of(QWidget* widget) { return qobject_cast<QTreeWidget*>(widget); }

}  // namespace

bool CListCtrl::Create(CWnd* parent, const CRect& rect, int id) {
    if (parent == nullptr || parent->widget() == nullptr || widget() != nullptr) return false;
    QWidget* tree = framework::ControlFactory::MakeReportList(parent->widget());
    tree->setGeometry(rect.left, rect.top, rect.Width(), rect.Height());
    Attach(tree, id, parent, framework::KindName(framework::ControlKind::ReportList));
    AdoptWidget(tree);
    framework::ControlFactory::ConnectNotifications(tree);
    tree->show();
    return true;
}

int CListCtrl::InsertColumn(int column, std::u16string_view heading, int width) {
    auto* tree = tree_of(widget());
    if (tree == nullptr || column < 0) return -1;
    const int count = std::max(tree->columnCount(), column + 1);
    tree->setColumnCount(count);
    tree->headerItem()->setText(column, framework::ToQString(heading));
    tree->setColumnWidth(column, width);
    return column;
}

int CListCtrl::InsertItem(int row, std::u16string_view text) {
    auto* tree = tree_of(widget());
    if (tree == nullptr) return -1;
    const int at = row < 0 || row > tree->topLevelItemCount() ? tree->topLevelItemCount() : row;
    auto* item = new QTreeWidgetItem(QStringList{framework::ToQString(text)});
    tree->insertTopLevelItem(at, item);
    return at;
}

bool CListCtrl::SetItemText(int row, int column, std::u16string_view text) {
    auto* tree = tree_of(widget());
    QTreeWidgetItem* item = tree != nullptr ? tree->topLevelItem(row) : nullptr;
    if (item == nullptr || column < 0) return false;
    item->setText(column, framework::ToQString(text));
    return true;
}

std::u16string CListCtrl::GetItemText(int row, int column) const {
    auto* tree = tree_of(widget());
    const QTreeWidgetItem* item = tree != nullptr ? tree->topLevelItem(row) : nullptr;
    return item != nullptr ? framework::FromQString(item->text(column)) : std::u16string();
}

int CListCtrl::GetItemCount() const {
    auto* tree = tree_of(widget());
    return tree != nullptr ? tree->topLevelItemCount() : 0;
}

bool CListCtrl::DeleteItem(int row) {
    auto* tree = tree_of(widget());
    if (tree == nullptr || row < 0 || row >= tree->topLevelItemCount()) return false;
    delete tree->takeTopLevelItem(row);
    return true;
}

void CListCtrl::DeleteAllItems() {
    if (auto* tree = tree_of(widget())) tree->clear();
}

int CListCtrl::GetSelectedItem() const {
    auto* tree = tree_of(widget());
    if (tree == nullptr) return -1;
    for (int row = 0; row < tree->topLevelItemCount(); ++row)
        if (tree->topLevelItem(row)->isSelected()) return row;
    return -1;
}

bool CListCtrl::SelectItem(int row) {
    auto* tree = tree_of(widget());
    QTreeWidgetItem* item = tree != nullptr ? tree->topLevelItem(row) : nullptr;
    if (item == nullptr) return false;
    const QSignalBlocker quiet(tree);
    tree->clearSelection();
    tree->setCurrentItem(item);
    item->setSelected(true);
    tree->scrollToItem(item);
    return true;
}

bool CListCtrl::IsItemSelected(int row) const {
    auto* tree = tree_of(widget());
    const QTreeWidgetItem* item = tree != nullptr ? tree->topLevelItem(row) : nullptr;
    return item != nullptr && item->isSelected();
}

void CListCtrl::SetRangeSelection(bool range) {
    if (auto* tree = tree_of(widget()))
        tree->setSelectionMode(range ? QAbstractItemView::ContiguousSelection : QAbstractItemView::SingleSelection);
}

int CListCtrl::GetColumnCount() const {
    auto* tree = tree_of(widget());
    return tree != nullptr ? tree->columnCount() : 0;
}

bool CListCtrl::SetColumnWidth(int column, int width) {
    auto* tree = tree_of(widget());
    if (tree == nullptr || column < 0 || column >= tree->columnCount() || width < 0) return false;
    tree->setColumnWidth(column, width);
    return true;
}

int CListCtrl::GetColumnWidth(int column) const {
    auto* tree = tree_of(widget());
    return tree != nullptr && column >= 0 && column < tree->columnCount() ? tree->columnWidth(column) : 0;
}

std::u16string CListCtrl::GetColumnHeading(int column) const {
    auto* tree = tree_of(widget());
    if (tree == nullptr || column < 0 || column >= tree->columnCount()) return {};
    return framework::FromQString(tree->headerItem()->text(column));
}

bool CListCtrl::SetItemIcon(int row, const CBitmap& icon) {
    auto* tree = tree_of(widget());
    QTreeWidgetItem* item = tree != nullptr ? tree->topLevelItem(row) : nullptr;
    if (item == nullptr || !icon.IsLoaded()) return false;
    const auto screen = framework::Screen::current();
    const QSize size(screen.ScaleX(icon.GetSize().cx), screen.ScaleY(icon.GetSize().cy));
    tree->setIconSize(size);
    item->setIcon(0, QIcon(QPixmap::fromImage(icon.image().scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation))));
    return true;
}

CRect CListCtrl::GetItemRect(int row) const {
    auto* tree = tree_of(widget());
    QTreeWidgetItem* item = tree != nullptr ? tree->topLevelItem(row) : nullptr;
    if (item == nullptr) return {};
    QRect area = tree->visualItemRect(item);
    if (area.isEmpty() || !tree->viewport()->rect().intersects(area)) return {};
    area.setLeft(0);
    area.setRight(tree->viewport()->width() - 1);
    area.translate(tree->viewport()->mapTo(tree, QPoint(0, 0)));
    return {area.left(), area.top(), area.right() + 1, area.bottom() + 1};
}
