#pragma once
// The application object: instance initialisation, the message loop, the main window,
// the program's top-level windows and which of them is in the foreground, and the
// pre-translation every message of the thread passes through.

#include <QApplication>
#include <memory>
#include <vector>

#include "ce/WindowProcedure.h"

class CWnd;

class CWinApp {
public:
    CWinApp();
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;
    virtual ~CWinApp();

    // Makes the process's Qt application once (tests and programs alike): the handheld's
    // screen is drawn in true pixels, the handheld's fonts are known, the dialog font is
    // the default.
    static QApplication& EnsureQt(int argc, char** argv);
    // The program's entry after the single-instance rule: InitInstance, then the message
    // loop until the main window goes or WM_QUIT; returns ExitInstance's code.
    int WinMain(int argc, char** argv);

    static CWinApp* Current();

    CWnd* m_pMainWnd = nullptr;

    virtual bool InitInstance() { return true; }
    virtual int ExitInstance() { return 0; }
    // Offered every message after the windows it was aimed at have declined it.
    virtual bool PreTranslateMessage(ce::MSG* /*message*/) { return false; }

    // Walks from the target window up through its parents, then to the application.
    static bool PreTranslate(CWnd* target, ce::MSG* message);

    // Top-level windows of the process, in order of creation; the foreground one is what
    // the handheld shows and what `handheld ui` operates.
    static void AddTopLevel(CWnd* window);
    static void RemoveTopLevel(CWnd* window);
    static void SetForeground(CWnd* window);
    static CWnd* Foreground();
    static const std::vector<CWnd*>& TopLevels();

    // Messages of the window system every window answers alike: a turned screen and
    // the requests of `handheld ui` and `handheld screenshot`.
    static ce::LRESULT HandleWindowSystemMessage(CWnd* window, ce::UINT message, ce::WPARAM wParam,
                                                 ce::LPARAM lParam);
    // Lays every top-level window out on the screen as the handheld's settings say now.
    static void FitTopLevelsToScreen();
    // The screen changed (the window system's display change): the windows are fitted
    // to its size and, when its dpi is new, the toolkit and every window take the new dpi.
    static void FollowScreen();

private:
    static void FitToolkitToDpi(QApplication& application, bool starting);
};
