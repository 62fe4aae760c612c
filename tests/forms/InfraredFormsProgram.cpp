// A program built for the tests and the README's pictures: its main window is the
// command list editor over a short list ("TV on", a pause, "Volume up"), so `handheld
// ui` and `screenshot` can open and operate every infrared form from it. With
// "--shots DIR" it saves a picture of each infrared form, as the handheld's screen shows
// it now, as DIR/<form>.png (port, editor, signal, options, pause, learn), and ends.

#include <QDir>
#include <cstring>
#include <functional>
#include <memory>

#include "forms/CCommandDlg.h"
#include "forms/CCommandOptionsDlg.h"
#include "forms/CComPortDlg.h"
#include "forms/CLearnCommandDlg.h"
#include "forms/CMacroEditorDlg.h"
#include "forms/CPauseDlg.h"
#include "framework/Automation.h"
#include "framework/CWinApp.h"

namespace {

const platform::card::signal_data kPower{{9000, -4500, 560, -1690, 560, -560, 560, -40000}, 6, 26};
const platform::card::signal_data kVolume{{2400, -600, 1200, -600, 600, -25000}, 0, 25};

ItemDataArr SampleList() {
    return {ItemData::Signal(kPower, ItemData::kDefaultRepeat, ItemData::kDefaultDurationMs, u"TV on"),
            ItemData::Pause(3000), ItemData::Signal(kVolume, ItemData::kRepeatForDuration, 2000, u"Volume up")};
}

class FormsApp : public CWinApp {
public:
    explicit FormsApp(const char* shots) : shots_(shots) {}

    bool InitInstance() override {
        editor_ = std::make_unique<CMacroEditorDlg>(nullptr, items_);
        if (shots_ != nullptr) {
            SaveShots();
            return false;  // nothing left to run
        }
        if (!editor_->Create()) return false;
        editor_->SetWindowText(u"Infrared Signals");
        m_pMainWnd = editor_.get();
        return true;
    }

private:
    // Each form is made, drawn and gone before anything it posts itself is handled, so
    // the learning form is pictured without learning.
    void Shoot(CDialog& form, const char* name) {
        if (!form.Create()) return;
        framework::Automation::Screenshot(&form).save(QDir(QString::fromLocal8Bit(shots_)).filePath(QString(name) + ".png"), "PNG");
        form.DestroyWindow();
    }

    void SaveShots() {
        CComPortDlg port(nullptr, u"COM3:");
        Shoot(port, "port");
        editor_->Create();
        framework::Automation::Select(editor_.get(), CMacroEditorDlg::IDC_LIST, 1);
        framework::Automation::Screenshot(editor_.get())
            .save(QDir(QString::fromLocal8Bit(shots_)).filePath("editor.png"), "PNG");
        editor_->DestroyWindow();
        CCommandDlg signal(nullptr, ItemData::kDefaultRepeat, ItemData::kDefaultDurationMs, u"TV on", kPower);
        Shoot(signal, "signal");
        CCommandOptionsDlg options(nullptr, ItemData::kRepeatForDuration, 2500);
        Shoot(options, "options");
        CPauseDlg pause(nullptr, 3000);
        Shoot(pause, "pause");
        CLearnCommandDlg learn(nullptr);
        Shoot(learn, "learn");
    }

    const char* shots_;
    ItemDataArr items_ = SampleList();
    std::unique_ptr<CMacroEditorDlg> editor_;
};

}  // namespace

int main(int argc, char** argv) {
    const char* shots = nullptr;
    for (int index = 1; index + 1 < argc; ++index)
        if (std::strcmp(argv[index], "--shots") == 0) shots = argv[index + 1];
    FormsApp app(shots);
    return app.WinMain(argc, argv);
}
