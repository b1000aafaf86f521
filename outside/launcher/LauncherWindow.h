#pragma once
// The launcher's window: one picture button per program. Starting a program
// passes the launcher's window handle as argument 1 and the program's folder
// as working folder; the menu hides while the program runs and comes back
// when the program says so (or ends without saying anything); a program that
// has said so is not waited for before the next start.

#include "outside/launcher/Programs.h"
#include "platform/Messages.h"

#include <QImage>
#include <QProcess>
#include <QWidget>

#include <memory>

class QSocketNotifier;

class LauncherWindow : public QWidget {
public:
    LauncherWindow(QString discFolder, MessageWindow messages);
    ~LauncherWindow() override;

    HWND Handle() const { return messages_.Handle(); }

protected:
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
    int ButtonAt(QPoint p) const;

    QString discFolder_;
    MessageWindow messages_;
    std::unique_ptr<QSocketNotifier> notifier_;
    std::unique_ptr<QProcess> running_;
    std::vector<Button> buttons_;
    QImage background_;
    int pressed_ = -1;
    bool pressedInside_ = false;
};
