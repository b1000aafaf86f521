#pragma once
// The real fortune-viewer window on the offscreen platform, reading the demo
// disc's data through a temporary prefix (drive Q: is the disc), with the
// click sound in the prefix's system folder or without it, a silent sound
// output, and a listening window as the launcher.
#define QTEST_QPA_MOUSE_HANDLING
#include <QTest>

#include "framework/widgets/MessageBox.h"
#include "oracle/FormMain.h"
#include "platform/Messages.h"

#include <QWindow>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

class TApplication;

namespace oracle_test {

// Creates the application once, with a fresh prefix; sets the command line.
TApplication* StartApplication(const std::vector<std::string>& arguments);
void SetArguments(const std::vector<std::string>& arguments);
// The demo disc's folder (host path).
std::filesystem::path DiscFolder();
// Puts the disc's click sound into the prefix's system folder, or takes it away.
void InstallClickSound(bool present);
// The program reads the disc's ORACLE folder, or a copy without the given
// files of its DATA folder; returns the copy's DATA folder.
void UseDiscData();
std::filesystem::path UseDataWithout(const std::vector<std::string>& missing);
// The main window, created and shown as the program does it.
TFormMain* CreateShownMainForm();
// Destroys the main window (its OnDestroy runs).
void DestroyMainForm();

// Real input through the window, in window coordinates.
void Click(TFormMain* form, QPoint at, Qt::MouseButton button = Qt::LeftButton);
void Press(TFormMain* form, QPoint at, Qt::MouseButton button = Qt::LeftButton);
void Release(TFormMain* form, QPoint at, Qt::MouseButton button = Qt::LeftButton);
void MoveTo(TFormMain* form, QPoint at);
QImage Grab(TFormMain* form);

// Places on the window.
QPoint CoverCentre(int column, int row);
inline const QPoint kTitleSpot(300, 200);
inline const QPoint kViewButton(565, 190);
inline const QPoint kMenuQuit(86, 387);
inline const QPoint kMenuBack(267, 387);
inline const QPoint kFortuneQuit(87, 391);
inline const QPoint kFortuneBack(269, 391);

// From the title through one cover in each column (the first column's row
// is the fortune) to the view button, uncovered.
void ChooseAllColumns(TFormMain* form, int fortuneRow, int otherRow = 1);
// Presses the view button and ends the reveal at once.
void ShowFortuneNow(TFormMain* form);

// A listening window that stands for the launcher; its handle is the
// program's first argument.
class Launcher {
public:
    Launcher();
    std::string HandleText() const;
    std::vector<PostedMessage> Drain();

private:
    MessageWindow window_;
};

} // namespace oracle_test
