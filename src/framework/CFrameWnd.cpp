#include "framework/CFrameWnd.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include "framework/CView.h"
#include "framework/ControlText.h"
#include "framework/MenuPanel.h"
#include "framework/ShellMenuBar.h"
#include "framework/WindowMessages.h"

namespace {

CRect place_of(const QRect& rect) {
    return rect.isEmpty() ? CRect{} : CRect{rect.left(), rect.top(), rect.right() + 1, rect.bottom() + 1};
}

}  // namespace

bool CFrameWnd::Create(std::u16string_view title, CView* view) {
    if (!CWnd::Create(nullptr, {}, 0, title)) return false;
    view_.reset(view);
    if (view_ != nullptr && !view_->Create(this, {}, kViewId)) return false;
    LayOut();
    return true;
}

bool CFrameWnd::CreateMenuBar(std::span<const MenuDefinition> menus) {
    if (widget() == nullptr || menu_bar_ != nullptr) return false;
    menu_bar_ = new framework::ShellMenuBar(widget(), [this](QAction* title) {
        OpenMenu(static_cast<int>(menu_bar_->actions().indexOf(title)));
    });
    open_menu_ = new framework::MenuPanel(widget());
    for (const auto& definition : menus) {
        QMenu* menu = menu_bar_->addMenu(framework::ToQString(definition.title));
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

void CFrameWnd::OpenMenu(int index) {
    if (menu_bar_ == nullptr || index < 0 || index >= menu_bar_->actions().size()) return;
    QAction* title = menu_bar_->actions()[index];
    const bool was_open = open_menu_->OpenMenu() == title->menu();
    open_menu_->Close();
    if (was_open || title->menu() == nullptr) return;
    OnInitMenuPopup(index);
    const QRect place = menu_bar_->actionGeometry(title).translated(menu_bar_->pos());
    open_menu_->Open(title->menu(), {0, 0, widget()->width(), menu_bar_->y()}, place.topLeft());
}

bool CFrameWnd::ChooseMenuItem(ce::UINT command) {
    if (open_menu_ != nullptr) open_menu_->Close();
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
                                 action->data().toUInt(), action->isEnabled(), place_of(open_menu_->ItemPlace(action))});
    }
    return items;
}

std::vector<MenuTitleState> CFrameWnd::GetMenuTitles() const {
    std::vector<MenuTitleState> titles;
    for (int index = 0; menu_bar_ != nullptr && index < menu_bar_->actions().size(); ++index) {
        QAction* title = menu_bar_->actions()[index];
        if (title->menu() == nullptr) continue;
        titles.push_back({framework::FromQString(title->text()),
                          place_of(menu_bar_->actionGeometry(title).translated(menu_bar_->pos())),
                          open_menu_->OpenMenu() == title->menu()});
    }
    return titles;
}

void CFrameWnd::OnSize(ce::UINT type, int cx, int cy) {
    CWnd::OnSize(type, cx, cy);
    LayOut();
}

void CFrameWnd::LayOut() {
    if (widget() == nullptr) return;
    // A menu open over the old shape would stand in the wrong place on the new one.
    if (open_menu_ != nullptr) open_menu_->Close();
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
