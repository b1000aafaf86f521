// browsefolder [--dir PATH] [--text TEXT] [--status TEXT] [--fit] [--show-dir] [--center]
//              [--ok] [--my-computer] [--files]
// The folder browse dialog on its own: shows it and prints the chosen folder (a Windows
// path, in UTF-8), or nothing and exit status 1 after a cancel. Texts are UTF-8; --text
// is the text above the tree (Qt takes --title for itself).

#include "framework/widgets/Application.h"
#include "installer/DrBrowse.h"
#include "platform/Codepage.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

int main(int argc, char** argv)
{
    auto* app = new TApplication(nullptr);
    app->Initialize(argc, argv);
    TDrBrowseDlg dialog(nullptr);
    for (int i = 1; i < argc; ++i) {
        std::string option = argv[i];
        auto next = [&]() -> std::string {
            if (i + 1 >= argc) {
                std::fprintf(stderr, "browsefolder: %s needs a value\n", option.c_str());
                std::exit(2);
            }
            return Utf8ToCp932(argv[++i]);
        };
        if (option == "--dir")
            dialog.SetDirectory(next());
        else if (option == "--text")
            dialog.SetTitle(next());
        else if (option == "--status")
            dialog.SetStatusText(next());
        else if (option == "--fit")
            dialog.SetFitStatusText(true);
        else if (option == "--show-dir")
            dialog.SetDirectoryShow(true);
        else if (option == "--center")
            dialog.SetCenter(true);
        else if (option == "--ok")
            dialog.SetEnableOKButton(true);
        else if (option == "--my-computer")
            dialog.SetRoot(DrBrowse::sfMyComputer);
        else if (option == "--files")
            dialog.SetOptions(dialog.Options() | BrowseOption(DrBrowse::boShowFiles));
        else {
            std::fprintf(stderr, "browsefolder: unknown option %s\n", option.c_str());
            return 2;
        }
    }
    bool chosen = dialog.Execute();
    if (chosen)
        std::printf("%s\n", Cp932ToUtf8(dialog.Directory()).c_str());
    delete app;
    return chosen ? 0 : 1;
}
