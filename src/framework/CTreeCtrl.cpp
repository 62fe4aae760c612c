#include "framework/CTreeCtrl.h"

#include <QSignalBlocker>
#include <QTreeWidget>

#include "framework/ControlFactory.h"
#include "framework/ControlText.h"
#include "framework/DialogTemplate.h"
#include "framework/WindowMessages.h"

namespace {

// Whether an item's children have been asked for.
constexpr int kFilledRole = Qt::UserRole + 1;

QTreeWidget* tree_of(QWidget* widget) { return qobject_cast<QTreeWidget*>(widget); }

void visible_below(QTreeWidgetItem* item, std::vector<HTREEITEM>& out) {
    out.push_back(item);
    if (!item->isExpanded()) return;
    for (int child = 0; child < item->childCount(); ++child) visible_below(item->child(child), out);
}

}  // namespace

CTreeCtrl::~CTreeCtrl() = default;

bool CTreeCtrl::Create(CWnd* parent, const CRect& rect, int id) {
    if (parent == nullptr || parent->widget() == nullptr || widget() != nullptr) return false;
    QWidget* tree = framework::ControlFactory::MakeTree(parent->widget());
    tree->setGeometry(rect.left, rect.top, rect.Width(), rect.Height());
    tree->hide();
    Attach(tree, id, parent, framework::KindName(framework::ControlKind::TreeView));
    AdoptWidget(tree);
    Hook();
    return true;
}

// A tree made from a template is hooked when it gets its first item.
void CTreeCtrl::Hook() {
    auto* tree = tree_of(widget());
    if (hooked_ || tree == nullptr) return;
    hooked_ = true;
    QObject::connect(tree, &QTreeWidget::itemExpanded, tree, [this](QTreeWidgetItem* item) { Fill(item); });
    QObject::connect(tree, &QTreeWidget::itemClicked, tree, [this](QTreeWidgetItem* item) { ChooseItem(item); });
}

HTREEITEM CTreeCtrl::InsertItem(std::u16string_view text, HTREEITEM parent, bool may_have_children) {
    auto* tree = tree_of(widget());
    if (tree == nullptr) return nullptr;
    Hook();
    auto* item = new QTreeWidgetItem(QStringList{framework::ToQString(text)});
    item->setData(0, kFilledRole, !may_have_children);
    if (may_have_children) item->setChildIndicatorPolicy(QTreeWidgetItem::ShowIndicator);
    if (parent == TVI_ROOT) tree->addTopLevelItem(item);
    else parent->addChild(item);
    return item;
}

void CTreeCtrl::DeleteAllItems() {
    if (auto* tree = tree_of(widget())) tree->clear();
}

std::u16string CTreeCtrl::GetItemText(HTREEITEM item) const {
    return item != nullptr ? framework::FromQString(item->text(0)) : std::u16string();
}

HTREEITEM CTreeCtrl::GetRootItem() const {
    auto* tree = tree_of(widget());
    return tree != nullptr ? tree->topLevelItem(0) : nullptr;
}

HTREEITEM CTreeCtrl::GetParentItem(HTREEITEM item) const { return item != nullptr ? item->parent() : nullptr; }

HTREEITEM CTreeCtrl::GetChildItem(HTREEITEM item) const {
    return item != nullptr && item->childCount() > 0 ? item->child(0) : nullptr;
}

HTREEITEM CTreeCtrl::GetNextSiblingItem(HTREEITEM item) const {
    if (item == nullptr) return nullptr;
    if (QTreeWidgetItem* parent = item->parent()) {
        const int next = parent->indexOfChild(item) + 1;
        return next < parent->childCount() ? parent->child(next) : nullptr;
    }
    auto* tree = tree_of(widget());
    if (tree == nullptr) return nullptr;
    const int next = tree->indexOfTopLevelItem(item) + 1;
    return next < tree->topLevelItemCount() ? tree->topLevelItem(next) : nullptr;
}

HTREEITEM CTreeCtrl::FindChild(HTREEITEM parent, std::u16string_view text) const {
    for (HTREEITEM child = GetChildItem(parent); child != nullptr; child = GetNextSiblingItem(child))
        if (GetItemText(child) == text) return child;
    return nullptr;
}

void CTreeCtrl::Fill(HTREEITEM item) {
    if (item == nullptr || item->data(0, kFilledRole).toBool()) return;
    item->setData(0, kFilledRole, true);
    OnItemExpanding(item);
    if (item->childCount() == 0) item->setChildIndicatorPolicy(QTreeWidgetItem::DontShowIndicator);
}

bool CTreeCtrl::Expand(HTREEITEM item, bool expand) {
    if (item == nullptr || tree_of(widget()) == nullptr) return false;
    if (expand) Fill(item);
    item->setExpanded(expand);
    return true;
}

bool CTreeCtrl::IsExpanded(HTREEITEM item) const { return item != nullptr && item->isExpanded(); }

bool CTreeCtrl::IsFilled(HTREEITEM item) const { return item != nullptr && item->data(0, kFilledRole).toBool(); }

bool CTreeCtrl::SelectItem(HTREEITEM item) {
    auto* tree = tree_of(widget());
    if (tree == nullptr || item == nullptr) return false;
    const QSignalBlocker quiet(tree);
    tree->setCurrentItem(item);
    tree->scrollToItem(item);
    return true;
}

HTREEITEM CTreeCtrl::GetSelectedItem() const {
    auto* tree = tree_of(widget());
    return tree != nullptr ? tree->currentItem() : nullptr;
}

bool CTreeCtrl::ChooseItem(HTREEITEM item) {
    if (!SelectItem(item)) return false;
    OnItemChosen(item);
    return true;
}

void CTreeCtrl::OnItemChosen(HTREEITEM /*item*/) {
    if (GetParent() == nullptr) return;
    GetParent()->WindowProc(framework::WM_COMMAND,
                            framework::MAKEWPARAM(static_cast<unsigned>(GetDlgCtrlID()), framework::LBN_SELCHANGE),
                            reinterpret_cast<ce::LPARAM>(GetSafeHwnd()));
}

std::vector<HTREEITEM> CTreeCtrl::VisibleItems() const {
    std::vector<HTREEITEM> items;
    auto* tree = tree_of(widget());
    if (tree == nullptr) return items;
    for (int top = 0; top < tree->topLevelItemCount(); ++top) visible_below(tree->topLevelItem(top), items);
    return items;
}

int CTreeCtrl::GetItemDepth(HTREEITEM item) const {
    int depth = 0;
    for (HTREEITEM up = GetParentItem(item); up != nullptr; up = up->parent()) ++depth;
    return depth;
}

CRect CTreeCtrl::GetItemRect(HTREEITEM item) const {
    auto* tree = tree_of(widget());
    if (tree == nullptr || item == nullptr) return {};
    QRect area = tree->visualItemRect(item);
    if (area.isEmpty() || !tree->viewport()->rect().intersects(area)) return {};
    area.translate(tree->viewport()->mapTo(tree, QPoint(0, 0)));
    return {area.left(), area.top(), area.right() + 1, area.bottom() + 1};
}
