#pragma once
// The file chooser's list of the files of one folder: name (with its icon), date and
// size, folders first, then by name. Only files with an allowed extension are listed,
// never hidden ones. The stylus selects a file, dragging selects a range, and held
// above or below the list it scrolls the list on every 100 ms.

#include <QObject>
#include <string>
#include <vector>

#include "forms/FileEntry.h"
#include "framework/CBitmap.h"
#include "framework/CListCtrl.h"

class CListCtrlFiles : public CListCtrl {
public:
    static constexpr int kScrollTimer = 1;
    static constexpr int kScrollMilliseconds = 100;
    static constexpr int kScrollDesignPixels = 12;
    static constexpr int kFolderIcon = 560;
    static constexpr int kSoundIcon = 561;
    static constexpr int kFileIcon = 562;

    CListCtrlFiles();
    ~CListCtrlFiles() override;

    // The list with its three columns.
    bool Create(CWnd* parent, const CRect& rect, int id);
    // Lists `folder` anew and selects the first entry, or the one named `pending` when
    // there is one. `extensions` without the dot; none allows every file.
    void Refresh(const std::u16string& folder, const std::vector<std::u16string>& extensions,
                 const std::u16string& pending);
    const std::vector<FileEntry>& Entries() const { return entries_; }
    // The selected entry, or null.
    const FileEntry* Selected() const;
    // Name one half of the rows' width, date and size a quarter each; again whenever
    // that width changes.
    void LayOutColumns();
    bool IsAutoScrolling() const { return scroll_step_ != 0; }

    // The search pattern for the extensions: "*.wav" for the one "wav", else "*".
    static std::u16string SearchPattern(const std::vector<std::u16string>& extensions);
    // Whether a file of that name may be listed.
    static bool Allowed(const std::u16string& name, const std::vector<std::u16string>& extensions);

protected:
    void OnTimer(ce::UINT_PTR id) override;

private:
    // The stylus on the list's rows: where it was put down, and whether it is held
    // beyond the top or the bottom; and the rows' width, which the columns share.
    class StylusWatch : public QObject {
    public:
        explicit StylusWatch(CListCtrlFiles* list) : list_(list) {}
        bool eventFilter(QObject* watched, QEvent* event) override;

    private:
        CListCtrlFiles* list_;
    };

    void StylusHeldAt(int y);
    void StopScrolling();
    void ExtendSelectionTo(int row);
    const CBitmap& IconFor(const FileEntry& entry) const;

    std::vector<FileEntry> entries_;
    CBitmap folder_icon_;
    CBitmap sound_icon_;
    CBitmap file_icon_;
    StylusWatch watch_{this};
    int anchor_ = -1;      // the row the stylus went down on
    int scroll_step_ = 0;  // pixels per tick while held beyond an edge (negative: up)
};
