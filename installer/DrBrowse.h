#pragma once
// TDrBrowseDlg: the shell's folder picker as a component. On top of the bare shell call
// it offers a starting folder (given as a path, or kept from the last run), one of four
// roots, a caption, a status line that can follow the selection and be shortened to
// fit, the OK button's first state, centring on the screen, and two events.
//
// Texts are code page 932. Folder paths come back in the shell's form (no trailing '\'
// except at a drive's root); a folder given to Directory is kept with a trailing '\'.

#include "framework/core/Component.h"
#include "framework/widgets/Controls.h"
#include "platform/ItemIdList.h"

#include <cstdint>
#include <string>
#include <string_view>

class IMalloc;

namespace DrBrowse {
// The tree's root (this unit's own four values).
enum TSpecialFolder { sfDesktop, sfMyComputer, sfNetwork, sfDesktopExpanded };
// What may be browsed and chosen; TBrowseOptions holds bit (1 << member).
enum TBrowseOption { boOnlyFileSystem, boOnlyDomain, boAncestors, boComputers, boPrinters, boShowFiles };
}  // namespace DrBrowse

using TBrowseOptions = std::uint32_t;
inline constexpr TBrowseOptions BrowseOption(DrBrowse::TBrowseOption option) { return 1u << option; }

// Sender, the new selection's file-system path, and its item identifier list.
using TBDSelChangedEvent = Event<void(TObject* sender, const std::string& newSel, LPCITEMIDLIST newSelPIDL)>;

// The control identifier of the dialog's status line.
inline constexpr int kStatusLineId = 14147;

class TDrBrowseDlg : public TComponent {
    VN_COMPONENT(TDrBrowseDlg)
public:
    // A windowed owner owns the dialog's window; otherwise the application's main form
    // does, if there is one.
    explicit TDrBrowseDlg(TComponent* owner);
    ~TDrBrowseDlg() override;

    const std::string& Directory() const { return directory_; }
    void SetDirectory(const std::string& value);
    const std::string& Title() const { return title_; }
    void SetTitle(const std::string& value) { title_ = value; }
    DrBrowse::TSpecialFolder Root() const { return root_; }
    void SetRoot(DrBrowse::TSpecialFolder value) { root_ = value; }
    TBrowseOptions Options() const { return options_; }
    void SetOptions(TBrowseOptions value) { options_ = value; }
    bool Center() const { return center_; }
    void SetCenter(bool value) { center_ = value; }
    const std::string& StatusText() const { return statusText_; }
    void SetStatusText(const std::string& value);
    bool FitStatusText() const { return fitStatusText_; }
    void SetFitStatusText(bool value);
    bool EnableOKButton() const { return enableOKButton_; }
    void SetEnableOKButton(bool value);
    int ImageIndex() const { return imageIndex_; }
    // The open dialog's title, or the stored caption while none is open.
    std::string Caption() const;
    void SetCaption(const std::string& value);
    bool DirectoryShow() const { return directoryShow_; }
    void SetDirectoryShow(bool value) { directoryShow_ = value; }

    TBDSelChangedEvent OnSelChanged;
    TNotifyEventProp OnCreate;

    // Shows the dialog modally; true when the user confirmed an item with OK. Afterwards
    // Directory holds the chosen path (empty after a cancel) and SelectedIDList its list.
    virtual bool Execute();

    // The dialog's window while it is open, else 0.
    HWND DialogHandle() const { return dialogHandle_; }
    // The list of the last chosen or parsed folder (owned by the component).
    LPCITEMIDLIST SelectedIDList() const { return selectedIDList_; }
    TWinControl* OwnerControl() const { return ownerControl_; }

protected:
    virtual void DoInitialized(HWND window);
    virtual void DoSelChanged(HWND window, LPCITEMIDLIST item);
    void Notification(TComponent* component, TOperation operation) override;

private:
    static int BrowseCallback(HWND window, UINT message, LPARAM parameter, LPARAM data);
    bool BrowseForFolder(HWND owner, std::string& path, LPITEMIDLIST& list);
    void SetSelection();
    void ReplaceSelectedIDList(LPITEMIDLIST list);
    std::string FittedStatusText() const;
    void SendStatusText() const;

    std::string directory_;
    std::string title_;
    DrBrowse::TSpecialFolder root_ = DrBrowse::sfDesktop;
    TBrowseOptions options_ = BrowseOption(DrBrowse::boOnlyFileSystem);
    bool center_ = false;
    std::string statusText_;
    bool fitStatusText_ = false;
    bool enableOKButton_ = false;
    int imageIndex_ = -1;
    std::string caption_;
    bool directoryShow_ = false;

    HWND dialogHandle_ = 0;
    TWinControl* ownerControl_ = nullptr;
    LPITEMIDLIST selectedIDList_ = nullptr;
    IMalloc* malloc_ = nullptr;
};

// The text that selects `directory` in the open dialog: "C:" becomes "C:\", and a
// trailing '\' goes except at a drive's root and for "\" itself.
std::string SelectionText(std::string_view directory);

// Whether `path` names an existing folder that is not hidden or a system folder. A drive
// root ("X:\") counts when the prefix has drive X.
bool IsDirectoryPath(std::string_view path);

// Registers the class for form streams.
void RegisterDrBrowseClasses();
