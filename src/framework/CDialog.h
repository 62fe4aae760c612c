#pragma once
// A form built from a dialog template: a top-level window covering the screen with one
// control per template item, addressed by id. DoModal runs it until EndDialog and
// returns the result; Create shows it without waiting.

#include <QEventLoop>
#include <memory>
#include <vector>

#include "framework/CWnd.h"
#include "framework/WindowMessages.h"

namespace framework {
struct DialogTemplate;
}

class CDialog : public CWnd {
public:
    CDialog(int template_id, CWnd* parent);
    ~CDialog() override;

    // -1 when the template cannot be found or the form cannot be made.
    int DoModal();
    // Builds and shows the form without waiting; false when its template is missing.
    bool Create();
    void EndDialog(int result);

    int TemplateId() const { return template_id_; }
    // Dialog units of the form's font to pixels, as the template's rectangles are given.
    void MapDialogRect(CRect* rect) const;
    // Dialog units are measured again with the dialog font at the new dpi and every
    // control goes to its template place in them, before the form lays itself out.
    void FollowDpi() override;

protected:
    virtual bool OnInitDialog() { return true; }
    virtual void OnOK() { EndDialog(framework::IDOK); }
    virtual void OnCancel() { EndDialog(framework::IDCANCEL); }
    bool OnCommand(ce::UINT id, ce::UINT code) override;
    bool PreTranslateMessage(ce::MSG* message) override;
    void OnClose() override { OnCancel(); }
    void OnSize(ce::UINT type, int cx, int cy) override;

    // The "ok" at the right of the title bar, which closes the form as OK does: shown on
    // forms with no button of their own to close them (a help page), as on the handheld.
    // Call before the form is built.
    void ShowDoneButton() { done_button_ = true; }

    // Which template the form is built from; a form that follows the screen's shape
    // may choose another, before it is built or to move its controls to (PlaceControls).
    void SetTemplateId(int template_id) { template_id_ = template_id; }
    // Moves every control of the form's template to its place there, drawn once after all moved.
    void PlaceControls();
    // Builds the form from a template the form holds itself (one made up as it opens, as
    // a message box's is) in place of one the program added; it must outlive the form.
    void InitModalIndirect(const framework::DialogTemplate* dialog) { indirect_ = dialog; }

private:
    const framework::DialogTemplate* FindTemplate() const;
    bool Build(const framework::DialogTemplate& dialog);
    void AddDoneButton(QWidget* form);
    void PlaceDoneButton();

    int template_id_;
    CWnd* owner_;
    const framework::DialogTemplate* indirect_ = nullptr;
    std::vector<std::unique_ptr<CWnd>> controls_;
    std::unique_ptr<QEventLoop> loop_;
    CSize base_units_{};  // average character width and height of the form's font
    int result_ = 0;
    bool ended_ = false;
    bool done_button_ = false;
};
