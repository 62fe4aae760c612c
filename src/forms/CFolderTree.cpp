#include "forms/CFolderTree.h"

#include <algorithm>
#include <vector>

#include "ce/Files.h"
#include "forms/FileEntry.h"
#include "forms/FolderPath.h"
#include "framework/CTreeComboBox.h"

namespace {

// The names of the folder's subfolders, hidden ones left out, in the list's order.
std::vector<std::u16string> subfolders_of(const std::u16string& folder) {
    std::vector<std::u16string> names;
    const std::u16string pattern = FolderPath::Join(folder, u"*");
    ce::WIN32_FIND_DATAW found;
    ce::HANDLE search = ce::FindFirstFileW(pattern.c_str(), &found);
    if (search == ce::INVALID_HANDLE_VALUE) return names;
    do {
        const ce::DWORD attributes = found.dwFileAttributes;
        if ((attributes & ce::FILE_ATTRIBUTE_DIRECTORY) != 0 && (attributes & ce::FILE_ATTRIBUTE_HIDDEN) == 0)
            names.emplace_back(found.cFileName);
    } while (ce::FindNextFileW(search, &found) != ce::FALSE);
    ce::FindClose(search);
    std::sort(names.begin(), names.end(),
              [](const auto& a, const auto& b) { return FileEntry::CompareNames(a, b) < 0; });
    return names;
}

// Device paths ignore the letters' case.
HTREEITEM child_named(const CTreeCtrl& tree, HTREEITEM parent, const std::u16string& name) {
    for (HTREEITEM child = tree.GetChildItem(parent); child != nullptr; child = tree.GetNextSiblingItem(child))
        if (FileEntry::SameName(tree.GetItemText(child), name)) return child;
    return nullptr;
}

}  // namespace

bool CFolderTree::Create(CWnd* form, const CRect& place, const std::u16string& folder) {
    if (!CTreeCtrl::Create(form, place, kId)) return false;
    InsertItem(FolderPath::kRootName, TVI_ROOT, true);
    SelectItem(OpenAt(folder));
    return true;
}

std::u16string CFolderTree::PathOf(HTREEITEM item) const {
    std::u16string path;
    for (HTREEITEM at = item; at != nullptr && GetParentItem(at) != nullptr; at = GetParentItem(at))
        path = u"\\" + GetItemText(at) + path;
    return path.empty() ? std::u16string(FolderPath::kRoot) : path;
}

HTREEITEM CFolderTree::OpenAt(const std::u16string& folder) {
    HTREEITEM item = GetRootItem();
    Expand(item);
    std::size_t start = 0;
    while (item != nullptr && start < folder.size()) {
        const auto end = std::min(folder.find(u'\\', start), folder.size());
        const std::u16string name = folder.substr(start, end - start);
        start = end + 1;
        if (name.empty()) continue;
        HTREEITEM child = child_named(*this, item, name);
        if (child == nullptr) break;
        item = child;
        // The folder the tree opens at shows its own subfolders too.
        Expand(item);
    }
    return item;
}

void CFolderTree::OnItemExpanding(HTREEITEM item) {
    const std::u16string folder = PathOf(item);
    for (const auto& name : subfolders_of(folder)) InsertItem(name, item, true);
}

void CFolderTree::OnItemChosen(HTREEITEM /*item*/) { box_.ItemChosen(this); }
