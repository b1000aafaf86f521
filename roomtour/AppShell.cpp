#include "roomtour/AppShell.h"

#include "framework/widgets/Application.h"
#include "framework/widgets/Forms.h"
#include "platform/Files.h"
#include "platform/Shell.h"

const QString kAppTitle = QStringLiteral("編集者持ち回り企画 カーサ霧丘の巻");

std::string WindowsDir;
std::string DataDir;

void ComputeFolders()
{
    char buffer[MAX_PATH + 1] = {};
    const UINT length = GetWindowsDirectoryA(buffer, MAX_PATH);
    WindowsDir = std::string(buffer, length <= MAX_PATH ? length : 0) + "\\";

    // The folder of the program file, with its backslash, then "Data\".
    DataDir = ModuleFolder() + "Data\\";
}

void SetupMainWindow(TForm* form) { SetupFixedWindow(form, kAppTitle, 600, 420, clBlack); }

void ShellOpen(const std::string& target, const std::string& parameters, const std::string& folder,
               int showCommand)
{
    ShellExecuteA(0, nullptr, target.c_str(), parameters.empty() ? nullptr : parameters.c_str(),
                  folder.empty() ? nullptr : folder.c_str(), showCommand);
}
