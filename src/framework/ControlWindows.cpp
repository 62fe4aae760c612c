#include "framework/ControlWindows.h"

#include "framework/CButton.h"
#include "framework/CEdit.h"
#include "framework/CListBox.h"
#include "framework/CListCtrl.h"
#include "framework/CSpinButtonCtrl.h"
#include "framework/CTreeCtrl.h"

namespace framework {

std::unique_ptr<CWnd> MakeControlWindow(ControlKind kind) {
    switch (kind) {
        case ControlKind::PushButton:
        case ControlKind::CheckBox:
        case ControlKind::RadioButton:
        case ControlKind::OwnerDrawButton: return std::make_unique<CButton>();
        case ControlKind::ListBox: return std::make_unique<CListBox>();
        case ControlKind::DropDownList: return std::make_unique<CComboBox>();
        case ControlKind::UpDown: return std::make_unique<CSpinButtonCtrl>();
        case ControlKind::Edit: return std::make_unique<CEdit>();
        case ControlKind::ReportList: return std::make_unique<CListCtrl>();
        case ControlKind::TreeView: return std::make_unique<CTreeCtrl>();
        default: return std::make_unique<CWnd>();
    }
}

}  // namespace framework
