// The desk tour's shell: start-up, the close confirmation and the one exit
// message to the launcher, received on a listening window socket.
#include <QTest>

#include "framework/widgets/Application.h"
#include "framework/widgets/MessageBox.h"
#include "platform/Messages.h"
#include "roomtour/AppShell.h"
#include "tests/roomtour/RoomtourFixture.h"

using namespace roomtour_test;

namespace {
const QString kQuitQuestion = QStringLiteral("終了しますか？");
const QString kBackQuestion = QStringLiteral("バーヌークパークに戻りますか？");

std::vector<PostedMessage> Drain(MessageWindow& launcher)
{
    std::vector<PostedMessage> got;
    while (auto m = launcher.Receive())
        got.push_back(*m);
    return got;
}

// A window of the test's own, so that no other listener on the machine can
// take its messages or its name; the program's argument names it.
std::string HandleText(const MessageWindow& window) { return std::to_string(window.Handle()); }

// Presses and releases a menu button the way a user does.
void ClickAt(TFrmMain* form, QPoint p)
{
    QWindow* window = form->Widget()->windowHandle();
    QTest::mousePress(window, Qt::LeftButton, {}, p);
    QTest::mouseRelease(window, Qt::LeftButton, {}, p);
}
}

class ShellTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() { StartApplication({}); }
    void cleanup() { DestroyMainForm(); }

    void startUpShapesTheWindowAndShowsTheMenu()
    {
        MessageBoxSeam seam(nullptr);
        TFrmMain* form = CreateShownMainForm();
        QCOMPARE(seam.Requests().empty() ? QString() : seam.Requests()[0].text, QString());
        QCOMPARE(form->Widget()->size(), QSize(600, 420));
        QCOMPARE(form->Widget()->maximumSize(), QSize(600, 420));
        QVERIFY(!(form->Widget()->windowFlags() & Qt::WindowMaximizeButtonHint));
        QCOMPARE(form->Caption(), kAppTitle);
        QCOMPARE(Application->Title(), kAppTitle);
        QCOMPARE(form->CurrentScreen(), 0);
        QVERIFY(form->PMenu->Visible());
        QVERIFY(!form->PRetZaseki->Visible());
        QVERIFY(form->QuitChosen());
        QCOMPARE(Screen->Cursor(), crDefault);
        QCOMPARE(form->PDesk->Picture()->Width(), 600);
        QCOMPARE(form->BufNameDesk->Picture()->Height(), 875);
    }

    void aMissingStartUpPictureIsReportedAndTheWindowStillOpens()
    {
        UseDataWithout({"Shell02.jdt"});
        MessageBoxSeam seam(nullptr);
        TFrmMain* form = CreateShownMainForm();
        QCOMPARE(seam.Requests().size(), std::size_t(1));
        QVERIFY(seam.Requests()[0].text.contains(QStringLiteral("Shell02.jdt")));
        QCOMPARE(seam.Requests()[0].caption, kAppTitle);
        QCOMPARE(seam.Requests()[0].Icon(), MB_ICONSTOP);
        QVERIFY(form->Widget()->isVisible());
        QVERIFY(!form->QuitChosen());
        // The steps after the failure did not run.
        QCOMPARE(form->BufNameDesk->Picture()->Width(), 0);
    }

    void withoutArgumentsEveryCloseAsksToQuitAndNothingIsPosted()
    {
        MessageWindow launcher;
        QVERIFY(launcher.IsOpen());
        MessageBoxSeam seam([](const MessageBoxRequest&) { return IDNO; });
        TFrmMain* form = CreateShownMainForm();
        ClickAt(form, QPoint(150, 400)); // BPark
        form->Widget()->close();
        QCOMPARE(seam.Requests().size(), std::size_t(2));
        for (const auto& r : seam.Requests()) {
            QCOMPARE(r.text, kQuitQuestion);
            QCOMPARE(r.caption, kAppTitle);
            QCOMPARE(r.type, MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2 | MB_TASKMODAL);
        }
        QVERIFY(form->Widget()->isVisible());
        seam.SetAnswer([](const MessageBoxRequest&) { return IDYES; });
        form->Widget()->close();
        DestroyMainForm();
        QVERIFY(Drain(launcher).empty());
    }

    void withAHandleAConfirmedCloseBoxPostsOneQuit()
    {
        MessageWindow launcher;
        QVERIFY(launcher.IsOpen());
        SetArguments({HandleText(launcher)});
        MessageBoxSeam seam([](const MessageBoxRequest&) { return IDYES; });
        TFrmMain* form = CreateShownMainForm();
        form->Widget()->close();
        QCOMPARE(seam.Requests().size(), std::size_t(1));
        QCOMPARE(seam.Requests()[0].text, kQuitQuestion);
        QVERIFY(Drain(launcher).empty()); // only when the window is destroyed
        DestroyMainForm();
        const auto got = Drain(launcher);
        QCOMPARE(got.size(), std::size_t(1));
        QCOMPARE(got[0], (PostedMessage{1430, 0, 0}));
    }

    void backToTheLauncherAsksAgainAfterNoAndPostsBack()
    {
        MessageWindow launcher;
        QVERIFY(launcher.IsOpen());
        SetArguments({HandleText(launcher)});
        MessageBoxSeam seam([](const MessageBoxRequest&) { return IDNO; });
        TFrmMain* form = CreateShownMainForm();
        ClickAt(form, QPoint(150, 400)); // BPark
        QCOMPARE(form->CurrentScreen(), 0);
        seam.SetAnswer([](const MessageBoxRequest&) { return IDYES; });
        form->Widget()->close();
        QCOMPARE(seam.Requests().size(), std::size_t(2));
        QCOMPARE(seam.Requests()[0].text, kBackQuestion);
        QCOMPARE(seam.Requests()[1].text, kBackQuestion);
        DestroyMainForm();
        const auto got = Drain(launcher);
        QCOMPARE(got.size(), std::size_t(1));
        QCOMPARE(got[0], (PostedMessage{1429, 0, 0}));
    }

    void theQuitButtonAsksToQuit()
    {
        MessageWindow launcher;
        QVERIFY(launcher.IsOpen());
        SetArguments({HandleText(launcher)});
        MessageBoxSeam seam([](const MessageBoxRequest&) { return IDYES; });
        TFrmMain* form = CreateShownMainForm();
        ClickAt(form, QPoint(50, 400)); // BQuit
        QCOMPARE(seam.Requests().size(), std::size_t(1));
        QCOMPARE(seam.Requests()[0].text, kQuitQuestion);
        DestroyMainForm();
        const auto got = Drain(launcher);
        QCOMPARE(got.size(), std::size_t(1));
        QCOMPARE(got[0].message, 1430u);
    }

    void anArgumentThatIsNoHandlePostsAndReportsNothing()
    {
        MessageWindow launcher;
        QVERIFY(launcher.IsOpen());
        SetArguments({HandleText(launcher) + "ab"});
        MessageBoxSeam seam([](const MessageBoxRequest&) { return IDYES; });
        TFrmMain* form = CreateShownMainForm();
        form->Widget()->close();
        DestroyMainForm();
        QCOMPARE(seam.Requests().size(), std::size_t(1)); // the question only
        QVERIFY(Drain(launcher).empty());
    }
};

QTEST_MAIN(ShellTest)
#include "ShellTest.moc"
