// The click sound on the silent sink: it plays only while the player is
// stopped, plays again from the start after the end, and a missing sound
// leaves the program silent without a word.
#include <QTest>

#include "framework/widgets/Application.h"
#include "framework/widgets/MessageBox.h"
#include "platform/Files.h"
#include "tests/roomtour/RoomtourFixture.h"

#include <filesystem>

using namespace roomtour_test;

class ClickTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        qputenv("VARNOOK_AUDIO", "silent");
        StartApplication({});
        // The prefix's system folder gets the disc's click sound.
        std::filesystem::copy_file(DiscDataFolder().parent_path().parent_path() / "SYSTEM" / "CLICKWAV.DAT",
                                   HostSystemDirectory() / "CLICKWAV.DAT",
                                   std::filesystem::copy_options::overwrite_existing);
    }
    void cleanup() { DestroyMainForm(); }

    void theSoundIsOpenedWhileTheWindowIsBuilt()
    {
        TFrmMain* form = CreateShownMainForm();
        QCOMPARE(form->Click->MPlayer(), form->MP);
        QCOMPARE(form->MP->Mode(), mpStopped);
        QCOMPARE(form->MP->DeviceType(), dtWaveAudio);
        QVERIFY(QString::fromStdString(form->MP->FileName()).endsWith(QStringLiteral("\\CLICKWAV.DAT")));
        QVERIFY(form->MP->Length() > 0);
    }

    void aSecondPressWhilePlayingIsDroppedAndAPressAfterTheEndPlaysAgain()
    {
        TFrmMain* form = CreateShownMainForm();
        form->Click->Play();
        QCOMPARE(form->MP->Mode(), mpPlaying);
        QTest::qWait(10);
        const auto position = form->MP->Position();
        QVERIFY(position > 0);
        form->Click->Play(); // still sounding: not restarted
        QCOMPARE(form->MP->Mode(), mpPlaying);
        QVERIFY(form->MP->Position() >= position);
        QTRY_COMPARE_WITH_TIMEOUT(form->MP->Mode(), mpStopped, 5000);
        QCOMPARE(form->MP->Position(), form->MP->Length());
        form->Click->Play(); // after the end: again from the start
        QCOMPARE(form->MP->Mode(), mpPlaying);
        QVERIFY(form->MP->Position() < form->MP->Length());
    }

    void buttonsAndSeatsPlayTheClick()
    {
        TFrmMain* form = CreateShownMainForm();
        QWindow* window = form->Widget()->windowHandle();
        QTest::mousePress(window, Qt::LeftButton, {}, QPoint(137, 214)); // BZaseki
        QCOMPARE(form->MP->Mode(), mpPlaying);
        QTest::mouseRelease(window, Qt::LeftButton, {}, QPoint(137, 214));
        QTRY_COMPARE_WITH_TIMEOUT(form->MP->Mode(), mpStopped, 5000);
        QTest::mousePress(window, Qt::RightButton, {}, QPoint(346, 209)); // a seat, right button
        QCOMPARE(form->MP->Mode(), mpStopped);
        QTest::mouseRelease(window, Qt::RightButton, {}, QPoint(346, 209));
        QTest::mousePress(window, Qt::LeftButton, {}, QPoint(346, 209));
        QCOMPARE(form->MP->Mode(), mpPlaying);
        QTest::mouseRelease(window, Qt::LeftButton, {}, QPoint(346, 209));
    }

    void withoutTheSoundTheProgramRunsSilentlyWithoutAWord()
    {
        std::filesystem::remove(HostSystemDirectory() / "CLICKWAV.DAT");
        MessageBoxSeam seam(nullptr);
        TFrmMain* form = CreateShownMainForm();
        QCOMPARE(form->MP->Mode(), mpNotReady);
        QWindow* window = form->Widget()->windowHandle();
        QTest::mousePress(window, Qt::LeftButton, {}, QPoint(137, 214));
        QTest::mouseRelease(window, Qt::LeftButton, {}, QPoint(137, 214));
        QCOMPARE(form->CurrentScreen(), 1);
        QVERIFY(seam.Requests().empty());
    }
};

QTEST_MAIN(ClickTest)
#include "ClickTest.moc"
