#include "framework/CWinApp.h"

#include <QFontDatabase>
#include <QPointer>
#include <QStyleFactory>
#include <algorithm>

#include "ce/Screen.h"
#include "ce/Windows.h"
#include "framework/Automation.h"
#include "framework/CFont.h"
#include "framework/CWnd.h"
#include "framework/InputFilter.h"
#include "framework/Screen.h"
#include "framework/ScrollArrowStyle.h"

// The bitmaps live in a static library: their registration must be asked for by name.
static void load_resources() { Q_INIT_RESOURCE(kivo); }

namespace {

CWinApp* g_app = nullptr;
std::vector<CWnd*> g_top_levels;
CWnd* g_foreground = nullptr;

// Tahoma comes with the metric-compatible Windows fonts of fonts-wine, which live outside
// fontconfig's folders; Arial resolves to Liberation Sans through fontconfig by itself.
// Only the regular face is taken: the bold one draws its outlines at nearly regular
// weight (it counts on bitmaps at a few sizes), so bold captions are emboldened from
// the regular outlines instead, which reads as bold at every size and scale.
void load_handheld_fonts() {
    QFontDatabase::addApplicationFont(QStringLiteral("/usr/share/wine/fonts/tahoma.ttf"));
}

}  // namespace

// The toolkit's own measures (the dialog font every control takes unless given another,
// check marks, scroll bars) follow the handheld's dots per inch like the fonts do, since
// the host's scaling is off. A 96-dpi screen at the start keeps the toolkit's own look.
void CWinApp::FitToolkitToDpi(QApplication& application, bool starting) {
    QApplication::setFont(CFont::DialogFont().font());
    // The toolkit tells the windows of a new font before it takes the font as its own,
    // so they would keep the old one: they are told again once it has.
    for (QWidget* window : QApplication::topLevelWidgets()) {
        QEvent changed(QEvent::ApplicationFontChange);
        QCoreApplication::sendEvent(window, &changed);
    }
    const auto screen = framework::Screen::current();
    const bool design = screen.dpi_x() == framework::Screen::kDesignDpi;
    if (starting && design) return;
    static const QString base_style = application.style()->name();
    application.setStyleSheet(QString());
    if (design) {
        application.setStyle(QStyleFactory::create(base_style));
        return;
    }
    application.setStyle(new framework::ScrollArrowStyle(QStyleFactory::create(base_style)));
    application.setStyleSheet(QStringLiteral("QCheckBox::indicator, QRadioButton::indicator { width: %1px; "
                                             "height: %1px; } QScrollBar:vertical { width: %2px; } "
                                             "QScrollBar:horizontal { height: %2px; }")
                                  .arg(screen.ScaleX(13))
                                  .arg(screen.ScaleX(16)));
}

// fontconfig keeps the patterns of the fonts added at run time until the process ends;
// a leak checker (the sanitizer builds) must not count them as the program's.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }

CWinApp::CWinApp() { g_app = this; }

CWinApp::~CWinApp() {
    if (g_app == this) g_app = nullptr;
}

CWinApp* CWinApp::Current() { return g_app; }

QApplication& CWinApp::EnsureQt(int argc, char** argv) {
    if (auto* existing = qobject_cast<QApplication*>(QCoreApplication::instance())) return *existing;
    // The handheld's dots per inch are its own (a device setting): the host's display must
    // not scale its pixels again.
    qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
    // With no display to show on (a terminal, a test run) the programs still run,
    // headless: `handheld screenshot` and `handheld ui` see them all the same.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY") &&
        qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static int count = argc;
    static auto* application = new QApplication(count, argv);
    load_resources();
    load_handheld_fonts();
    framework::Screen::TakeDpi();
    FitToolkitToDpi(*application, true);
    application->installEventFilter(new framework::InputFilter(application));
    return *application;
}

int CWinApp::WinMain(int argc, char** argv) {
    QApplication& application = EnsureQt(argc, argv);
    application.setQuitOnLastWindowClosed(false);
    if (!InitInstance()) return ExitInstance();
    if (m_pMainWnd != nullptr || !g_top_levels.empty()) application.exec();
    return ExitInstance();
}

bool CWinApp::PreTranslate(CWnd* target, ce::MSG* message) {
    for (CWnd* window = target; window != nullptr; window = window->GetParent())
        if (window->PreTranslateMessage(message)) return true;
    return g_app != nullptr && g_app->PreTranslateMessage(message);
}

void CWinApp::AddTopLevel(CWnd* window) {
    if (std::find(g_top_levels.begin(), g_top_levels.end(), window) == g_top_levels.end())
        g_top_levels.push_back(window);
}

void CWinApp::RemoveTopLevel(CWnd* window) {
    std::erase(g_top_levels, window);
    if (g_foreground == window) g_foreground = nullptr;
    if (g_foreground == nullptr) {
        for (auto it = g_top_levels.rbegin(); it != g_top_levels.rend(); ++it)
            if ((*it)->IsWindowVisible()) {
                SetForeground(*it);
                break;
            }
    }
    // The program ends with its main window, as on the handheld.
    if (g_app != nullptr && g_app->m_pMainWnd == window) {
        g_app->m_pMainWnd = nullptr;
        QCoreApplication::quit();
    }
}

void CWinApp::SetForeground(CWnd* window) {
    g_foreground = window;
    // The handheld shows one window at a time: the one `handheld ui` and other programs see.
    if (window != nullptr) ce::SetForegroundWindow(window->GetSafeHwnd());
    if (window != nullptr && window->widget() != nullptr) {
        // The headless screen of the tests has no stacking to change.
        if (QGuiApplication::platformName() != QLatin1String("offscreen")) window->widget()->raise();
        window->widget()->activateWindow();
    }
}

CWnd* CWinApp::Foreground() { return g_foreground; }

const std::vector<CWnd*>& CWinApp::TopLevels() { return g_top_levels; }

void CWinApp::FitTopLevelsToScreen() {
    const auto screen = framework::Screen::current();
    for (CWnd* window : g_top_levels)
        if (window->widget() != nullptr) window->widget()->setGeometry(0, 0, screen.width(), screen.height());
}

void CWinApp::FollowScreen() {
    const bool new_dpi = framework::Screen::TakeDpi();
    if (new_dpi) FitToolkitToDpi(*qApp, false);
    FitTopLevelsToScreen();
    if (!new_dpi) return;
    // Every window, top-level ones first and parents before their children, so a child
    // that lays itself out does so in a parent already laid out at the new dpi. A window
    // that goes meanwhile (a layout may drop one) is passed over.
    std::vector<QPointer<QWidget>> widgets;
    for (CWnd* window : g_top_levels) {
        if (window->widget() == nullptr) continue;
        widgets.emplace_back(window->widget());
        for (QWidget* child : window->widget()->findChildren<QWidget*>()) widgets.emplace_back(child);
    }
    for (const QPointer<QWidget>& widget : widgets)
        if (CWnd* window = widget != nullptr ? CWnd::FromWidget(widget) : nullptr) window->FollowDpi();
}

ce::LRESULT CWinApp::HandleWindowSystemMessage(CWnd* window, ce::UINT message, ce::WPARAM wParam, ce::LPARAM lParam) {
    if (message == ce::WM_DISPLAYCHANGE) {
        FollowScreen();
        return 0;
    }
    return framework::Automation::Handle(window, message, wParam, lParam);
}
