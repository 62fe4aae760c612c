#include "framework/CFrameWnd.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include "framework/CView.h"
#include "framework/ControlText.h"
#include "framework/WindowMessages.h"

bool CFrameWnd::Create(std::u16string_view title, CView* view) {
    if (!CWnd::Create(nullptr, {}, 0, title)) return false;
    view_.reset(view);
    if (view_ != nullptr && !view_->Create(this, {}, kViewId)) return false;
    LayOut();
    return true;
}

bool CFrameWnd::CreateMenuBar(std::span<const MenuDefinition> menus) {
    if (widget() == nullptr || menu_bar_ != nullptr) return false;
    menu_bar_ = new QMenuBar(widget());
    menu_bar_->setNativeMenuBar(false);
    int index = 0;
    for (const auto& definition : menus) {
        QMenu* menu = menu_bar_->addMenu(framework::ToQString(definition.title));
        QObject::connect(menu, &QMenu::aboutToShow, menu, [this, index] { OnInitMenuPopup(index); });
        for (const auto& item : definition.items) {
            if (item.text.empty()) {
                menu->addSeparator();
                continue;
            }
            QAction* action = menu->addAction(framework::ToQString(item.text));
            const ce::UINT command = item.command;
            action->setData(command);
            QObject::connect(action, &QAction::triggered, action, [this, command] {
                WindowProc(framework::WM_COMMAND, framework::MAKEWPARAM(command, 0), 0);
            });
            actions_[command] = action;
        }
        ++index;
    }
    menu_bar_->show();
    LayOut();
    return true;
}

void CFrameWnd::EnableMenuItem(ce::UINT command, bool enable) {
    if (const auto found = actions_.find(command); found != actions_.end()) found->second->setEnabled(enable);
}

bool CFrameWnd::IsMenuItemEnabled(ce::UINT command) const {
    const auto found = actions_.find(command);
    return found != actions_.end() && found->second->isEnabled();
}

void CFrameWnd::InitMenusHolding(ce::UINT command) {
    const auto found = actions_.find(command);
    for (int index = 0; menu_bar_ != nullptr && index < menu_bar_->actions().size(); ++index) {
        const QMenu* menu = menu_bar_->actions()[index]->menu();
        if (menu != nullptr && (command == 0 || (found != actions_.end() && menu->actions().contains(found->second))))
            OnInitMenuPopup(index);
    }
}

bool CFrameWnd::ChooseMenuItem(ce::UINT command) {
    // The menu holding the item opens first, so that it greys what it greys.
    InitMenusHolding(command);
    if (!IsMenuItemEnabled(command)) return false;
    WindowProc(framework::WM_COMMAND, framework::MAKEWPARAM(command, 0), 0);
    return true;
}

std::vector<MenuItemState> CFrameWnd::GetMenuItems() {
    InitMenusHolding(0);
    std::vector<MenuItemState> items;
    for (int index = 0; menu_bar_ != nullptr && index < menu_bar_->actions().size(); ++index) {
        const QMenu* menu = menu_bar_->actions()[index]->menu();
        if (menu == nullptr) continue;
        for (const QAction* action : menu->actions())
            if (!action->isSeparator())
                items.push_back({framework::FromQString(menu->title()), framework::FromQString(action->text()),
                                 action->data().toUInt(), action->isEnabled()});
    }
    return items;
}

void CFrameWnd::OnSize(ce::UINT type, int cx, int cy) {
    CWnd::OnSize(type, cx, cy);
    LayOut();
}

void CFrameWnd::LayOut() {
    if (widget() == nullptr) return;
    const int bar = menu_bar_ != nullptr ? menu_bar_->sizeHint().height() : 0;
    const int height = widget()->height() - bar;
    if (menu_bar_ != nullptr) menu_bar_->setGeometry(0, height, widget()->width(), bar);
    if (view_ != nullptr) view_->MoveWindow({0, 0, widget()->width(), height});
}

ce::LRESULT CFrameWnd::WindowProc(ce::UINT message, ce::WPARAM wParam, ce::LPARAM lParam) {
    // A command is the view's first; what it leaves is the frame's.
    if (message == framework::WM_COMMAND && view_ != nullptr && view_->GetSafeHwnd() != nullptr &&
        view_->OnCommand(framework::LOWORD(wParam), framework::HIWORD(wParam)))
        return 0;
    return CWnd::WindowProc(message, wParam, lParam);
}
