// The launcher's window with stand-in programs (shell scripts that note each
// start and then linger): a program's goodbye brings the menu back, and the
// menu takes the next click even while that program is still ending; ending
// the launcher lets programs finish first, for a bounded time.
#include <QTest>

#include "outside/launcher/LauncherWindow.h"
#include "platform/Messages.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <memory>

namespace {
// The desk tour's button, and what the desk tour posts to go back.
const QPoint kFirstButton(120, 200);
const QPoint kQuitButton(575, 366); // the launcher's own
constexpr UINT kBackToLauncher = 1429;
constexpr UINT kQuitAll = 1430;

// A disc whose desk tour notes every start (with its argument) in a log and
// stays for the given seconds: the first start briefly, every later one long
// (as the sleep itself, so that the launcher's end takes it along).
void MakeDisc(const QString& disc, const QString& log, int firstStay, int laterStay)
{
    QDir().mkpath(disc + QStringLiteral("/ROOMTOUR"));
    QFile script(disc + QStringLiteral("/ROOMTOUR/roomtour"));
    QVERIFY(script.open(QIODevice::WriteOnly));
    script.write(QStringLiteral("#!/bin/sh\n"
                                "n=$(cat '%1' 2>/dev/null | wc -l)\n"
                                "echo \"$1\" >> '%1'\n"
                                "if [ \"$n\" -eq 0 ]; then exec sleep %2; else exec sleep %3; fi\n")
                     .arg(log)
                     .arg(firstStay)
                     .arg(laterStay)
                     .toUtf8());
    script.close();
    script.setPermissions(script.permissions() | QFileDevice::ExeOwner);
}

// A disc whose desk tour notes its start, takes `stay` seconds to end, and
// notes its end; a program killed on the way never notes it.
void MakeSlowToEndDisc(const QString& disc, const QString& log, int stay)
{
    QDir().mkpath(disc + QStringLiteral("/ROOMTOUR"));
    QFile script(disc + QStringLiteral("/ROOMTOUR/roomtour"));
    QVERIFY(script.open(QIODevice::WriteOnly));
    script.write(QStringLiteral("#!/bin/sh\n"
                                "echo start >> '%1'\n"
                                "sleep %2\n"
                                "echo end >> '%1'\n")
                     .arg(log)
                     .arg(stay)
                     .toUtf8());
    script.close();
    script.setPermissions(script.permissions() | QFileDevice::ExeOwner);
}

QStringList Starts(const QString& log)
{
    QFile file(log);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

void Click(QWidget& window, QPoint at)
{
    QTest::mousePress(&window, Qt::LeftButton, {}, at);
    QTest::mouseRelease(&window, Qt::LeftButton, {}, at);
}
}

class LauncherWindowTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void aProgramStartsWithTheHandleAndTheMenuHides()
    {
        QTemporaryDir dir;
        const QString log = dir.filePath(QStringLiteral("starts"));
        MakeDisc(dir.path(), log, 30, 30);
        LauncherWindow window(dir.path(), MessageWindow());
        window.show();
        const QString handle = QString::number(window.Handle());

        Click(window, kFirstButton);
        QTRY_COMPARE_WITH_TIMEOUT(Starts(log), QStringList{handle}, 10000);
        QVERIFY(!window.isVisible());
    }

    void theMenuTakesTheNextClickWhileAProgramThatSaidGoodbyeIsStillEnding()
    {
        QTemporaryDir dir;
        const QString log = dir.filePath(QStringLiteral("starts"));
        MakeDisc(dir.path(), log, 2, 30);
        LauncherWindow window(dir.path(), MessageWindow());
        window.show();
        const QString handle = QString::number(window.Handle());

        Click(window, kFirstButton);
        QTRY_COMPARE_WITH_TIMEOUT(Starts(log).size(), 1, 10000);
        QVERIFY(!window.isVisible());

        // Goodbye, then a click at once: the first program has not ended yet.
        QVERIFY(PostMessageA(window.Handle(), kBackToLauncher, 0, 0));
        QTRY_VERIFY_WITH_TIMEOUT(window.isVisible(), 10000);
        Click(window, kFirstButton);
        QTRY_COMPARE_WITH_TIMEOUT(Starts(log), (QStringList{handle, handle}), 10000);
        QVERIFY(!window.isVisible());

        // The first program's end, when it comes, leaves the second one's
        // hidden menu alone.
        QTest::qWait(3000);
        QVERIFY(!window.isVisible());

        // The second one's goodbye brings the menu back as usual.
        QVERIFY(PostMessageA(window.Handle(), kBackToLauncher, 0, 0));
        QTRY_VERIFY_WITH_TIMEOUT(window.isVisible(), 10000);
    }

    void aQuitMessageLetsTheProgramFinishBeforeTheLauncherEnds()
    {
        QTemporaryDir dir;
        const QString log = dir.filePath(QStringLiteral("log"));
        MakeSlowToEndDisc(dir.path(), log, 2);
        auto window = std::make_unique<LauncherWindow>(dir.path(), MessageWindow());
        QStringList atQuit;
        bool quit = false;
        window->SetQuitAction([&] {
            quit = true;
            atQuit = Starts(log);
        });
        window->show();
        Click(*window, kFirstButton);
        QTRY_COMPARE_WITH_TIMEOUT(Starts(log), QStringList{QStringLiteral("start")}, 10000);

        // The program says "quit" while it still has its end ahead of it.
        QVERIFY(PostMessageA(window->Handle(), kQuitAll, 0, 0));
        QTest::qWait(500);
        QVERIFY(!quit);
        QVERIFY(!window->isVisible());
        QTRY_VERIFY_WITH_TIMEOUT(quit, 10000);
        QCOMPARE(atQuit, (QStringList{QStringLiteral("start"), QStringLiteral("end")}));
        window.reset();
    }

    void theQuitButtonWaitsForAProgramThatSaidGoodbye()
    {
        QTemporaryDir dir;
        const QString log = dir.filePath(QStringLiteral("log"));
        MakeSlowToEndDisc(dir.path(), log, 2);
        LauncherWindow window(dir.path(), MessageWindow());
        bool quit = false;
        QStringList atQuit;
        window.SetQuitAction([&] {
            quit = true;
            atQuit = Starts(log);
        });
        window.show();
        Click(window, kFirstButton);
        QTRY_COMPARE_WITH_TIMEOUT(Starts(log).size(), 1, 10000);
        QVERIFY(PostMessageA(window.Handle(), kBackToLauncher, 0, 0));
        QTRY_VERIFY_WITH_TIMEOUT(window.isVisible(), 10000);

        Click(window, kQuitButton);  // at once: the program is still ending
        QVERIFY(!quit);
        QTRY_VERIFY_WITH_TIMEOUT(quit, 10000);
        QCOMPARE(atQuit, (QStringList{QStringLiteral("start"), QStringLiteral("end")}));
    }

    void aProgramThatDoesNotEndKeepsTheLauncherOnlySoLong()
    {
        QTemporaryDir dir;
        const QString log = dir.filePath(QStringLiteral("starts"));
        MakeDisc(dir.path(), log, 30, 30);
        LauncherWindow window(dir.path(), MessageWindow());
        bool quit = false;
        window.SetQuitAction([&] { quit = true; });
        window.SetEndWait(std::chrono::milliseconds(300));
        window.show();
        Click(window, kFirstButton);
        QTRY_COMPARE_WITH_TIMEOUT(Starts(log).size(), 1, 10000);
        QVERIFY(PostMessageA(window.Handle(), kQuitAll, 0, 0));
        QTRY_VERIFY_WITH_TIMEOUT(quit, 5000);
        // And the menu stays away.
        QVERIFY(PostMessageA(window.Handle(), kBackToLauncher, 0, 0));
        QTest::qWait(200);
        QVERIFY(!window.isVisible());
    }
};

QTEST_MAIN(LauncherWindowTest)
#include "LauncherWindowTest.moc"
