#pragma once
// The folder picker's dialog: the title text, the status line (control 14147), the tree
// (14145) and OK (1) and Cancel (2), laid out as the classic shell dialog has them. It
// answers the BFFM_ messages as plain calls and reports its start and every selection
// change to one callback. SHBrowseForFolderA (BrowseForFolder.h) is its only user.

#include "platform/ShellNamespace.h"
#include "platform/dialogs/ShellWindows.h"

#include <QDialog>

#include <exception>
#include <functional>
#include <optional>
#include <string>

class FolderTreeModel;
class QLabel;
class QPushButton;
class QTreeView;

// Control identifiers of the classic dialog.
inline constexpr int kBrowseTreeId = 14145;
inline constexpr int kBrowseTitleId = 14146;
inline constexpr int kBrowseStatusId = 14147;
inline constexpr int kBrowseOkId = 1;      // IDOK
inline constexpr int kBrowseCancelId = 2;  // IDCANCEL

// Whether OK may confirm `node` under the dialog's flags (BIF_*): file-system items only
// with BIF_RETURNONLYFSDIRS, file-system ancestors only with BIF_RETURNFSANCESTORS, never
// when only computers or printers may be chosen (there are none here).
bool BrowseOkAllowed(const ShellNode& node, UINT flags);

class FolderPickerDialog : public QDialog, public ShellWindowMessages {
    Q_OBJECT
public:
    // Receives BFFM_INITIALIZED (with 0) and BFFM_SELCHANGED (with the new selection's
    // list, valid during the call).
    using Callback = std::function<void(HWND dialog, UINT message, LPARAM parameter)>;

    FolderPickerDialog(QWidget* owner, const ShellNode& root, UINT flags, const QString& title);
    ~FolderPickerDialog() override;

    // Starts the dialog's life: the callback hears BFFM_INITIALIZED and then, unless a
    // selection change was reported meanwhile, BFFM_SELCHANGED for the first selection.
    void Start(Callback callback);

    // The messages of the shell dialog, as plain calls.
    bool SelectPath(const std::string& cp932Path);
    bool SelectIdList(LPCITEMIDLIST list);
    void SetStatusText(const std::string& cp932Text);
    void EnableOk(bool enable);
    std::optional<LRESULT> WindowMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

    std::optional<ShellNode> Selection() const;
    // An exception that left the callback (the dialog was closed because of it).
    std::exception_ptr CallbackFailure() const { return failure_; }

    QTreeView* Tree() const { return tree_; }
    QLabel* StatusLine() const { return status_; }
    QPushButton* OkButton() const { return ok_; }

private:
    void SelectionChanged();
    void Notify(UINT message, LPARAM parameter);
    bool Select(const ShellNode& node);

    UINT flags_;
    FolderTreeModel* model_ = nullptr;
    QLabel* title_ = nullptr;
    QLabel* status_ = nullptr;
    QTreeView* tree_ = nullptr;
    QPushButton* ok_ = nullptr;
    QPushButton* cancel_ = nullptr;
    Callback callback_;
    std::optional<ShellNode> lastReported_;
    std::exception_ptr failure_;
    int nesting_ = 0;
};
