#pragma once
// The single-document frame: a top-level window with one view filling it above the menu
// bar at the screen's bottom, as on the handheld. Commands go to the view first, then to
// the frame; a menu that opens lets the frame enable or grey its items first. A tap on a
// title opens its menu inside the frame, where the stylus, screenshots and `ui dump` reach it.

#include <QPointer>
#include <map>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "framework/CWnd.h"

class CView;
class QAction;
class QMenuBar;

namespace framework {
class MenuPanel;
}

struct MenuItem {
    std::u16string_view text;  // empty: a separator
    ce::UINT command;
};

// A menu item as the person opening its menu sees it.
struct MenuItemState {
    std::u16string menu;  // the title on the bar
    std::u16string text;
    ce::UINT command;
    bool enabled;
    CRect place;  // where the open menu shows it, in the frame; empty while its menu is closed
};

// A title of the menu bar: where to tap to open its menu.
struct MenuTitleState {
    std::u16string title;
    CRect place;
    bool open;
};

struct MenuDefinition {
    std::u16string_view title;
    std::span<const MenuItem> items;
};

class CFrameWnd : public CWnd {
public:
    static constexpr int kViewId = 0xE900;

    // The frame (titled `title`) and its view, which it owns from then on.
    bool Create(std::u16string_view title, CView* view);
    bool CreateMenuBar(std::span<const MenuDefinition> menus);
    CView* GetActiveView() const { return view_.get(); }
    void EnableMenuItem(ce::UINT command, bool enable);
    bool IsMenuItemEnabled(ce::UINT command) const;
    // Runs the command as if its menu item had been chosen; false for an unknown or greyed one.
    bool ChooseMenuItem(ce::UINT command);
    // Every item of the bar, menu by menu, each menu opened first so that it greys what it greys.
    std::vector<MenuItemState> GetMenuItems();
    std::vector<MenuTitleState> GetMenuTitles() const;
    // Opens menu `index` of the bar as a tap on its title does (a tap on the open one closes it).
    void OpenMenu(int index);

protected:
    // Called as menu `index` of the bar opens.
    virtual void OnInitMenuPopup(int /*index*/) {}
    void OnSize(ce::UINT type, int cx, int cy) override;
    ce::LRESULT WindowProc(ce::UINT message, ce::WPARAM wParam, ce::LPARAM lParam) override;

private:
    void LayOut();
    // Lets the menu holding `command` (every menu when 0) enable or grey its items.
    void InitMenusHolding(ce::UINT command);

    std::unique_ptr<CView> view_;
    QPointer<QMenuBar> menu_bar_;
    QPointer<framework::MenuPanel> open_menu_;
    std::map<ce::UINT, QAction*> actions_;
};
