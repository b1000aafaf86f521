// The clip player: the main window is built (opening the clip) before anything
// shows; a clip that cannot be opened ends the program with the error box.

#include "clipview/Form1.h"
#include "framework/widgets/Application.h"
#include "platform/Prefix.h"

#include <exception>

int main(int argc, char** argv)
{
    TApplication application(nullptr);
    application.Initialize(argc, argv);
    application.SetTitle(QStringLiteral("R5 Skyrun"));
    RegisterClipviewClasses();
    EnsurePrefix();
    try {
        application.CreateForm<TForm1>();
    } catch (...) {
        application.HandleException(std::current_exception());
        return 1;
    }
    application.Run();
    return 0;
}
