#include "installer/SCFile.h"

#include "installer/FolderPath.h"
#include "installer/PathText.h"
#include "platform/Codepage.h"
#include "platform/Files.h"
#include "platform/ShellFolders.h"
#include "platform/ShellLink.h"

#include <QString>

#include <cstdio>

namespace {

constexpr const char* kSpecialFolderError = "Error in GetSpecialFolderLocation";

// Releases a COM interface when the scope ends.
template <typename I> class ComRef {
public:
    ComRef() = default;
    ~ComRef()
    {
        if (object_)
            object_->Release();
    }
    ComRef(const ComRef&) = delete;
    ComRef& operator=(const ComRef&) = delete;
    I* operator->() const { return object_; }
    I* get() const { return object_; }
    void** out() { return reinterpret_cast<void**>(&object_); }

private:
    I* object_ = nullptr;
};

std::string Shown(const std::string& cp932) { return Cp932ToUtf8(cp932); }

// The special folder's path. A folder the shell does not know, or one that is no folder
// of the file system (My Computer, the network), gives no place for a file.
std::string SpecialFolderPath(SCFile::TSpecialFolder root)
{
    IMalloc* malloc = nullptr;
    SHGetMalloc(&malloc);
    LPITEMIDLIST list = nullptr;
    if (FAILED(SHGetSpecialFolderLocation(0, static_cast<int>(root), &list)))
        throw EShortCutFileError(kSpecialFolderError);
    char buffer[MAX_PATH] = {};
    BOOL found = SHGetPathFromIDListA(list, buffer);
    malloc->Free(list);
    malloc->Release();
    if (!found)
        throw EShortCutFileError(kSpecialFolderError);
    return buffer;
}

void Check(HRESULT result, const std::string& linkPath, const char* what)
{
    if (FAILED(result))
        throw EShortCutFileError("ショートカット「" + Shown(linkPath) + "」に" + what + "を設定できません。");
}

}  // namespace

VN_DEFINE_COMPONENT(TShortCutFile, TComponent,
    p.String("Arguments", &TShortCutFile::Arguments, &TShortCutFile::SetArguments);
    p.String("Description", &TShortCutFile::Description, &TShortCutFile::SetDescription);
    p.String("FileName", &TShortCutFile::FileName, &TShortCutFile::SetFileName);
    p.Integer("HotKey", &TShortCutFile::HotKey, &TShortCutFile::SetHotKey);
    p.Integer("IconIndex", &TShortCutFile::IconIndex, &TShortCutFile::SetIconIndex);
    p.Enum("SpecialRoot", &TShortCutFile::SpecialRoot, &TShortCutFile::SetSpecialRoot,
           {"sfDesktop", "sfReserved1", "sfPrograms", "sfControls", "sfPrinters", "sfPersonal", "sfFavorites",
            "sfStartup", "sfRecent", "sfSendTo", "sfBitBucket", "sfStartMenu", "sfReserved2", "sfReserved3",
            "sfReserved4", "sfReserved5", "sfDesktopDirectory", "sfDrives", "sfNetwork", "sfNetHood", "sfFonts",
            "sfTemplates", "sfCommonStartMenu", "sfCommonPrograms", "sfCommonStartup",
            "sfCommonDesktopDirectory", "sfAppData", "sfPrintHood"},
           SCFile::sfDesktop);
    p.String("UserRoot", &TShortCutFile::UserRoot, &TShortCutFile::SetUserRoot);
    p.Enum("WindowState", &TShortCutFile::WindowState, &TShortCutFile::SetWindowState,
           {"wsNormal", "wsMinimized", "wsMaximized"}, wsNormal);
    p.String("WorkDir", &TShortCutFile::WorkDir, &TShortCutFile::SetWorkDir);
)

void RegisterShortCutFileClasses() { RegisterClass(TShortCutFile::StaticClassInfo()); }

TShortCutFile::TShortCutFile(TComponent* owner) : TComponent(owner) {}

std::uint16_t HotKeyWord(TShortCut shortCut)
{
    std::uint16_t word = shortCut & 0x1FFF;
    if (shortCut & 0x2000)
        word |= HOTKEYF_SHIFT << 8;
    if (shortCut & 0x4000)
        word |= HOTKEYF_CONTROL << 8;
    if (shortCut & 0x8000)
        word |= HOTKEYF_ALT << 8;
    return word;
}

int ShowCommandOf(TWindowState state)
{
    switch (state) {
    case wsMinimized:
        return SW_SHOWMINNOACTIVE;
    case wsMaximized:
        return SW_SHOWMAXIMIZED;
    case wsNormal:
        break;
    }
    return SW_SHOWNORMAL;
}

std::string FileNameSafe(const std::string& name)
{
    std::string safe;
    for (std::size_t pos = 0; pos < name.size();) {
        std::size_t length = Cp932CharLength(name, pos);
        unsigned char byte = static_cast<unsigned char>(name[pos]);
        if (length == 1 && (byte < 0x20 || std::string_view("\\/:*?\"<>|").find(static_cast<char>(byte)) != std::string_view::npos))
            safe += '_';
        else
            safe.append(name, pos, length);
        pos += length;
    }
    return safe;
}

void TShortCutFile::SetFileName(const std::string& value)
{
    if (value == fileName_)
        return;
    fileName_ = value;
    if (description_.empty())
        description_ = ChangeFileExt(ExtractFileName(value), "");
    if (workDir_.empty())
        workDir_ = ExtractFileDir(value);
}

std::string TShortCutFile::ShortCutPath() const
{
    std::string path = SpecialFolderPath(specialRoot_);
    if (!userRoot_.empty())
        path += "\\" + userRoot_;
    std::string target = fileName_.empty() ? ModuleFileName() : fileName_;
    std::string name = !description_.empty() ? description_ + ".lnk" : ChangeFileExt(ExtractFileName(target), ".lnk");
    return path + "\\" + FileNameSafe(name);
}

void TShortCutFile::CreateShortCut()
{
    if (fileName_.empty())
        SetFileName(ModuleFileName());
    const WORD hotKey = HotKeyWord(hotKey_);

    std::string path = ShortCutPath();
    if (!userRoot_.empty()) {
        std::string folder = ExtractFileDir(path);
        CreateFolderPath(folder);
        if (!FolderExists(folder))
            throw EShortCutFileError("ショートカットのフォルダー「" + Shown(folder) + "」を作成できません。");
    }

    ComRef<IUnknown> object;
    HRESULT created = CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER,
                                       IID_IUnknown, object.out());
    if (FAILED(created)) {
        char code[16];
        std::snprintf(code, sizeof code, "%08X", static_cast<unsigned>(created));
        throw EShortCutFileError(std::string("ショートカットのオブジェクトを作成できません (") + code + ")。");
    }
    ComRef<IShellLinkA> link;
    ComRef<IPersistFile> file;
    if (FAILED(object->QueryInterface(IID_IShellLinkA, link.out())) ||
        FAILED(object->QueryInterface(IID_IPersistFile, file.out())))
        throw EShortCutFileError("Interface not supported");

    Check(link->SetDescription(description_.c_str()), path, "説明");
    Check(link->SetPath(fileName_.c_str()), path, "リンク先");
    Check(link->SetWorkingDirectory(workDir_.c_str()), path, "作業フォルダー");
    Check(link->SetArguments(arguments_.c_str()), path, "引数");
    Check(link->SetHotkey(hotKey), path, "ショートカット キー");
    Check(link->SetShowCmd(ShowCommandOf(windowState_)), path, "実行時の大きさ");
    Check(link->SetIconLocation(fileName_.c_str(), iconIndex_), path, "アイコン");

    QString wide = Cp932ToUnicode(path);
    if (FAILED(file->Save(reinterpret_cast<LPCWSTR>(wide.utf16()), TRUE)))
        throw EShortCutFileError("ショートカット「" + Shown(path) + "」を書き込めません。");
}
