#include "platform/dialogs/BrowseForFolder.h"

#include "platform/Codepage.h"
#include "platform/dialogs/FolderPicker.h"

#include <QApplication>
#include <QPointer>

#include <cstring>

PIDLIST_ABSOLUTE SHBrowseForFolderA(LPBROWSEINFOA info)
{
    if (!info || !qobject_cast<QApplication*>(QCoreApplication::instance()))
        return nullptr;
    std::optional<ShellNode> root = info->pidlRoot ? ShellNode::FromIdList(info->pidlRoot) : std::nullopt;
    QWidget* owner = WidgetOfWindowHandle(info->hwndOwner);
    QString title = info->lpszTitle ? Cp932ToUnicode(info->lpszTitle) : QString();

    QPointer<FolderPickerDialog> dialog =
        new FolderPickerDialog(owner ? owner->window() : nullptr, root.value_or(ShellNode::Desktop()), info->ulFlags, title);
    dialog->Start([info](HWND window, UINT message, LPARAM parameter) {
        if (info->lpfn)
            info->lpfn(window, message, parameter, info->lParam);
    });
    bool confirmed = !dialog->CallbackFailure() && dialog->exec() == QDialog::Accepted;
    if (!dialog)  // its owner went away meanwhile
        return nullptr;
    std::exception_ptr failure = dialog->CallbackFailure();
    std::optional<ShellNode> chosen = confirmed ? dialog->Selection() : std::nullopt;
    delete dialog;
    if (failure)
        std::rethrow_exception(failure);
    if (!chosen)
        return nullptr;

    if (info->pszDisplayName) {
        std::string name = UnicodeToCp932(ShellNodeDisplayName(*chosen));
        std::size_t keep = 0;
        while (keep < name.size() && Cp932NextChar(name, keep) < MAX_PATH)
            keep = Cp932NextChar(name, keep);
        std::memcpy(info->pszDisplayName, name.data(), keep);
        info->pszDisplayName[keep] = '\0';
    }
    info->iImage = ShellNodeImageIndex(*chosen);
    return chosen->ToIdList();
}
