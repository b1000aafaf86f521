// The disc launcher: starts the programs of the disc with its window handle
// and follows their exit messages.

#include "outside/launcher/LauncherWindow.h"
#include "platform/Prefix.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>

#include <cstdio>

int main(int argc, char** argv)
{
    QGuiApplication::setHighDpiScaleFactorRoundingPolicy(Qt::HighDpiScaleFactorRoundingPolicy::Round);
    QApplication app(argc, argv);
    const QString disc = QFileInfo(QCoreApplication::applicationFilePath()).absolutePath();

    // The prefix with the disc's system files, and the disc as drive Q:.
    if (!EnsurePrefix())
        std::fprintf(stderr, "launcher: the prefix could not be prepared\n");
    SetDriveLink('q', disc.toStdString());

    MessageWindow messages;
    if (!messages.IsOpen())
        std::fprintf(stderr, "launcher: no message socket; programs cannot report back\n");
    LauncherWindow window(disc, std::move(messages));
    window.show();
    return app.exec();
}
