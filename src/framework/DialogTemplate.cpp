#include "framework/DialogTemplate.h"

#include <map>
#include <mutex>

namespace framework {

namespace {

std::mutex g_lock;

std::map<int, DialogTemplate>& templates() {
    static std::map<int, DialogTemplate> table;
    return table;
}

}  // namespace

void DialogTemplates::Add(const DialogTemplate& dialog) {
    std::lock_guard guard(g_lock);
    templates().insert_or_assign(dialog.id, dialog);
}

const DialogTemplate* DialogTemplates::Find(int id) {
    std::lock_guard guard(g_lock);
    const auto found = templates().find(id);
    return found == templates().end() ? nullptr : &found->second;
}

const char* KindName(ControlKind kind) {
    switch (kind) {
        case ControlKind::Static: return "static";
        case ControlKind::Edit: return "edit";
        case ControlKind::PushButton: return "button";
        case ControlKind::CheckBox: return "check";
        case ControlKind::RadioButton: return "radio";
        case ControlKind::OwnerDrawButton: return "ownerdraw";
        case ControlKind::GroupBox: return "group";
        case ControlKind::ListBox: return "listbox";
        case ControlKind::DropDownList: return "dropdown";
        case ControlKind::UpDown: return "updown";
        case ControlKind::ReportList: return "listview";
        case ControlKind::TreeView: return "treeview";
        case ControlKind::ScrollBar: return "scrollbar";
        case ControlKind::Window: return "window";
    }
    return "window";
}

}  // namespace framework
