// The launcher's window with stand-in programs (shell scripts that note each
// start and then linger): a program's goodbye brings the menu back, and the
// menu takes the next click even while that program is still ending.
#include <QTest>

#include "outside/launcher/LauncherWindow.h"
#include "platform/Messages.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {
// The desk tour's button, and what the desk tour posts to go back.
const QPoint kFirstButton(120, 200);
constexpr UINT kBackToLauncher = 1429;

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
};

QTEST_MAIN(LauncherWindowTest)
#include "LauncherWindowTest.moc"
