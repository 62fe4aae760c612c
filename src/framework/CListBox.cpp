#include "framework/CListBox.h"

#include <QComboBox>
#include <QListWidget>
#include <QSignalBlocker>

#include "framework/ControlText.h"

int CListBox::AddString(std::u16string_view text) {
    if (auto* list = qobject_cast<QListWidget*>(widget())) {
        list->addItem(framework::ToQString(text));
        return list->count() - 1;
    }
    if (auto* combo = qobject_cast<QComboBox*>(widget())) {
        combo->addItem(framework::ToQString(text));
        return combo->count() - 1;
    }
    return LB_ERR;
}

int CListBox::GetCount() const {
    if (const auto* list = qobject_cast<const QListWidget*>(widget())) return list->count();
    if (const auto* combo = qobject_cast<const QComboBox*>(widget())) return combo->count();
    return 0;
}

int CListBox::GetCurSel() const {
    // The selected line, not the list's current one: a list given the focus makes its
    // first line current without selecting it.
    if (const auto* list = qobject_cast<const QListWidget*>(widget())) {
        const auto selected = list->selectedItems();
        return selected.isEmpty() ? LB_ERR : list->row(selected.front());
    }
    if (const auto* combo = qobject_cast<const QComboBox*>(widget())) return combo->currentIndex();
    return LB_ERR;
}

int CListBox::SetCurSel(int index) {
    const bool inside = index >= 0 && index < GetCount();
    // A selection the program makes is no news to the program: no LBN_SELCHANGE.
    const QSignalBlocker quiet(widget());
    if (auto* list = qobject_cast<QListWidget*>(widget())) {
        list->setCurrentRow(inside ? index : -1);
        if (!inside) list->clearSelection();
        if (inside) list->scrollToItem(list->item(index));
    } else if (auto* combo = qobject_cast<QComboBox*>(widget())) {
        combo->setCurrentIndex(inside ? index : -1);
    }
    return inside ? index : LB_ERR;
}

std::u16string CListBox::GetText(int index) const {
    if (const auto* list = qobject_cast<const QListWidget*>(widget()))
        return index >= 0 && index < list->count() ? framework::FromQString(list->item(index)->text()) : u"";
    if (const auto* combo = qobject_cast<const QComboBox*>(widget())) return framework::FromQString(combo->itemText(index));
    return {};
}

void CListBox::ResetContent() {
    if (auto* list = qobject_cast<QListWidget*>(widget())) list->clear();
    else if (auto* combo = qobject_cast<QComboBox*>(widget())) combo->clear();
}

void CComboBox::SetDropDownItems(int count) {
    auto* combo = qobject_cast<QComboBox*>(widget());
    if (combo == nullptr) return;
    combo->setMaxVisibleItems(std::max(1, count));
    // The style would otherwise open a list that is not editable over its box, all its
    // items tall whatever the count; dropped below the box, the list keeps the count.
    combo->setStyleSheet(QStringLiteral("QComboBox { combobox-popup: 0; }"));
}
