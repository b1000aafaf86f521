// Dialog controls on a modal form, driven with real key routing: typing into
// an edit, Tab through the tab order, Enter for the default button (or the
// focused one), accelerators, and Escape with no cancel button.
#define QTEST_QPA_MOUSE_HANDLING
#include <QTest>

#include "framework/widgets/Application.h"
#include "framework/widgets/ComCtrls.h"
#include "framework/widgets/ExtCtrls.h"
#include "framework/widgets/Forms.h"
#include "framework/widgets/StdCtrls.h"

#include <QApplication>
#include <QLineEdit>
#include <QTimer>
#include <QWindow>

namespace {
// The shape of an install destination form: an edit, three buttons, Start the
// default one, tab order Start, Cancel, Browse, edit.
struct DialogForm {
    TForm* form;
    TEdit* edit;
    TButton* start;
    TButton* exit;
    TButton* change;
    std::vector<std::string> clicks;
    int changes = 0;

    explicit DialogForm(TComponent* owner)
    {
        form = new TForm(owner);
        form->SetBorderStyle(bsDialog);
        form->SetBorderIcons(biSystemMenu);
        form->SetClientWidth(450);
        form->SetClientHeight(128);
        form->SetPosition(poScreenCenter);
        start = Button("BtStart", QStringLiteral("開始(&S)"), 264, 96);
        exit = Button("BtExit", QStringLiteral("ｷｬﾝｾﾙ(&C)"), 360, 96);
        change = Button("BtChange", QStringLiteral("参照(&R)"), 360, 48);
        start->SetDefault(true);
        edit = new TEdit(form);
        edit->SetName("FolderInputEdit");
        edit->SetParent(form);
        edit->SetBounds(8, 24, 432, 20);
        edit->OnChange = [this](TObject*) { ++changes; };
        start->SetTabOrder(0);
        exit->SetTabOrder(1);
        change->SetTabOrder(2);
        edit->SetTabOrder(3);
    }

    TButton* Button(const char* name, const QString& caption, int left, int top)
    {
        auto* b = new TButton(form);
        b->SetName(name);
        b->SetParent(form);
        b->SetBounds(left, top, 80, 25);
        b->SetCaption(caption);
        b->OnClick = [this, name](TObject*) { clicks.push_back(name); };
        return b;
    }

    QWindow* Window() const { return form->Widget()->windowHandle(); }
    TWinControl* Focus() const { return form->ActiveControl(); }
};

// Runs `steps` once the modal loop of `form` is up, then closes the form.
void WhileModal(TForm* form, std::function<void()> steps)
{
    QTimer::singleShot(0, [form, steps] {
        // Steps run even on a window that never became active, so the modal
        // loop always ends; the failure is reported after.
        const bool active = QTest::qWaitForWindowActive(form->Widget());
        steps();
        form->SetModalResult(mrCancel);
        QVERIFY2(active, "the modal form never became the active window");
    });
}
}

class DialogControlsTest : public QObject {
    Q_OBJECT
    TApplication* app = nullptr;

private Q_SLOTS:
    void initTestCase()
    {
        app = new TApplication(nullptr);
        int argc = 0;
        app->Initialize(argc, nullptr);
    }
    void cleanupTestCase() { delete app; }

    void typingChangesTheEditAndSelectAllSelectsEverything()
    {
        DialogForm d(app);
        WhileModal(d.form, [&] {
            d.edit->SetFocus();
            QTest::keyClicks(d.form->Widget()->focusWidget(), QStringLiteral("c:\\tools"));
            QCOMPARE(d.edit->Text(), QStringLiteral("c:\\tools"));
            QCOMPARE(d.changes, 8);
            d.edit->SelectAll();
            QCOMPARE(d.edit->SelText(), QStringLiteral("c:\\tools"));
            // Setting the text is a change as well; the same text is not.
            d.edit->SetText(QStringLiteral("D:\\VARNOOK"));
            d.edit->SetText(QStringLiteral("D:\\VARNOOK"));
            QCOMPARE(d.changes, 9);
        });
        d.form->ShowModal();
        delete d.form;
    }

    void tabFollowsTheTabOrderAndWrapsAround()
    {
        DialogForm d(app);
        std::vector<TWinControl*> visited;
        WhileModal(d.form, [&] {
            d.edit->SetFocus();
            for (int i = 0; i < 4; ++i) {
                QTest::keyClick(d.Window(), Qt::Key_Tab);
                visited.push_back(d.Focus());
            }
            QTest::keyClick(d.Window(), Qt::Key_Tab, Qt::ShiftModifier);
            visited.push_back(d.Focus());
        });
        d.form->ShowModal();
        const std::vector<TWinControl*> expected{d.start, d.exit, d.change, d.edit, d.change};
        QCOMPARE(visited, expected);
        QCOMPARE(d.form->TabList(), (std::vector<TWinControl*>{d.start, d.exit, d.change, d.edit}));
        delete d.form;
    }

    void enterClicksTheDefaultButtonOrTheFocusedOne()
    {
        DialogForm d(app);
        WhileModal(d.form, [&] {
            d.edit->SetFocus();
            QTest::keyClick(d.Window(), Qt::Key_Return);
            d.exit->SetFocus();
            QTest::keyClick(d.Window(), Qt::Key_Return);
            d.edit->SetFocus();
            QTest::keyClick(d.Window(), Qt::Key_Enter);
        });
        d.form->ShowModal();
        QCOMPARE(d.clicks, (std::vector<std::string>{"BtStart", "BtExit", "BtStart"}));
        delete d.form;
    }

    void altAndTheUnderlinedLetterClickTheButton()
    {
        DialogForm d(app);
        WhileModal(d.form, [&] {
            d.edit->SetFocus();
            // An accelerator pushes the button in and lets it out a moment later.
            QTest::keyClick(d.Window(), Qt::Key_R, Qt::AltModifier);
            QTRY_COMPARE(d.clicks.size(), std::size_t(1));
            QTest::keyClick(d.Window(), Qt::Key_C, Qt::AltModifier);
            QTRY_COMPARE(d.clicks.size(), std::size_t(2));
            QTest::keyClick(d.Window(), Qt::Key_S, Qt::AltModifier);
            QTRY_COMPARE(d.clicks.size(), std::size_t(3));
        });
        d.form->ShowModal();
        QCOMPARE(d.clicks, (std::vector<std::string>{"BtChange", "BtExit", "BtStart"}));
        delete d.form;
    }

    void escapeDoesNothingWithoutACancelButtonAndClicksOneWithIt()
    {
        DialogForm d(app);
        bool openAfterEscape = false;
        WhileModal(d.form, [&] {
            d.edit->SetFocus();
            QTest::keyClick(d.Window(), Qt::Key_Escape);
            openAfterEscape = d.form->Widget()->isVisible();
            d.exit->SetCancel(true);
            QTest::keyClick(d.Window(), Qt::Key_Escape);
        });
        d.form->ShowModal();
        QVERIFY(openAfterEscape);
        QCOMPARE(d.clicks, (std::vector<std::string>{"BtExit"}));
        delete d.form;
    }

    void aButtonWithAModalResultEndsTheModalLoop()
    {
        DialogForm d(app);
        d.start->SetModalResult(mrOk);
        bool exposed = false;
        QTimer::singleShot(0, [&] {
            exposed = QTest::qWaitForWindowExposed(d.form->Widget());
            d.edit->SetFocus();
            QTest::keyClick(d.Window(), Qt::Key_Return);
        });
        QCOMPARE(d.form->ShowModal(), mrOk);
        QVERIFY(exposed);
        QVERIFY(!d.form->Visible());
        delete d.form;
    }

    void theWindowBehindHearsTheMouseAgainOnceAModalFormHasClosed()
    {
        auto* behind = new TForm(app);
        behind->SetBounds(0, 0, 200, 100);
        auto* button = new TButton(behind);
        button->SetParent(behind);
        button->SetBounds(10, 10, 80, 25);
        int clicks = 0;
        button->OnClick = [&](TObject*) { ++clicks; };
        behind->Show();
        QVERIFY(QTest::qWaitForWindowExposed(behind->Widget()));
        QWindow* window = behind->Widget()->windowHandle();
        for (int round = 0; round < 2; ++round) {
            DialogForm d(app);
            WhileModal(d.form, [&] {
                QTest::mouseClick(window, Qt::LeftButton, {}, QPoint(50, 22));  // blocked meanwhile
            });
            d.form->ShowModal();
            delete d.form;
            QCOMPARE(clicks, round);
            QTest::mouseClick(window, Qt::LeftButton, {}, QPoint(50, 22));
            QCOMPARE(clicks, round + 1);
        }
        delete behind;
    }

    void keyDownHandlersSeeKeysFirstAndCanTakeThem()
    {
        DialogForm d(app);
        std::vector<WORD> seen;
        d.edit->OnKeyDown = [&](TObject*, WORD& key, TShiftState) {
            seen.push_back(key);
            if (key == VK_RETURN)
                key = 0; // taken: the default button does not hear of it
        };
        WhileModal(d.form, [&] {
            d.edit->SetFocus();
            QTest::keyClick(d.Window(), Qt::Key_A);
            QTest::keyClick(d.Window(), Qt::Key_Return);
            QTest::keyClick(d.Window(), Qt::Key_F5);
        });
        d.form->ShowModal();
        QCOMPARE(seen, (std::vector<WORD>{WORD('A'), VK_RETURN, VK_F5}));
        QVERIFY(d.clicks.empty());
        QCOMPARE(d.edit->Text(), QStringLiteral("a"));
        delete d.form;
    }

    void progressBarKeepsItsPositionWithinRangeAndFillsInProportion()
    {
        auto* form = new TForm(app);
        auto* bar = new TProgressBar(form);
        bar->SetParent(form);
        bar->SetBounds(0, 0, 202, 16);
        bar->SetPosition(150);
        QCOMPARE(bar->Position(), 100);
        QCOMPARE(bar->FilledWidth(), 200);
        bar->SetPosition(-4);
        QCOMPARE(bar->Position(), 0);
        QCOMPARE(bar->FilledWidth(), 0);
        bar->SetPosition(50);
        QCOMPARE(bar->FilledWidth(), 100);
        bar->StepIt();
        QCOMPARE(bar->Position(), 60);
        delete form;
    }
};

QTEST_MAIN(DialogControlsTest)
#include "DialogControlsTest.moc"
