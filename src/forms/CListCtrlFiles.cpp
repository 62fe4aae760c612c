#include "forms/CListCtrlFiles.h"

#include <QMouseEvent>
#include <QScrollBar>
#include <QTreeWidget>
#include <algorithm>

#include "ce/Files.h"
#include "forms/FolderPath.h"
#include "framework/Screen.h"

namespace {

QTreeWidget* tree_of(QWidget* widget) { return qobject_cast<QTreeWidget*>(widget); }

// The text after the last dot, when the dot is not the last character.
std::u16string extension_of(const std::u16string& name) {
    const auto dot = name.rfind(u'.');
    if (dot == std::u16string::npos || dot + 1 == name.size()) return {};
    return name.substr(dot + 1);
}

}  // namespace

CListCtrlFiles::CListCtrlFiles() {
    folder_icon_.LoadBitmap(kFolderIcon);
    sound_icon_.LoadBitmap(kSoundIcon);
    file_icon_.LoadBitmap(kFileIcon);
}

CListCtrlFiles::~CListCtrlFiles() = default;

bool CListCtrlFiles::Create(CWnd* parent, const CRect& rect, int id) {
    if (!CListCtrl::Create(parent, rect, id)) return false;
    InsertColumn(0, u"Name", rect.Width() / 2);
    InsertColumn(1, u"Date", rect.Width() / 4);
    InsertColumn(2, u"Size", rect.Width() / 4);
    SetRangeSelection(true);
    auto* tree = tree_of(widget());
    // The list scrolls itself while the stylus is held beyond it, at its own pace.
    tree->setAutoScroll(false);
    tree->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    tree->viewport()->installEventFilter(&watch_);
    return true;
}

std::u16string CListCtrlFiles::SearchPattern(const std::vector<std::u16string>& extensions) {
    return extensions.size() == 1 ? u"*." + extensions.front() : u"*";
}

bool CListCtrlFiles::Allowed(const std::u16string& name, const std::vector<std::u16string>& extensions) {
    if (extensions.empty()) return true;
    const std::u16string extension = extension_of(name);
    if (extension.empty()) return false;
    return std::any_of(extensions.begin(), extensions.end(),
                       [&](const std::u16string& allowed) { return FileEntry::SameName(allowed, extension); });
}

void CListCtrlFiles::Refresh(const std::u16string& folder, const std::vector<std::u16string>& extensions,
                             const std::u16string& pending) {
    StopScrolling();
    DeleteAllItems();
    entries_.clear();
    const std::u16string pattern = FolderPath::Join(folder, SearchPattern(extensions));
    ce::WIN32_FIND_DATAW found;
    ce::HANDLE search = ce::FindFirstFileW(pattern.c_str(), &found);
    // A folder that cannot be searched lists nothing.
    if (search != ce::INVALID_HANDLE_VALUE) {
        do {
            const bool folder_entry = (found.dwFileAttributes & ce::FILE_ATTRIBUTE_DIRECTORY) != 0;
            if ((found.dwFileAttributes & ce::FILE_ATTRIBUTE_HIDDEN) != 0 || folder_entry) continue;
            const FileEntry entry = FileEntry::From(found);
            if (Allowed(entry.name, extensions)) entries_.push_back(entry);
        } while (ce::FindNextFileW(search, &found) != ce::FALSE);
        ce::FindClose(search);
    }
    std::sort(entries_.begin(), entries_.end());
    for (std::size_t index = 0; index < entries_.size(); ++index) {
        const int row = InsertItem(static_cast<int>(index), entries_[index].name);
        SetItemText(row, 1, entries_[index].date_text);
        SetItemText(row, 2, entries_[index].size_text);
        SetItemIcon(row, IconFor(entries_[index]));
    }
    int chosen = entries_.empty() ? -1 : 0;
    if (!pending.empty()) {
        // The handheld's names differ in case alone ("ALARM.WAV" beside "alarm.wav"): the
        // file of that very spelling first, another spelling only when it is not there.
        int match = -1;
        for (std::size_t index = 0; index < entries_.size(); ++index) {
            if (entries_[index].name == pending) {
                match = static_cast<int>(index);
                break;
            }
            if (match < 0 && FileEntry::SameName(entries_[index].name, pending))
                match = static_cast<int>(index);
        }
        if (match >= 0) chosen = match;
    }
    if (chosen >= 0) SelectItem(chosen);
}

const CBitmap& CListCtrlFiles::IconFor(const FileEntry& entry) const {
    if (!entry.is_file) return folder_icon_;
    return Allowed(entry.name, {u"wav"}) ? sound_icon_ : file_icon_;
}

const FileEntry* CListCtrlFiles::Selected() const {
    const int row = GetSelectedItem();
    return row >= 0 && row < static_cast<int>(entries_.size()) ? &entries_[static_cast<std::size_t>(row)] : nullptr;
}

void CListCtrlFiles::LayOutColumns() {
    auto* tree = tree_of(widget());
    if (tree == nullptr) return;
    const int width = tree->viewport()->width();
    SetColumnWidth(0, width / 2);
    SetColumnWidth(1, width / 4);
    SetColumnWidth(2, width - width / 2 - width / 4);
}

bool CListCtrlFiles::StylusWatch::eventFilter(QObject* /*watched*/, QEvent* event) {
    auto* tree = tree_of(list_->widget());
    if (tree == nullptr) return false;
    switch (event->type()) {
        case QEvent::MouseButtonPress: {
            const auto* press = static_cast<QMouseEvent*>(event);
            QTreeWidgetItem* item = tree->itemAt(press->position().toPoint());
            list_->anchor_ = item != nullptr ? tree->indexOfTopLevelItem(item) : -1;
            return false;
        }
        case QEvent::MouseMove: {
            const auto* move = static_cast<QMouseEvent*>(event);
            if ((move->buttons() & Qt::LeftButton) != 0) list_->StylusHeldAt(move->position().toPoint().y());
            return false;
        }
        case QEvent::MouseButtonRelease: list_->StopScrolling(); return false;
        // The rows' width changes as the form is first shown, turned, or its scroll bar
        // comes and goes: the columns keep their shares of it.
        case QEvent::Resize: list_->LayOutColumns(); return false;
        default: return false;
    }
}

void CListCtrlFiles::StylusHeldAt(int y) {
    auto* tree = tree_of(widget());
    const int step = framework::Screen::current().ScaleY(kScrollDesignPixels);
    const int wanted = y < 0 ? -step : y >= tree->viewport()->height() ? step : 0;
    if (wanted == scroll_step_) return;
    scroll_step_ = wanted;
    if (wanted == 0) KillTimer(kScrollTimer);
    else SetTimer(kScrollTimer, kScrollMilliseconds);
}

void CListCtrlFiles::StopScrolling() {
    if (scroll_step_ != 0) KillTimer(kScrollTimer);
    scroll_step_ = 0;
}

void CListCtrlFiles::OnTimer(ce::UINT_PTR id) {
    if (id != kScrollTimer) return;
    auto* tree = tree_of(widget());
    if (tree == nullptr || scroll_step_ == 0) return;
    QScrollBar* bar = tree->verticalScrollBar();
    bar->setValue(bar->value() + scroll_step_);
    // The range follows the stylus to the row now at the edge it is held beyond.
    const QPoint edge(1, scroll_step_ < 0 ? 0 : tree->viewport()->height() - 1);
    if (QTreeWidgetItem* item = tree->itemAt(edge)) ExtendSelectionTo(tree->indexOfTopLevelItem(item));
}

void CListCtrlFiles::ExtendSelectionTo(int row) {
    auto* tree = tree_of(widget());
    if (tree == nullptr || anchor_ < 0 || row < 0) return;
    const int first = std::min(anchor_, row);
    const int last = std::max(anchor_, row);
    for (int index = 0; index < tree->topLevelItemCount(); ++index)
        tree->topLevelItem(index)->setSelected(index >= first && index <= last);
}
