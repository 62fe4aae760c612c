#pragma once
// The help viewer's page control: the HelpBrowser behind a window of the handheld, so
// that `handheld ui dump` reads the page's text and taps reach its links.

#include "HelpPageName.h"
#include "framework/CWnd.h"

class HelpBrowser;

class CHelpPage : public CWnd {
public:
    static constexpr int kId = 100;

    bool Create(CWnd* parent);
    // Shows the page and scrolls to its anchor.
    void Open(const HelpPageName& page);
    bool CanGoBack() const;
    void GoBack();

private:
    HelpBrowser* browser() const;
};
