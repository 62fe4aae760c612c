#pragma once
// The programs KIVO starts beside itself and never waits for: the splash programs in
// its own folder and the handheld's help viewer. A missing program is no error: nothing
// happens and nobody is told.

#include <string>

class ProgramStarter {
public:
    static bool Exists(const std::u16string& path);

    // The start-up splash "splash.exe", unless "HideSplash" asks for none.
    static void StartSplash();
    // The welcome tour "Splash.exe", from the menu; whether it is there to start.
    static bool WelcomeAvailable();
    static void StartWelcome();
    // The help viewer on the program's help page.
    static void StartHelp();

    static constexpr const char16_t* kHideSplashValue = u"HideSplash";
    static constexpr const char16_t* kHelpViewer = u"peghelp.exe";
    static constexpr const char16_t* kHelpPage = u"file:KIVO.htm";
};
