// Message boxes: the real box answers as the classic one did, and the error
// report goes through the same service.
#include <QTest>

#include "framework/core/Dispatch.h"
#include "framework/widgets/Application.h"
#include "framework/widgets/MessageBox.h"

#include <QApplication>
#include <QFontMetrics>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

namespace {
// Runs keys against the box once it is up.
void PressWhenShown(std::vector<Qt::Key> keys, bool* stillOpenAfterFirst = nullptr)
{
    QTimer::singleShot(0, [keys, stillOpenAfterFirst] {
        QWidget* box = QApplication::activeModalWidget();
        QVERIFY(box);
        for (std::size_t i = 0; i < keys.size(); ++i) {
            QTest::keyClick(box, keys[i]);
            if (i == 0 && stillOpenAfterFirst)
                *stillOpenAfterFirst = box->isVisible();
        }
    });
}
}

class MessageBoxTest : public QObject {
    Q_OBJECT
    TApplication* app = nullptr;

private Q_SLOTS:
    void initTestCase()
    {
        app = new TApplication(nullptr);
        int argc = 0;
        app->Initialize(argc, nullptr);
        app->SetTitle(QStringLiteral("編集者持ち回り企画 カーサ霧丘の巻"));
    }
    void cleanupTestCase() { delete app; }

    void enterAnswersTheSecondButtonWhenItIsDefault()
    {
        PressWhenShown({Qt::Key_Return});
        const int answer = MessageBox(nullptr, QStringLiteral("終了しますか？"), QStringLiteral("t"),
                                      MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2 | MB_TASKMODAL);
        QCOMPARE(answer, IDNO);
    }

    void theBoxIsWideEnoughForItsCaption()
    {
        const QString caption = QStringLiteral("編集者持ち回り企画 カーサ霧丘の巻");
        int boxWidth = 0;
        QTimer::singleShot(0, [&] {
            QWidget* box = QApplication::activeModalWidget();
            QVERIFY(box);
            boxWidth = box->width();
            QTest::keyClick(box, Qt::Key_Return);
        });
        MessageBox(nullptr, QStringLiteral("終了しますか？"), caption, MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2);
        const int captionWidth = QFontMetrics(QApplication::font("QMdiSubWindowTitleBar")).horizontalAdvance(caption);
        QVERIFY2(boxWidth >= captionWidth + 100, qPrintable(QStringLiteral("box %1, caption %2").arg(boxWidth).arg(captionWidth)));
    }

    void escapeDoesNothingInAYesNoBox()
    {
        bool stillOpen = false;
        PressWhenShown({Qt::Key_Escape, Qt::Key_Y}, &stillOpen);
        const int answer = MessageBox(nullptr, QStringLiteral("q"), QStringLiteral("t"),
                                      MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2);
        QVERIFY(stillOpen);
        QCOMPARE(answer, IDYES);
    }

    void buttonsCarryTheJapaneseLabels()
    {
        QStringList labels;
        QTimer::singleShot(0, [&labels] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(box);
            for (QAbstractButton* b : box->buttons())
                labels << b->text();
            QTest::keyClick(box, Qt::Key_Return);
        });
        MessageBox(nullptr, QStringLiteral("q"), QStringLiteral("t"), MB_YESNO);
        labels.sort();
        QCOMPARE(labels, (QStringList{QStringLiteral("いいえ(&N)"), QStringLiteral("はい(&Y)")}));
    }

    void errorReportAddsAFullStopUnlessPunctuated()
    {
        MessageBoxSeam seam(nullptr);
        Dispatch([] { throw Exception("Cannot open file \"x.jdt\""); });
        Dispatch([] { throw Exception("Canvasの取得に失敗しました。"); });
        Dispatch([] { throw Exception("Really?"); });
        Dispatch([] { throw std::runtime_error("plain"); });
        Dispatch([] { Abort(); });
        QCOMPARE(seam.Requests().size(), std::size_t(4));
        QCOMPARE(seam.Requests()[0].text, QStringLiteral("Cannot open file \"x.jdt\"."));
        QCOMPARE(seam.Requests()[1].text, QStringLiteral("Canvasの取得に失敗しました。"));
        QCOMPARE(seam.Requests()[2].text, QStringLiteral("Really?"));
        QCOMPARE(seam.Requests()[3].text, QStringLiteral("plain."));
        for (const auto& r : seam.Requests()) {
            QCOMPARE(r.caption, QStringLiteral("編集者持ち回り企画 カーサ霧丘の巻"));
            QCOMPARE(r.Icon(), MB_ICONSTOP);
            QCOMPARE(r.Buttons(), MB_OK);
        }
    }
};

QTEST_MAIN(MessageBoxTest)
#include "MessageBoxTest.moc"
