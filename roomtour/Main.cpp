// The desk tour: folders first, then the main window, then the message loop.

#include "framework/widgets/Application.h"
#include "platform/Prefix.h"
#include "roomtour/AppShell.h"
#include "roomtour/FrmMain.h"

int main(int argc, char** argv)
{
    TApplication application(nullptr);
    application.Initialize(argc, argv);
    RegisterRoomtourClasses();
    EnsurePrefix();
    ComputeFolders();
    application.CreateForm<TFrmMain>();
    application.Run();
    return 0;
}
