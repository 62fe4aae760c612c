#pragma once
// A list box or a drop-down list of a form: strings by index and one selection (-1 none).

#include <string>
#include <string_view>

#include "framework/CWnd.h"

class CListBox : public CWnd {
public:
    static constexpr int LB_ERR = -1;

    int AddString(std::u16string_view text);
    int GetCount() const;
    int GetCurSel() const;
    // LB_ERR for an index outside the list (the selection is then cleared).
    int SetCurSel(int index);
    std::u16string GetText(int index) const;
    void ResetContent();
};

class CComboBox : public CListBox {
public:
    // How many items the open list shows before it scrolls.
    void SetDropDownItems(int count);
};
