#include "oracle/OracleShell.h"

#include "framework/widgets/Application.h"
#include "framework/widgets/MediaPlayer.h"
#include "framework/widgets/MessageBox.h"
#include "framework/widgets/ProgramShell.h"
#include "oracle/CursorResource.h"
#include "platform/Codepage.h"
#include "platform/Files.h"


const QString kAppTitle = QStringLiteral("朝比奈灯先生の『星見の小窓』");
const QString kLauncherName = QStringLiteral("バーヌークパーク");

namespace {
std::string gProgramFolder;
}

void SetProgramFolderForTests(const std::string& folder) { gProgramFolder = folder; }

std::string GetFolder(int kind)
{
    char buffer[256] = {};
    switch (kind) {
    case 1: {
        const UINT length = GetWindowsDirectoryA(buffer, 255);
        return std::string(buffer, length <= 255 ? length : 0);
    }
    case 2: {
        const UINT length = GetSystemDirectoryA(buffer, 255);
        return std::string(buffer, length <= 255 ? length : 0);
    }
    case 3: {
        if (!gProgramFolder.empty())
            return gProgramFolder;
        const std::string module = ModuleFileName();
        const std::size_t slash = Cp932FindLastSeparator(module);
        return slash == std::string::npos ? std::string() : module.substr(0, slash + 1);
    }
    default:
        return {};
    }
}

int ConfirmBox(int mode, const QString& text, const QString& caption, unsigned style)
{
    return MessageBox(nullptr, mode == 1 ? QStringLiteral("終了しますか？") : text, caption, style);
}

void RegisterHandCursor()
{
    const std::vector<std::uint8_t>& bytes = HandCursorResource();
    if (const auto hand = ReadMonochromeCursor(std::span<const std::uint8_t>(bytes.data(), bytes.size())))
        Screen->SetCursors(crHand, *hand);
}

void OpenClickSound(TMediaPlayer* player, const std::string& fileName)
{
    try {
        player->SetFileName(fileName);
        player->SetWait(true);
        player->Open();
    } catch (const EMCIDeviceError&) {
        // Without a click the program works all the same, silently.
        player->Close();
    }
}

void PlayClickSound(TMediaPlayer* player)
{
    if (player->Mode() == mpNotReady)
        return;
    try {
        player->Play();
    } catch (const EMCIDeviceError&) {
        // A sound device that went away leaves the click silent, not the press.
    }
}
