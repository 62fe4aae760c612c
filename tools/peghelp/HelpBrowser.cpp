#include "HelpBrowser.h"

#include <QTextDocument>

#include "ce/Files.h"
#include "framework/ControlText.h"
#include "framework/Screen.h"

namespace {

// Larger than any help page or picture; a bigger file is not a help page.
constexpr qsizetype kLargestFile = 4 * 1024 * 1024;

}  // namespace

HelpBrowser::HelpBrowser(QWidget* parent) : QTextBrowser(parent) {
    setOpenExternalLinks(false);
    setFrameShape(QFrame::NoFrame);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // A 240-pixel screen has no room for the desktop's wide list indents.
    const auto screen = framework::Screen::current();
    document()->setIndentWidth(screen.ScaleX(18));
    document()->setDocumentMargin(screen.ScaleX(4));
}

QUrl HelpBrowser::UrlOf(const HelpPageName& page) {
    QString path = framework::ToQString(page.path());
    path.replace(QLatin1Char('\\'), QLatin1Char('/'));
    QUrl url = QUrl::fromLocalFile(path);
    if (!page.anchor().empty()) url.setFragment(framework::ToQString(page.anchor()));
    return url;
}

QString HelpBrowser::MissingPage(const QString& what) {
    return QStringLiteral("<html><head><title>Help</title></head><body><h3>Help</h3><p>%1</p></body></html>")
        .arg(what.toHtmlEscaped());
}

std::optional<QByteArray> HelpBrowser::ReadDeviceFile(const std::u16string& path) {
    ce::HANDLE file =
        ce::CreateFileW(path.c_str(), ce::GENERIC_READ, ce::FILE_SHARE_READ, ce::OPEN_EXISTING, ce::FILE_ATTRIBUTE_NORMAL);
    if (file == ce::INVALID_HANDLE_VALUE) return std::nullopt;
    QByteArray bytes;
    char buffer[8192];
    ce::DWORD read = 0;
    while (ce::ReadFile(file, buffer, sizeof buffer, &read) != 0 && read > 0 && bytes.size() <= kLargestFile)
        bytes.append(buffer, static_cast<qsizetype>(read));
    ce::CloseHandle(file);
    if (bytes.size() > kLargestFile) return std::nullopt;
    return bytes;
}

QVariant HelpBrowser::loadResource(int type, const QUrl& name) {
    const bool page = type == QTextDocument::HtmlResource;
    // The handheld has nothing to open web or mail links with.
    if (!name.scheme().isEmpty() && name.scheme() != QLatin1String("file")) {
        if (!page) return {};
        return MissingPage(QStringLiteral("This viewer shows the handheld's own help pages; it cannot open ") +
                           name.toString() + QStringLiteral("."));
    }
    const HelpPageName file = HelpPageName::Parse(framework::FromQString(name.path(QUrl::FullyDecoded)));
    if (file.empty()) return page ? QVariant(MissingPage(QStringLiteral("No help page was named."))) : QVariant();
    if (auto bytes = ReadDeviceFile(file.path())) return *bytes;
    if (!page) return {};
    return MissingPage(QStringLiteral("The help page ") + framework::ToQString(file.path()) +
                       QStringLiteral(" is not on this handheld."));
}
