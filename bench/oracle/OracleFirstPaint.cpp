// The real fortune viewer, ended right after its first paint has reached the
// screen: the same start-up as the program on the disc (folders, cursor,
// click sound, form stream, title and menu pictures), for startup_compare.
// It sits in a folder of its own beside a link to the disc's DATA folder.

#include "bench/startup/FirstPaint.h"
#include "oracle/RunOracle.h"

#include <QCoreApplication>

int main(int argc, char** argv)
{
    return RunOracle(argc, argv, [] { qApp->installEventFilter(new QuitAfterFirstPaint); });
}
