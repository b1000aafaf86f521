// The fortune viewer from start to end with real input: start-up, the title,
// the menu's columns unlocking one by one, the view button, the fortune
// revealed and its buttons, the cursor, the close confirmation and the one
// exit message. Built twice: with the click sound in the system folder, and
// without it, where every step must work the same, silently.
#include "tests/oracle/OracleFixture.h"

#include "framework/widgets/Application.h"
#include "oracle/OracleShell.h"
#include "outside/fximage/Reveal.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QScreen>

#include <fstream>

using namespace oracle_test;

namespace {
const QString kQuitQuestion = QStringLiteral("終了しますか？");
const QString kBackQuestion = QStringLiteral("メニューに戻りますか？");
constexpr unsigned kQuestion = MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2 | MB_TASKMODAL;

#ifdef ORACLE_WITHOUT_CLICK_SOUND
constexpr bool kWithSound = false;
#else
constexpr bool kWithSound = true;
#endif

// Watches the click sound. Every play ends in a notification of the player,
// so a click is seen even when it is over before the test looks.
class ClickWatch {
public:
    explicit ClickWatch(TFormMain* form) : player_(form->MediaPlayer1)
    {
        QTest::qWait(20); // the open's own notification goes by first
        player_->OnNotify = [this](TObject*) { ++heard_; };
    }
    ~ClickWatch() { player_->OnNotify.Clear(); }
    // A click was played since the last look (without the sound: the player
    // was left alone and nothing went wrong).
    bool Played()
    {
        if (!kWithSound)
            return player_->Mode() == mpNotReady;
        QElapsedTimer waited;
        waited.start();
        while (heard_ == seen_ && waited.elapsed() < 5000)
            QTest::qWait(5);
        const bool played = heard_ > seen_;
        seen_ = heard_;
        return played;
    }
    // No click since the last look.
    bool Silent()
    {
        QTest::qWait(kWithSound ? 150 : 0);
        const bool silent = heard_ == seen_ && (kWithSound || player_->Mode() == mpNotReady);
        seen_ = heard_;
        return silent;
    }

private:
    TMediaPlayer* player_;
    int heard_ = 0;
    int seen_ = 0;
};
} // namespace

class FlowTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        StartApplication({});
        InstallClickSound(kWithSound);
    }
    void init() { StartApplication({}); }
    void cleanup() { DestroyMainForm(); }

    void startUpShapesTheWindowAndSetsUpTheScreensWithoutAWord()
    {
        MessageBoxSeam seam(nullptr);
        TFormMain* form = CreateShownMainForm();
        QVERIFY(seam.Requests().empty());
        QCOMPARE(form->Widget()->size(), QSize(600, 420));
        QCOMPARE(form->Widget()->maximumSize(), QSize(600, 420));
        QVERIFY(!(form->Widget()->windowFlags() & Qt::WindowMaximizeButtonHint));
        QCOMPARE(form->Caption(), kAppTitle);
        QCOMPARE(Application->Title(), kAppTitle);
        // Centred with its final size.
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        const QRect frame = form->Widget()->frameGeometry();
        QVERIFY(std::abs(frame.center().x() - screen.center().x()) <= 2);
        QVERIFY(std::abs(frame.center().y() - screen.center().y()) <= 2);
        QVERIFY(form->QuitChosen());
        QCOMPARE(form->SystemDir(), std::string("C:\\WINDOWS\\SYSTEM"));
        QCOMPARE(form->AppDir(), std::string("Q:\\ORACLE\\"));
        QCOMPARE(form->MediaPlayer1->Mode(), kWithSound ? mpStopped : mpNotReady);
        // The screens and their places.
        QCOMPARE(form->SPanelTitle->BoundsRect(), Bounds(0, 0, 600, 420));
        QCOMPARE(form->SPanelMenu->BoundsRect(), Bounds(0, 0, 600, 420));
        QVERIFY(form->SPanelTitle->Visible());
        QCOMPARE(form->ImageTitle->BoundsRect(), Bounds(0, 0, 600, 420));
        QCOMPARE(form->ImageMenu->BoundsRect(), Bounds(0, 0, 600, 420));
        QCOMPARE(form->ImageDokode->BoundsRect(), Bounds(145, 17, 124, 64));
        QCOMPARE(form->ImageNanio->BoundsRect(), Bounds(397, 17, 124, 64));
        QVERIFY(!form->ImageDokode->Visible() && !form->ImageDarega->Visible() && !form->ImageNanio->Visible());
        QCOMPARE(form->Covers[9]->BoundsRect(), Bounds(145, 215, 124, 64)); // ImageW1_10
        QCOMPARE(form->Covers[9]->Tag(), 7);
        QCOMPARE(form->CmpMiru->BoundsRect(), Bounds(540, 30, 51, 323));
        QCOMPARE(form->TP_Dmiru->BoundsRect(), Bounds(540, 30, 51, 323));
        QCOMPARE(form->CmpMQuit->BoundsRect(), Bounds(18, 360, 137, 54));
        QCOMPARE(form->CmpMMenu->BoundsRect(), Bounds(189, 360, 156, 54));
        QCOMPARE(form->FXImage1->BoundsRect(), Bounds(0, 0, 600, 420));
        QVERIFY(!form->FXImage1->Visible());
        QCOMPARE(form->TPKQuit->BoundsRect(), Bounds(17, 361, 142, 59));
        QCOMPARE(form->TPKMenu->BoundsRect(), Bounds(189, 362, 161, 58));
        QCOMPARE(form->CmpKQuit->BoundsRect(), Bounds(0, 0, 141, 60));
        QCOMPARE(form->CmpKMenu->BoundsRect(), Bounds(0, 0, 160, 60));
        QVERIFY(!form->TPKQuit->Visible() && !form->TPKMenu->Visible());
        // Only the first column takes choices.
        for (TVarnookPanel* cover : form->Covers)
            QCOMPARE(cover->Enabled(), cover->Tag() <= 4);
    }

    void anyButtonOnTheTitleLeavesItWithTheClick_data()
    {
        QTest::addColumn<int>("button");
        QTest::newRow("left") << int(Qt::LeftButton);
        QTest::newRow("right") << int(Qt::RightButton);
        QTest::newRow("middle") << int(Qt::MiddleButton);
    }
    void anyButtonOnTheTitleLeavesItWithTheClick()
    {
        QFETCH(int, button);
        MessageBoxSeam seam(nullptr);
        TFormMain* form = CreateShownMainForm();
        ClickWatch click(form);
        Press(form, kTitleSpot, Qt::MouseButton(button));
        QVERIFY(!form->SPanelTitle->Visible());
        Release(form, kTitleSpot, Qt::MouseButton(button));
        QVERIFY(click.Played());
        QVERIFY(form->SPanelMenu->Visible());
        QVERIFY(seam.Requests().empty());
    }

    void theColumnsUnlockOneByOneAndOnlyTheFirstChoiceIsKept()
    {
        MessageBoxSeam seam(nullptr);
        TFormMain* form = CreateShownMainForm();
        ClickWatch click(form);
        Click(form, kTitleSpot);
        QVERIFY(click.Played());
        // A right click on a cover does nothing; a click on a later column neither.
        Click(form, CoverCentre(1, 3), Qt::RightButton);
        QVERIFY(form->Covers[8]->Visible());
        QVERIFY(click.Silent());
        Click(form, CoverCentre(2, 1));
        QVERIFY(form->Covers[1]->Visible());
        QVERIFY(!form->ImageDokode->Visible());
        // A middle click chooses, with the click.
        Click(form, CoverCentre(1, 3), Qt::MiddleButton);
        QVERIFY(click.Played());
        QVERIFY(!form->Covers[8]->Visible()); // ImageW1_9, Tag 3
        QCOMPARE(form->FortuneNumber(), 3);
        QVERIFY(form->ImageDokode->Visible());
        for (TVarnookPanel* cover : form->Covers)
            QCOMPARE(cover->Enabled(), cover->Tag() >= 5 && cover->Tag() <= 8);
        // The disabled first column no longer takes choices.
        Click(form, CoverCentre(1, 1));
        QVERIFY(form->Covers[0]->Visible());
        QCOMPARE(form->FortuneNumber(), 3);

        Click(form, CoverCentre(2, 4));
        QVERIFY(form->ImageDarega->Visible());
        QVERIFY(!form->Covers[13]->Visible());
        Click(form, CoverCentre(3, 2));
        QVERIFY(form->ImageNanio->Visible());
        QVERIFY(form->TP_Dmiru->Visible());
        Click(form, CoverCentre(4, 1));
        QVERIFY(!form->TP_Dmiru->Visible());
        for (TVarnookPanel* cover : form->Covers)
            QVERIFY(!cover->Enabled());
        QCOMPARE(form->FortuneNumber(), 3);
        QVERIFY(seam.Requests().empty());
    }

    void beforeTheLastColumnTheViewButtonsPlaceBelongsToItsCover()
    {
        TFormMain* form = CreateShownMainForm();
        int coverPresses = 0;
        form->TP_Dmiru->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) { ++coverPresses; };
        int viewPresses = 0;
        form->CmpMiru->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) { ++viewPresses; };
        Click(form, kTitleSpot);
        Click(form, kViewButton);
        Click(form, CoverCentre(1, 1));
        Click(form, CoverCentre(2, 1));
        Click(form, CoverCentre(3, 1));
        Click(form, kViewButton);
        QCOMPARE(coverPresses, 2);
        QCOMPARE(viewPresses, 0);
        QVERIFY(!form->FXImage1->Visible());
        QVERIFY(form->SPanelMenu->Visible());
    }

    void theThirdChoiceOfTheFirstColumnShowsTheThirdFortune()
    {
        TFormMain* form = CreateShownMainForm();
        ChooseAllColumns(form, 3, 4);
        const QImage menu = Grab(form);
        Click(form, kViewButton);
        QVERIFY(QString::fromStdString(form->GIFImage1->FileName()).endsWith(QStringLiteral("DATA\\K3.DAT")));
        QVERIFY(form->FXImage1->Visible());
        QVERIFY(!form->SPanelMenu->Visible());
        QVERIFY(form->FXImage1->Revealing());
        const QImage fortune = form->GIFImage1->Bitmap()->Image()->convertToFormat(QImage::Format_RGB32);
        QCOMPARE(form->FXImage1->Picture()->Bitmap()->Image()->convertToFormat(QImage::Format_RGB32), fortune);
        // The reveal starts from the menu as it was shown.
        QCOMPARE(form->FXImage1->RevealStart(), menu);
    }

    void theFortunesButtonsAppearOnlyOnceTheRevealHasEnded()
    {
        TFormMain* form = CreateShownMainForm();
        ChooseAllColumns(form, 2);
        Click(form, kViewButton);
        QVERIFY(form->FXImage1->Revealing());
        QVERIFY(!form->TPKQuit->Visible());
        QVERIFY(!form->TPKMenu->Visible());
        QTest::qWait(kRevealMilliseconds / 2);
        QVERIFY(!form->TPKQuit->Visible());
        QTRY_VERIFY_WITH_TIMEOUT(form->TPKQuit->Visible(), kRevealMilliseconds + 3000);
        QVERIFY(form->TPKMenu->Visible());
        QVERIFY(!form->FXImage1->Revealing());
        QVERIFY(!form->FXImage1->FXEnabled());
        QVERIFY(!form->FXImage1->DFximg32_Notify());
        // The buttons are drawn over the picture.
        const QImage shot = Grab(form);
        const QImage fortune = form->FXImage1->Picture()->Bitmap()->Image()->convertToFormat(QImage::Format_RGB32);
        QVERIFY(shot.pixel(kFortuneQuit) != fortune.pixel(kFortuneQuit));
        QCOMPARE(shot.pixel(400, 100), fortune.pixel(400, 100));
    }

    void aMiddlePressOnAButtonClicksWithoutActionAndARightOneDoesNothing()
    {
        MessageBoxSeam seam(nullptr);
        TFormMain* form = CreateShownMainForm();
        ClickWatch click(form);
        Click(form, kTitleSpot);
        QVERIFY(click.Played());
        Press(form, kMenuQuit, Qt::RightButton);
        QVERIFY(form->CmpMQuit->Visible());
        Release(form, kMenuQuit, Qt::RightButton);
        QVERIFY(click.Silent());
        Press(form, kMenuQuit, Qt::MiddleButton);
        QVERIFY(form->CmpMQuit->Visible());
        Release(form, kMenuQuit, Qt::MiddleButton);
        QVERIFY(click.Played());
        QVERIFY(seam.Requests().empty());
        QVERIFY(form->Widget()->isVisible());
    }

    void theButtonsPressedLookShowsWhileItIsHeld()
    {
        TFormMain* form = CreateShownMainForm();
        Click(form, kTitleSpot);
        const QImage before = Grab(form);
        Press(form, kMenuBack);
        QVERIFY(!form->CmpMMenu->Visible());
        const QImage held = Grab(form);
        QVERIFY(held.pixel(kMenuBack) != before.pixel(kMenuBack));
        MoveTo(form, QPoint(300, 50));
        QVERIFY(form->CmpMMenu->Visible());
        MessageBoxSeam seam([](const MessageBoxRequest&) { return IDNO; });
        Release(form, QPoint(300, 50));
        QVERIFY(seam.Requests().empty());
    }

    void backNoThenTheCloseBoxAsksToQuitAndYesPostsQuit()
    {
        Launcher launcher;
        SetArguments({launcher.HandleText()});
        MessageBoxSeam seam([](const MessageBoxRequest&) { return IDNO; });
        TFormMain* form = CreateShownMainForm();
        Click(form, kTitleSpot);
        Click(form, kMenuBack);
        QCOMPARE(seam.Requests().size(), std::size_t(1));
        QCOMPARE(seam.Requests()[0].text, kBackQuestion);
        QCOMPARE(seam.Requests()[0].caption, QStringLiteral("バーヌークパーク"));
        QCOMPARE(seam.Requests()[0].type, kQuestion);
        QVERIFY(!seam.Requests()[0].hadOwner);
        QVERIFY(form->Widget()->isVisible());
        QVERIFY(form->QuitChosen());
        seam.SetAnswer([](const MessageBoxRequest&) { return IDYES; });
        form->Widget()->close();
        QCOMPARE(seam.Requests().size(), std::size_t(2));
        QCOMPARE(seam.Requests()[1].text, kQuitQuestion);
        QCOMPARE(seam.Requests()[1].caption, QStringLiteral("バーヌークパーク"));
        QVERIFY(launcher.Drain().empty()); // only when the window is destroyed
        DestroyMainForm();
        const auto got = launcher.Drain();
        QCOMPARE(got.size(), std::size_t(1));
        QCOMPARE(got[0], (PostedMessage{kMessageQuit, 0, 0}));
    }

    void theFortunesBackButtonAndYesPostBackExactlyOnce()
    {
        Launcher launcher;
        SetArguments({launcher.HandleText()});
        MessageBoxSeam seam([](const MessageBoxRequest&) { return IDYES; });
        TFormMain* form = CreateShownMainForm();
        ChooseAllColumns(form, 1);
        ShowFortuneNow(form);
        QVERIFY(form->TPKMenu->Visible());
        Click(form, kFortuneBack);
        QCOMPARE(seam.Requests().size(), std::size_t(1));
        QCOMPARE(seam.Requests()[0].text, kBackQuestion);
        DestroyMainForm();
        const auto got = launcher.Drain();
        QCOMPARE(got.size(), std::size_t(1));
        QCOMPARE(got[0], (PostedMessage{kMessageBack, 0, 0}));
    }

    void theFortunesQuitButtonAsksToQuit()
    {
        Launcher launcher;
        SetArguments({launcher.HandleText()});
        MessageBoxSeam seam([](const MessageBoxRequest&) { return IDNO; });
        TFormMain* form = CreateShownMainForm();
        ChooseAllColumns(form, 4);
        ShowFortuneNow(form);
        Click(form, kFortuneQuit);
        QCOMPARE(seam.Requests().size(), std::size_t(1));
        QCOMPARE(seam.Requests()[0].text, kQuitQuestion);
        QVERIFY(form->Widget()->isVisible());
        QVERIFY(form->TPKQuit->Visible());
        seam.SetAnswer([](const MessageBoxRequest&) { return IDYES; });
        Click(form, kFortuneQuit);
        DestroyMainForm();
        const auto got = launcher.Drain();
        QCOMPARE(got.size(), std::size_t(1));
        QCOMPARE(got[0], (PostedMessage{kMessageQuit, 0, 0}));
    }

    void withoutAnArgumentOrWithoutANumberNothingIsPosted_data()
    {
        QTest::addColumn<QString>("argument");
        QTest::newRow("none") << QString();
        QTest::newRow("letters") << QStringLiteral("12ab");
        QTest::newRow("signed") << QStringLiteral("-5");
        QTest::newRow("empty") << QStringLiteral("");
    }
    void withoutAnArgumentOrWithoutANumberNothingIsPosted()
    {
        QFETCH(QString, argument);
        Launcher launcher;
        if (argument.isNull())
            SetArguments({});
        else
            SetArguments({argument.toStdString()});
        MessageBoxSeam seam([](const MessageBoxRequest&) { return IDYES; });
        TFormMain* form = CreateShownMainForm();
        Click(form, kTitleSpot);
        Click(form, kMenuBack);
        QCOMPARE(seam.Requests().size(), std::size_t(1));
        DestroyMainForm();
        QVERIFY(launcher.Drain().empty());
    }

    void theHandShowsOverTitleCoversAndButtonsAndTheArrowOverThePictures()
    {
        TFormMain* form = CreateShownMainForm();
        MoveTo(form, kTitleSpot);
        QCOMPARE(Screen->Cursor(), crHand);
        QVERIFY(QGuiApplication::overrideCursor());
        QCOMPARE(QGuiApplication::overrideCursor()->hotSpot(), QPoint(12, 5));
        QCOMPARE(QGuiApplication::overrideCursor()->shape(), Qt::BitmapCursor);
        Click(form, kTitleSpot);
        MoveTo(form, QPoint(300, 8)); // the menu picture
        QCOMPARE(Screen->Cursor(), crDefault);
        MoveTo(form, CoverCentre(1, 2));
        QCOMPARE(Screen->Cursor(), crHand);
        MoveTo(form, QPoint(300, 8));
        MoveTo(form, kMenuQuit);
        QCOMPARE(Screen->Cursor(), crHand);
        MoveTo(form, QPoint(300, 8));
        MoveTo(form, kViewButton); // the view button's cover leaves the cursor as it is
        QCOMPARE(Screen->Cursor(), crDefault);
        Click(form, CoverCentre(1, 2));
        MoveTo(form, QPoint(300, 8));
        MoveTo(form, QPoint(200, 40)); // a heading leaves it too
        QCOMPARE(Screen->Cursor(), crDefault);
        MoveTo(form, CoverCentre(2, 2));
        MoveTo(form, QPoint(200, 40));
        QCOMPARE(Screen->Cursor(), crHand);
        Click(form, CoverCentre(2, 2));
        Click(form, CoverCentre(3, 2));
        Click(form, CoverCentre(4, 2));
        ShowFortuneNow(form);
        MoveTo(form, QPoint(400, 100)); // the fortune screen
        QCOMPARE(Screen->Cursor(), crDefault);
        MoveTo(form, kFortuneBack);
        QCOMPARE(Screen->Cursor(), crHand);
    }

    void aMissingOrUndecodablePictureIsNoErrorAndShowsWhatTheDecoderHolds()
    {
        const std::filesystem::path data = UseDataWithout({"MENU.DAT", "K2.DAT"});
        {
            std::ofstream broken(data / "K2.DAT", std::ios::binary);
            broken << "not a picture";
        }
        MessageBoxSeam seam(nullptr);
        TFormMain* form = CreateShownMainForm();
        QVERIFY(seam.Requests().empty());
        // The menu picture is missing: the menu shows what the decoder still
        // holds, the title.
        QCOMPARE(form->ImageMenu->Picture()->Bitmap()->Image()->convertToFormat(QImage::Format_RGB32),
                 form->ImageTitle->Picture()->Bitmap()->Image()->convertToFormat(QImage::Format_RGB32));
        ChooseAllColumns(form, 2);
        Click(form, kViewButton);
        QVERIFY(seam.Requests().empty());
        QVERIFY(form->FXImage1->Visible());
        QVERIFY(!form->FXImage1->Picture()->Graphic() || form->FXImage1->Picture()->Graphic()->Empty());
        form->FXImage1->FinishReveal();
        QVERIFY(form->TPKQuit->Visible());
    }

    void anErrorWhileSettingUpIsReportedAndTheRestIsSkipped()
    {
        // A title picture that is there but cannot be opened, also by root: a
        // write-only attribute of the kernel's sysfs stands in for it.
        const std::filesystem::path writeOnly = "/sys/bus/cpu/drivers_probe";
        if (!std::filesystem::is_regular_file(writeOnly) || std::ifstream(writeOnly).is_open())
            QSKIP("no file here that cannot be opened for reading");
        const std::filesystem::path data = UseDataWithout({"TITLE.DAT"});
        std::filesystem::create_symlink(writeOnly, data / "TITLE.DAT");
        MessageBoxSeam seam(nullptr);
        TFormMain* form = CreateShownMainForm();
        QCOMPARE(seam.Requests().size(), std::size_t(1));
        QCOMPARE(seam.Requests()[0].caption, kAppTitle);
        QCOMPARE(seam.Requests()[0].Icon(), MB_ICONSTOP);
        QVERIFY(form->Widget()->isVisible());
        QCOMPARE(form->Widget()->size(), QSize(600, 420));
        // The menu picture was never loaded.
        QVERIFY(!form->ImageMenu->Picture()->Graphic() || form->ImageMenu->Picture()->Graphic()->Empty());
    }
};

QTEST_MAIN(FlowTest)
#include "FlowTest.moc"
