// A program built for the tests and for trying the sound forms by hand until the alarm
// form opens them: its main window is the sound form ("--form sound", the default), the
// more-options form ("--form more") or the file chooser ("--form file"), filled from the
// command line. When the form ends it prints what the caller would get back, one
// "name=value" a line, and the program ends.
//   kivo_sound_forms [--form sound|more|file] [--path P] [--volume N] [--count N]
//                    [--pause S] [--replay M] [--beam 0|1] [--ext wav ...]

#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

#include "ce/Text.h"
#include "forms/CFileOpenDlg.h"
#include "forms/CHelpDlg.h"
#include "forms/CMoreOptionsDlg.h"
#include "forms/CSetSoundDlg.h"
#include "framework/CWinApp.h"

namespace {

struct Options {
    std::string form = "sound";
    std::u16string path;
    int volume = 6, count = 1, pause = 0, replay = 5, beam = 0;
    std::vector<std::u16string> extensions;
};

// The sound form as its own main window: what it gives back is printed as it ends.
class SoundForm : public CSetSoundDlg {
public:
    SoundForm() : CSetSoundDlg(nullptr) {}

protected:
    void OnOK() override {
        CSetSoundDlg::OnOK();
        if (GetSafeHwnd() != nullptr) return;  // still open: OK was not taken
        std::cout << "result=1\npath=" << ce::utf8_from_utf16(GetSoundPath()) << "\nvolume=" << GetVolume()
                  << "\ncount=" << GetPlayCount() << "\npause=" << GetPauseSeconds() << std::endl;
    }
    void OnCancel() override {
        CSetSoundDlg::OnCancel();
        if (GetSafeHwnd() == nullptr) std::cout << "result=2" << std::endl;
    }
};

class MoreForm : public CMoreOptionsDlg {
public:
    MoreForm() : CMoreOptionsDlg(nullptr) {}

protected:
    void OnOK() override {
        CMoreOptionsDlg::OnOK();
        std::cout << "result=1\nreplay=" << GetReplayMinutes() << "\nbeam=" << GetBeamOnRepeats() << std::endl;
    }
    void OnCancel() override {
        CMoreOptionsDlg::OnCancel();
        std::cout << "result=2" << std::endl;
    }
};

class FileForm : public CFileOpenDlg {
public:
    explicit FileForm(std::u16string* path) : CFileOpenDlg(path, nullptr), path_(path) {}

protected:
    void OnOK() override {
        CFileOpenDlg::OnOK();
        if (GetSafeHwnd() == nullptr) std::cout << "result=1\npath=" << ce::utf8_from_utf16(*path_) << std::endl;
    }
    void OnCancel() override {
        CFileOpenDlg::OnCancel();
        std::cout << "result=2" << std::endl;
    }

private:
    std::u16string* path_;
};

class FormsApp : public CWinApp {
public:
    explicit FormsApp(Options options) : options_(std::move(options)), file_path_(options_.path) {}

    bool InitInstance() override {
        CHelpDlg::RegisterTemplates();
        CDialog* form = &sound_;
        if (options_.form == "more") {
            more_.SetReplayMinutes(options_.replay);
            more_.SetBeamOnRepeats(options_.beam);
            form = &more_;
        } else if (options_.form == "file") {
            file_.SetExtensions(options_.extensions);
            form = &file_;
        } else {
            sound_.SetSoundPath(options_.path);
            sound_.SetVolume(options_.volume);
            sound_.SetPlayCount(options_.count);
            sound_.SetPauseSeconds(options_.pause);
        }
        if (!form->Create()) return false;
        m_pMainWnd = form;
        return true;
    }

private:
    Options options_;
    std::u16string file_path_;
    SoundForm sound_;
    MoreForm more_;
    FileForm file_{&file_path_};
};

}  // namespace

int main(int argc, char** argv) {
    Options options;
    for (int index = 1; index + 1 < argc; index += 2) {
        const std::string name = argv[index];
        const char* value = argv[index + 1];
        if (name == "--form") options.form = value;
        else if (name == "--path") options.path = ce::utf16_from_utf8(value);
        else if (name == "--volume") options.volume = std::atoi(value);
        else if (name == "--count") options.count = std::atoi(value);
        else if (name == "--pause") options.pause = std::atoi(value);
        else if (name == "--replay") options.replay = std::atoi(value);
        else if (name == "--beam") options.beam = std::atoi(value);
        else if (name == "--ext") options.extensions.push_back(ce::utf16_from_utf8(value));
        else {
            std::cerr << "kivo_sound_forms: unknown option " << name << '\n';
            return 2;
        }
    }
    FormsApp app(std::move(options));
    return app.WinMain(argc, argv);
}
