#pragma once
// The page area of the help viewer: HTML with its links, scrolling and history, read
// from the handheld's files. Pages are named by URLs of device paths
// ("file:///Windows/KIVO.htm"); a page or a link that leads nowhere shows a page that
// says so, so that Back still returns from it.

#include <QTextBrowser>
#include <QUrl>
#include <optional>

#include "HelpPageName.h"

class HelpBrowser : public QTextBrowser {
public:
    explicit HelpBrowser(QWidget* parent);

    // The URL that names `page` in this browser.
    static QUrl UrlOf(const HelpPageName& page);
    // What the viewer shows in place of a page it cannot show.
    static QString MissingPage(const QString& what);

    QVariant loadResource(int type, const QUrl& name) override;

private:
    // The page or picture at a device path; nothing when there is none (or it is far
    // too large to be one).
    static std::optional<QByteArray> ReadDeviceFile(const std::u16string& path);
};
