#include "outside/launcher/LauncherWindow.h"

#include "outside/launcher/LauncherArt.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QMouseEvent>
#include <QPainter>
#include <QSocketNotifier>
#include <QTimer>
#include <QWindow>

namespace {
constexpr int kWidth = 640;
constexpr int kHeight = 400;
}

LauncherWindow::LauncherWindow(QString discFolder, MessageWindow messages)
    : discFolder_(std::move(discFolder)), messages_(std::move(messages)), quit_([] { QCoreApplication::quit(); })
{
    setWindowTitle(QStringLiteral("バーヌークパーク"));
    setFixedSize(kWidth, kHeight);
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    background_ = DrawLauncherBackground(size());

    const auto& programs = DiscPrograms();
    const int buttonWidth = 180;
    const int gap = (kWidth - 3 * buttonWidth) / 4;
    for (int i = 0; i < static_cast<int>(programs.size()); ++i) {
        const QString exe = QDir(discFolder_).filePath(programs[i].folder + QLatin1Char('/') + programs[i].executable);
        buttons_.push_back({QRect(gap + i * (buttonWidth + gap), 110, buttonWidth, 190), i,
                            QFileInfo(exe).isExecutable()});
    }
    buttons_.push_back({QRect(kWidth - 110, kHeight - 52, 90, 36), -1, true});

    if (messages_.IsOpen()) {
        notifier_ = std::make_unique<QSocketNotifier>(messages_.Fd(), QSocketNotifier::Read);
        QObject::connect(notifier_.get(), &QSocketNotifier::activated, [this] { OnMessages(); });
    }
}

LauncherWindow::~LauncherWindow()
{
    if (running_) {
        running_->disconnect();
        running_->waitForFinished(0);
    }
}

void LauncherWindow::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.drawImage(0, 0, background_);
    const auto& programs = DiscPrograms();
    for (int i = 0; i < static_cast<int>(buttons_.size()); ++i) {
        const Button& b = buttons_[static_cast<std::size_t>(i)];
        const bool down = i == pressed_ && pressedInside_;
        if (b.program < 0)
            p.drawImage(b.rect.topLeft(), DrawQuitButton(b.rect.size(), down));
        else {
            const DiscProgram& prog = programs[static_cast<std::size_t>(b.program)];
            p.drawImage(b.rect.topLeft(),
                        DrawProgramButton(b.rect.size(), b.program, prog.title, prog.subtitle, down, b.available));
        }
    }
}

int LauncherWindow::ButtonAt(QPoint point) const
{
    for (int i = 0; i < static_cast<int>(buttons_.size()); ++i)
        if (buttons_[static_cast<std::size_t>(i)].rect.contains(point) && buttons_[static_cast<std::size_t>(i)].available)
            return i;
    return -1;
}

void LauncherWindow::mousePressEvent(QMouseEvent* e)
{
    if (e->button() != Qt::LeftButton)
        return;
    pressed_ = ButtonAt(e->position().toPoint());
    pressedInside_ = pressed_ >= 0;
    update();
}

void LauncherWindow::mouseMoveEvent(QMouseEvent* e)
{
    if (pressed_ < 0)
        return;
    const bool inside = buttons_[static_cast<std::size_t>(pressed_)].rect.contains(e->position().toPoint());
    if (inside != pressedInside_) {
        pressedInside_ = inside;
        update();
    }
}

void LauncherWindow::mouseReleaseEvent(QMouseEvent* e)
{
    if (e->button() != Qt::LeftButton || pressed_ < 0)
        return;
    const int released = pressed_;
    const bool inside = buttons_[static_cast<std::size_t>(released)].rect.contains(e->position().toPoint());
    pressed_ = -1;
    pressedInside_ = false;
    update();
    if (!inside)
        return;
    if (buttons_[static_cast<std::size_t>(released)].program < 0)
        close();
    else
        Start(buttons_[static_cast<std::size_t>(released)].program);
}

void LauncherWindow::Start(int program)
{
    if (running_)
        return;
    const DiscProgram& prog = DiscPrograms()[static_cast<std::size_t>(program)];
    const QString folder = QDir(discFolder_).filePath(prog.folder);
    running_ = std::make_unique<QProcess>();
    running_->setProgram(QDir(folder).filePath(prog.executable));
    running_->setArguments({QString::number(Handle())});
    running_->setWorkingDirectory(folder);
    running_->setProcessChannelMode(QProcess::ForwardedChannels);
    QObject::connect(running_.get(), &QProcess::finished, [this] { OnProgramEnded(); });
    QObject::connect(running_.get(), &QProcess::errorOccurred, [this](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart)
            OnProgramEnded();
    });
    running_->start();
    // A window manager places a window shown again as if it were new; the
    // menu comes back where it was.
    placeWhileHidden_ = geometry().topLeft();
    hide();
}

void LauncherWindow::OnMessages()
{
    while (auto message = messages_.Receive()) {
        switch (ActionForMessage(message->message)) {
        case LauncherAction::Quit:
            EndAfterPrograms();
            return;
        case LauncherAction::ShowMenu:
            LetGoOfProgram();
            ShowMenu();
            break;
        case LauncherAction::None:
            break;
        }
    }
}

void LauncherWindow::LetGoOfProgram()
{
    if (!running_)
        return;
    // The program has said goodbye but may take a while to end (a large
    // program, or one under a checker that looks over its memory at exit).
    // The menu is back and must take the next click, so the program is left
    // to end on its own; its end no longer concerns the menu.
    QProcess* ending = running_.release();
    ending->disconnect();
    ending->setParent(this);
    QObject::connect(ending, &QProcess::finished, ending, &QObject::deleteLater);
}

void LauncherWindow::OnProgramEnded()
{
    if (!running_)
        return;
    running_.release()->deleteLater();
    ShowMenu();
}

void LauncherWindow::ShowMenu()
{
    if (ending_)
        return;
    if (!isVisible()) {
        // An explicit position, so that the window manager is told to keep it
        // (moving to the place Qt already knows would tell it nothing).
        if (QWindow* window = windowHandle())
            window->setPosition(placeWhileHidden_);
        show();
        raise();
        activateWindow();
    }
}

void LauncherWindow::closeEvent(QCloseEvent* e)
{
    if (ended_ || ProgramsStillRunning().empty()) {
        e->accept();
        return;
    }
    // A program that said goodbye may still be ending; ending the launcher now
    // would kill it mid-exit.
    e->ignore();
    EndAfterPrograms();
}

std::vector<QProcess*> LauncherWindow::ProgramsStillRunning() const
{
    std::vector<QProcess*> running;
    if (running_ && running_->state() != QProcess::NotRunning)
        running.push_back(running_.get());
    for (QProcess* ending : findChildren<QProcess*>(Qt::FindDirectChildrenOnly))
        if (ending->state() != QProcess::NotRunning)
            running.push_back(ending);
    return running;
}

void LauncherWindow::EndAfterPrograms()
{
    if (ending_)
        return;
    ending_ = true;
    hide();
    auto end = [this] {
        if (ended_)
            return;
        ended_ = true;
        quit_();
    };
    const std::vector<QProcess*> running = ProgramsStillRunning();
    if (running.empty()) {
        end();
        return;
    }
    auto left = std::make_shared<std::size_t>(running.size());
    for (QProcess* program : running) {
        program->disconnect(this);
        QObject::connect(program, &QProcess::finished, this, [left, end] {
            if (--*left == 0)
                end();
        });
    }
    // A program that hangs cannot keep the launcher for ever.
    QTimer::singleShot(endWait_, this, end);
}
