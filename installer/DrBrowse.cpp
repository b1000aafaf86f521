#include "installer/DrBrowse.h"

#include "framework/widgets/Application.h"
#include "framework/core/Dispatch.h"
#include "framework/widgets/Forms.h"
#include "installer/FitText.h"
#include "installer/PathText.h"
#include "platform/Codepage.h"
#include "platform/Disks.h"
#include "platform/FindFile.h"
#include "platform/ShellFolders.h"
#include "platform/dialogs/BrowseForFolder.h"

#include <QString>
#include <QWidget>

#include <cstring>

namespace {

const std::string& DefaultCaption()
{
    static const std::string caption = Utf8ToCp932("フォルダの参照");
    return caption;
}

// The shell folder identifier of each root.
int RootFolderId(DrBrowse::TSpecialFolder root)
{
    switch (root) {
    case DrBrowse::sfDesktop:
        return CSIDL_DESKTOP;
    case DrBrowse::sfMyComputer:
        return CSIDL_DRIVES;
    case DrBrowse::sfNetwork:
        return CSIDL_NETWORK;
    case DrBrowse::sfDesktopExpanded:
        break;
    }
    return 0xFEFE;
}

UINT BrowseFlags(TBrowseOptions options)
{
    static constexpr UINT kFlags[] = {BIF_RETURNONLYFSDIRS, BIF_DONTGOBELOWDOMAIN, BIF_RETURNFSANCESTORS,
                                      BIF_BROWSEFORCOMPUTER, BIF_BROWSEFORPRINTER, BIF_BROWSEINCLUDEFILES};
    UINT flags = 0;
    for (int member = 0; member <= DrBrowse::boShowFiles; ++member)
        if (options & (1u << member))
            flags |= kFlags[member];
    return flags;
}

HWND WindowOf(TControl* control) { return control ? WindowHandleOf(control->Widget()) : 0; }

BOOL FindStatusLine(HWND child, LPARAM data)
{
    if (GetDlgCtrlID(child) != kStatusLineId)
        return TRUE;
    *reinterpret_cast<HWND*>(data) = child;
    return FALSE;
}

// The status line's width, and a text's width in its own font (0 when it cannot be
// measured); nothing when the control cannot be drawn on.
struct StatusLineMetrics {
    int width = 0;
    TextWidthFunction measure;
};

std::optional<StatusLineMetrics> MetricsOf(HWND control)
{
    RECT rect;
    SIZE probe;
    if (!GetWindowRect(control, &rect) || !GetWindowTextExtentA(control, "", 0, &probe))
        return std::nullopt;
    StatusLineMetrics metrics;
    metrics.width = rect.right - rect.left;
    metrics.measure = [control](std::string_view text) {
        SIZE size;
        return GetWindowTextExtentA(control, text.data(), static_cast<int>(text.size()), &size) ? size.cx : 0;
    };
    return metrics;
}

}  // namespace

VN_DEFINE_COMPONENT(TDrBrowseDlg, TComponent,
    p.String("Directory", &TDrBrowseDlg::Directory, &TDrBrowseDlg::SetDirectory);
    p.String("Title", &TDrBrowseDlg::Title, &TDrBrowseDlg::SetTitle);
    p.Enum("Root", &TDrBrowseDlg::Root, &TDrBrowseDlg::SetRoot,
           {"sfDesktop", "sfMyComputer", "sfNetwork", "sfDesktopExpanded"}, DrBrowse::sfDesktop);
    p.Set("Options", &TDrBrowseDlg::Options, &TDrBrowseDlg::SetOptions,
          {"boOnlyFileSystem", "boOnlyDomain", "boAncestors", "boComputers", "boPrinters", "boShowFiles"},
          BrowseOption(DrBrowse::boOnlyFileSystem));
    p.Boolean("Center", &TDrBrowseDlg::Center, &TDrBrowseDlg::SetCenter);
    p.String("StatusText", &TDrBrowseDlg::StatusText, &TDrBrowseDlg::SetStatusText);
    p.Boolean("FitStatusText", &TDrBrowseDlg::FitStatusText, &TDrBrowseDlg::SetFitStatusText);
    p.Boolean("EnableOKButton", &TDrBrowseDlg::EnableOKButton, &TDrBrowseDlg::SetEnableOKButton);
    {
        // Read-only: shown, never stored.
        TPropInfo image;
        image.name = "ImageIndex";
        image.kind = TPropKind::Integer;
        image.get = [](const TObject& o) {
            return TPropValue(static_cast<std::int64_t>(static_cast<const TDrBrowseDlg&>(o).ImageIndex()));
        };
        image.set = [](TObject&, const TPropValue&) { ThrowInvalidValue(); };
        image.stored = [](const TObject&) { return false; };
        p.Custom(std::move(image));
    }
    {
        // Stored whenever it differs from the default caption, an empty one included.
        TPropInfo caption;
        caption.name = "Caption";
        caption.kind = TPropKind::String;
        caption.get = [](const TObject& o) { return TPropValue(static_cast<const TDrBrowseDlg&>(o).Caption()); };
        caption.set = [](TObject& o, const TPropValue& v) { static_cast<TDrBrowseDlg&>(o).SetCaption(AsString(v)); };
        caption.stored = [](const TObject& o) { return static_cast<const TDrBrowseDlg&>(o).Caption() != DefaultCaption(); };
        p.Custom(std::move(caption));
    }
    p.Boolean("DirectoryShow", &TDrBrowseDlg::DirectoryShow, &TDrBrowseDlg::SetDirectoryShow);
    p.EventProp("OnSelChanged", &TDrBrowseDlg::OnSelChanged);
    p.EventProp("OnCreate", &TDrBrowseDlg::OnCreate);
)

void RegisterDrBrowseClasses() { RegisterClass(TDrBrowseDlg::StaticClassInfo()); }

TDrBrowseDlg::TDrBrowseDlg(TComponent* owner) : TComponent(owner), caption_(DefaultCaption())
{
    if (auto* windowed = dynamic_cast<TWinControl*>(owner))
        ownerControl_ = windowed;
    else if (Application && Application->MainForm())
        ownerControl_ = Application->MainForm();
    // An owner outlives what it owns; the main form need not.
    if (ownerControl_ && ownerControl_ != owner)
        FreeNotification(ownerControl_);
    SHGetMalloc(&malloc_);
}

TDrBrowseDlg::~TDrBrowseDlg()
{
    if (ownerControl_ && ownerControl_ != Owner())
        RemoveFreeNotification(ownerControl_);
    ReplaceSelectedIDList(nullptr);
    if (malloc_)
        malloc_->Release();
}

void TDrBrowseDlg::Notification(TComponent* component, TOperation operation)
{
    TComponent::Notification(component, operation);
    if (operation == TOperation::opRemove && component == ownerControl_)
        ownerControl_ = nullptr;
}

void TDrBrowseDlg::ReplaceSelectedIDList(LPITEMIDLIST list)
{
    if (selectedIDList_ && selectedIDList_ != list && malloc_)
        malloc_->Free(selectedIDList_);
    selectedIDList_ = list;
}

bool TDrBrowseDlg::Execute()
{
    TControl* ownerWindow = ownerControl_;
    if (!ownerWindow && Owner()) {
        if (auto* windowed = dynamic_cast<TWinControl*>(Owner()))
            ownerWindow = windowed;
        else if (Application)
            ownerWindow = Application->MainForm();
    }
    std::string path;
    LPITEMIDLIST list = nullptr;
    bool chosen = BrowseForFolder(WindowOf(ownerWindow), path, list);
    dialogHandle_ = 0;
    if (chosen) {
        directory_ = path;
        ReplaceSelectedIDList(list);
    } else {
        directory_.clear();
        if (list && malloc_)
            malloc_->Free(list);
        ReplaceSelectedIDList(nullptr);
    }
    return chosen;
}

bool TDrBrowseDlg::BrowseForFolder(HWND owner, std::string& path, LPITEMIDLIST& list)
{
    char* buffer = malloc_ ? static_cast<char*>(malloc_->Alloc(MAX_PATH)) : nullptr;
    if (!buffer)
        return false;
    buffer[0] = '\0';
    LPITEMIDLIST root = nullptr;
    SHGetSpecialFolderLocation(owner, RootFolderId(root_), &root);  // an unknown root: the desktop

    BROWSEINFOA info;
    info.hwndOwner = owner;
    info.pidlRoot = root;
    info.pszDisplayName = buffer;
    info.lpszTitle = title_.c_str();
    info.ulFlags = BrowseFlags(options_);
    if (!statusText_.empty() || directoryShow_)
        info.ulFlags |= BIF_STATUSTEXT;
    info.lpfn = &TDrBrowseDlg::BrowseCallback;
    info.lParam = reinterpret_cast<LPARAM>(this);

    bool result = false;
    try {
        list = SHBrowseForFolderA(&info);
    } catch (...) {
        malloc_->Free(root);
        malloc_->Free(buffer);
        throw;
    }
    if (list) {
        // A computer has no file-system path: its display name stands for it.
        if (options_ & BrowseOption(DrBrowse::boComputers))
            path = std::string("\\\\") + buffer;
        if (SHGetPathFromIDListA(list, buffer) || !(options_ & BrowseOption(DrBrowse::boComputers)))
            path = buffer;
        imageIndex_ = info.iImage;
        result = true;  // OK was pressed, whether or not the item has a path
    }
    malloc_->Free(root);
    malloc_->Free(buffer);
    return result;
}

int TDrBrowseDlg::BrowseCallback(HWND window, UINT message, LPARAM parameter, LPARAM data)
{
    auto* self = reinterpret_cast<TDrBrowseDlg*>(data);
    // The callback runs inside the dialog's own loop: errors of the events are reported
    // like those of any handler, and the dialog stays open.
    Dispatch([&]() {
        if (message == BFFM_INITIALIZED)
            self->DoInitialized(window);
        else if (message == BFFM_SELCHANGED)
            self->DoSelChanged(window, reinterpret_cast<LPCITEMIDLIST>(parameter));
    });
    return 0;
}

void TDrBrowseDlg::DoInitialized(HWND window)
{
    dialogHandle_ = window;
    if (center_) {
        RECT rect;
        GetWindowRect(window, &rect);
        int left = (GetSystemMetrics(SM_CXSCREEN) - (rect.right - rect.left)) / 2;
        int top = (GetSystemMetrics(SM_CYSCREEN) - (rect.bottom - rect.top)) / 2;
        SetWindowPos(window, 0, left, top, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOZORDER);
    }
    SendMessageA(window, BFFM_ENABLEOK, 0, enableOKButton_ ? 1 : 0);
    if (!statusText_.empty())
        SendStatusText();
    if (!directory_.empty() || selectedIDList_)
        SetSelection();
    if (!caption_.empty())
        SendMessageA(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(caption_.c_str()));
    OnCreate(this);
}

void TDrBrowseDlg::DoSelChanged(HWND, LPCITEMIDLIST item)
{
    if (!directoryShow_ && !OnSelChanged)
        return;
    char buffer[MAX_PATH] = {};
    SHGetPathFromIDListA(item, buffer);
    std::string path(buffer, ::strnlen(buffer, MAX_PATH));
    if (directoryShow_)
        SetStatusText(path);
    OnSelChanged(this, path, item);
}

void TDrBrowseDlg::SetSelection()
{
    if (directory_.empty() && selectedIDList_) {
        char* buffer = malloc_ ? static_cast<char*>(malloc_->Alloc(MAX_PATH)) : nullptr;
        if (buffer && SHGetPathFromIDListA(selectedIDList_, buffer))
            directory_ = buffer;
        else
            directory_.clear();
        if (buffer)
            malloc_->Free(buffer);
        SendMessageA(dialogHandle_, BFFM_SETSELECTIONA, FALSE, reinterpret_cast<LPARAM>(selectedIDList_));
        return;
    }
    IShellFolder* desktop = nullptr;
    if (FAILED(SHGetDesktopFolder(&desktop)))
        return;
    QString wide = Cp932ToUnicode(directory_).left(static_cast<qsizetype>(MAX_PATH));
    LPITEMIDLIST parsed = nullptr;
    ULONG eaten = 0;
    ULONG attributes = 0;
    bool ok = SUCCEEDED(desktop->ParseDisplayName(dialogHandle_, nullptr, reinterpret_cast<LPCWSTR>(wide.utf16()),
                                                  &eaten, &parsed, &attributes));
    desktop->Release();
    if (ok)
        ReplaceSelectedIDList(parsed);
    bool network = directory_.size() >= 2 && directory_[0] == '\\' && directory_[1] == '\\';
    if (network) {
        if (ok)
            SendMessageA(dialogHandle_, BFFM_SETSELECTIONA, FALSE, reinterpret_cast<LPARAM>(selectedIDList_));
        return;
    }
    std::string text = SelectionText(directory_);
    SendMessageA(dialogHandle_, BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>(text.c_str()));
}

void TDrBrowseDlg::SetDirectory(const std::string& value)
{
    if (value == directory_)
        return;
    directory_ = value;
    if (!directory_.empty() && !EndsWithBackslash(directory_) && IsDirectoryPath(directory_))
        directory_ += '\\';
    if (dialogHandle_)
        SetSelection();
}

void TDrBrowseDlg::SetStatusText(const std::string& value)
{
    if (value == statusText_)
        return;
    statusText_ = value;
    if (dialogHandle_)
        SendStatusText();
}

void TDrBrowseDlg::SetFitStatusText(bool value)
{
    if (value == fitStatusText_)
        return;
    fitStatusText_ = value;
    if (dialogHandle_)
        SendStatusText();
}

void TDrBrowseDlg::SetEnableOKButton(bool value)
{
    if (value == enableOKButton_)
        return;
    enableOKButton_ = value;
    if (dialogHandle_)
        SendMessageA(dialogHandle_, BFFM_ENABLEOK, 0, value ? 1 : 0);
}

std::string TDrBrowseDlg::Caption() const
{
    if (!dialogHandle_)
        return caption_;
    char buffer[256] = {};
    LRESULT length = SendMessageA(dialogHandle_, WM_GETTEXT, sizeof buffer, reinterpret_cast<LPARAM>(buffer));
    return std::string(buffer, static_cast<std::size_t>(length));
}

void TDrBrowseDlg::SetCaption(const std::string& value)
{
    caption_ = value;
    if (dialogHandle_)
        SendMessageA(dialogHandle_, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(caption_.c_str()));
}

void TDrBrowseDlg::SendStatusText() const
{
    std::string text = FittedStatusText();
    SendMessageA(dialogHandle_, BFFM_SETSTATUSTEXTA, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

std::string TDrBrowseDlg::FittedStatusText() const
{
    if (!fitStatusText_)
        return statusText_;
    HWND control = 0;
    EnumChildWindows(dialogHandle_, &FindStatusLine, reinterpret_cast<LPARAM>(&control));
    if (!control || statusText_.empty())
        return statusText_;
    std::optional<StatusLineMetrics> metrics = MetricsOf(control);
    if (!metrics)
        return statusText_;
    if (IsDirectoryPath(statusText_))
        return FitPathText(statusText_, metrics->width, metrics->measure);
    return FitEndText(statusText_, metrics->width, metrics->measure);
}

std::string SelectionText(std::string_view directory)
{
    if (directory.empty())
        return {};
    if (directory.size() < 4 && directory.size() >= 2 && directory[1] == ':')
        return directory.size() == 2 ? std::string(directory) + "\\" : std::string(directory);
    if (directory != "\\" && EndsWithBackslash(directory))
        return WithoutTrailingBackslash(directory);
    return std::string(directory);
}

bool IsDirectoryPath(std::string_view path)
{
    if (path.size() == 3 && path[1] == ':' && path[2] == '\\') {
        int drive = AsciiToUpper(path[0]) - 'A';
        return drive >= 0 && drive < 32 && (GetLogicalDrives() >> drive & 1u);
    }
    if (path.empty())
        return false;
    std::string name = WithoutTrailingBackslash(path);
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(name.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return false;
    constexpr DWORD kPassedOver = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_VOLUME;
    bool any = (found.dwFileAttributes & kPassedOver) == 0;
    while (!any && FindNextFileA(search, &found))
        any = (found.dwFileAttributes & kPassedOver) == 0;
    FindClose(search);
    return any && (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
}
