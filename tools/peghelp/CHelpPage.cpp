#include "CHelpPage.h"

#include <QTextDocument>

#include "HelpBrowser.h"

bool CHelpPage::Create(CWnd* parent) {
    if (parent == nullptr || parent->widget() == nullptr || widget() != nullptr) return false;
    auto* browser = new HelpBrowser(parent->widget());
    Attach(browser, kId, parent, "browser");
    AdoptWidget(browser);
    browser->show();
    return true;
}

HelpBrowser* CHelpPage::browser() const { return static_cast<HelpBrowser*>(widget()); }

void CHelpPage::Open(const HelpPageName& page) {
    if (browser() == nullptr) return;
    if (page.empty()) {
        browser()->setHtml(HelpBrowser::MissingPage(QStringLiteral("No help page was named.")));
        return;
    }
    browser()->setSource(HelpBrowser::UrlOf(page), QTextDocument::HtmlResource);
}

bool CHelpPage::CanGoBack() const { return browser() != nullptr && browser()->isBackwardAvailable(); }

void CHelpPage::GoBack() {
    if (CanGoBack()) browser()->backward();
}
