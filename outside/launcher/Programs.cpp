#include "outside/launcher/Programs.h"

const std::vector<DiscProgram>& DiscPrograms()
{
    static const std::vector<DiscProgram> programs{
        {QStringLiteral("ROOMTOUR"), QStringLiteral("roomtour"), QStringLiteral("編集部デスクツアー"),
         QStringLiteral("カーサ霧丘の巻")},
        {QStringLiteral("ORACLE"), QStringLiteral("oracle"), QStringLiteral("バーヌーク占い"),
         QStringLiteral("今日のあなたの運勢は")},
        {QStringLiteral("CLIPVIEW"), QStringLiteral("clipview"), QStringLiteral("クリップ劇場"),
         QStringLiteral("字幕つきムービー")},
    };
    return programs;
}

LauncherAction ActionForMessage(unsigned message)
{
    switch (message) {
    case 1430: // desk tour: quit
    case 1428: // fortune: quit
        return LauncherAction::Quit;
    case 1429: // desk tour: back to the launcher
    case 1427: // fortune: back to the launcher
        return LauncherAction::ShowMenu;
    default:
        return LauncherAction::None;
    }
}
