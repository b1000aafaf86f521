// vn_discgen: makes the demo disc's data from code. One sub-command per kind of
// data; each names its output folders on the command line, so the build decides
// where things land.

#include "disc/ClipviewForm.h"
#include "disc/OracleForm.h"
#include "disc/OraclePictures.h"
#include "disc/RoomtourForm.h"
#include "disc/archives/RoomtourArchives.h"
#include "disc/RoomtourPictures.h"
#include "disc/SystemFiles.h"
#include "disc/art/Lettering.h"
#include "disc/clip/SkyrunClip.h"

#include <QGuiApplication>

#include <cstdio>
#include <exception>
#include <string>
#include <string_view>
#include <vector>

namespace {

struct SubCommand {
    std::string_view name;
    std::string_view arguments;
    std::string_view purpose;
    bool drawsText;   // needs a GUI application for fonts (runs on the offscreen platform)
    int (*run)(const std::vector<std::string>&);
};

const SubCommand kSubCommands[] = {
    {"roomtour-pictures", "<disc dir> <parts dir> [--preview <dir>]",
     "the desk tour's photographs, menu, seating chart, name plates and buttons", true, disc::runRoomtourPictures},
    {"system-files", "<disc dir>", "the files of the disc's SYSTEM folder (the click sound)", false,
     disc::runSystemFiles},
    {"roomtour-form", "<parts dir> <output file>", "the desk tour's main form stream with its stored pictures", false,
     disc::runRoomtourForm},
    {"clipview-clip", "<disc dir> [--preview <dir>]", "the clip player's clip R5_01.dat (AVI, Cinepak and 8-bit sound)",
     true, disc::runClipviewClip},
    {"clipview-form", "<parts dir> <output file> [--preview <dir>]",
     "the clip player's form stream with its start picture", true, disc::runClipviewForm},
    {"oracle-pictures", "<disc dir> <parts dir> [--preview <dir>]",
     "the fortune viewer's GIF pictures, the pictures of its form data and its hand cursor", true,
     disc::runOraclePictures},
    {"oracle-form", "<parts dir> <output file>", "the fortune viewer's main form stream with its stored pictures",
     false, disc::runOracleForm},
    {"roomtour-archives", "<disc dir>", "the desk tour's LZH archives (the skin course and the skin set)", true,
     disc::runRoomtourArchives},
};

void printUsage(std::FILE* to)
{
    std::fprintf(to, "usage: vn_discgen <sub-command> [arguments]\n\nsub-commands:\n");
    for (const SubCommand& command : kSubCommands)
        std::fprintf(to, "  %.*s %.*s\n      %.*s\n", int(command.name.size()), command.name.data(),
                     int(command.arguments.size()), command.arguments.data(), int(command.purpose.size()),
                     command.purpose.data());
}

// Qt's messages go to the standard error as usual, except the one notice that
// every run on a build machine without a desktop session would print.
void forwardQtMessage(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (type == QtWarningMsg && message.startsWith(QStringLiteral("QStandardPaths: XDG_RUNTIME_DIR not set")))
        return;
    std::fprintf(stderr, "%s\n", qFormatLogMessage(type, context, message).toLocal8Bit().constData());
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        printUsage(stderr);
        return 2;
    }
    const std::string_view wanted = argv[1];
    if (wanted == "--help" || wanted == "-h" || wanted == "help") {
        printUsage(stdout);
        return 0;
    }
    for (const SubCommand& command : kSubCommands) {
        if (command.name != wanted)
            continue;
        const std::vector<std::string> arguments(argv + 2, argv + argc);
        try {
            if (!command.drawsText)
                return command.run(arguments);
            // Text needs a font database, which needs a GUI application; the pictures
            // never need a display, so default to the offscreen platform.
            if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
                qputenv("QT_QPA_PLATFORM", "offscreen");
            qInstallMessageHandler(forwardQtMessage);
            int appArgc = 1;
            QGuiApplication application(appArgc, argv);
            disc::art::requireJapaneseFonts();
            return command.run(arguments);
        } catch (const std::exception& error) {
            std::fprintf(stderr, "vn_discgen %s: %s\n", argv[1], error.what());
            return 1;
        }
    }
    std::fprintf(stderr, "vn_discgen: unknown sub-command '%s'\n\n", argv[1]);
    printUsage(stderr);
    return 2;
}
