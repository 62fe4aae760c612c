#include "framework/CListCtrl.h"

#include <QSignalBlocker>
#include <QTreeWidget>

#include "framework/ControlText.h"

namespace {

QTreeWidget* tree_of(QWidget* widget) { return qobject_cast<QTreeWidget*>(widget); }

}  // namespace

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
    if (tree == nullptr || tree->currentItem() == nullptr) return -1;
    return tree->indexOfTopLevelItem(tree->currentItem());
}

bool CListCtrl::SelectItem(int row) {
    auto* tree = tree_of(widget());
    QTreeWidgetItem* item = tree != nullptr ? tree->topLevelItem(row) : nullptr;
    if (item == nullptr) return false;
    const QSignalBlocker quiet(tree);
    tree->setCurrentItem(item);
    return true;
}
