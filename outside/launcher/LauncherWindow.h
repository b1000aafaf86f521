#pragma once
// The launcher's window: one picture button per program. Starting a program
// passes the launcher's window handle as argument 1 and the program's folder
// as working folder; the menu hides while the program runs and comes back
// where it was when the program says so (or ends without saying anything); a
// program that has said so is not waited for before the next start. When the
// launcher ends (a program's quit message, or its own quit button), programs
// still ending are let finish first, for a bounded time.

#include "outside/launcher/Programs.h"
#include "platform/Messages.h"

#include <QImage>
#include <QProcess>
#include <QWidget>

#include <chrono>
#include <functional>
#include <memory>

class QSocketNotifier;

class LauncherWindow : public QWidget {
public:
    LauncherWindow(QString discFolder, MessageWindow messages);
    ~LauncherWindow() override;

    HWND Handle() const { return messages_.Handle(); }

    // What ending the launcher does (by default, quit the application), and how
    // long it waits for programs still running before it does so anyway.
    void SetQuitAction(std::function<void()> quit) { quit_ = std::move(quit); }
    void SetEndWait(std::chrono::milliseconds wait) { endWait_ = wait; }

protected:
    void closeEvent(QCloseEvent* e) override;
    void paintEvent(QPaintEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;

private:
    struct Button {
        QRect rect;
        int program = -1; // index into DiscPrograms(), -1 = quit
        bool available = true;
    };

    void Start(int program);
    void OnMessages();
    void LetGoOfProgram();
    void OnProgramEnded();
    void ShowMenu();
    // Ends the launcher once every program it started has ended, or after endWait_.
    void EndAfterPrograms();
    std::vector<QProcess*> ProgramsStillRunning() const;
    int ButtonAt(QPoint p) const;

    QString discFolder_;
    MessageWindow messages_;
    std::unique_ptr<QSocketNotifier> notifier_;
    std::unique_ptr<QProcess> running_;
    std::vector<Button> buttons_;
    QImage background_;
    int pressed_ = -1;
    bool pressedInside_ = false;
    QPoint placeWhileHidden_;
    std::function<void()> quit_;
    std::chrono::milliseconds endWait_{10000};
    bool ending_ = false;
    bool ended_ = false;
};
