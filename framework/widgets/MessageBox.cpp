#include "framework/widgets/MessageBox.h"

#include "framework/widgets/Controls.h"
#include "framework/widgets/MouseCapture.h"

#include <QApplication>
#include <QFontMetrics>
#include <QGridLayout>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QSpacerItem>
#include <QStyle>

namespace {
MessageBoxSeam* gSeam = nullptr;

// A box that, like the classic Yes/No box, cannot be dismissed without an
// answer: Escape and the close box do nothing.
class ClassicBox : public QMessageBox {
public:
    using QMessageBox::QMessageBox;
    bool noEscape = false;

protected:
    void keyPressEvent(QKeyEvent* e) override
    {
        if (noEscape && e->key() == Qt::Key_Escape) {
            e->accept();
            return;
        }
        QMessageBox::keyPressEvent(e);
    }
    void closeEvent(QCloseEvent* e) override
    {
        if (noEscape) {
            e->ignore();
            return;
        }
        QMessageBox::closeEvent(e);
    }
};

QMessageBox::Icon IconOf(unsigned type)
{
    switch (type & 0xF0) {
    case MB_ICONSTOP:
        return QMessageBox::Critical;
    case MB_ICONQUESTION:
        return QMessageBox::Question;
    case MB_ICONEXCLAMATION:
        return QMessageBox::Warning;
    case MB_ICONINFORMATION:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}
}

MessageBoxSeam::MessageBoxSeam(Answer answer) : answer_(std::move(answer)), previous_(gSeam) { gSeam = this; }

MessageBoxSeam::~MessageBoxSeam() { gSeam = previous_; }

int MessageBoxSeam::Handle(const MessageBoxRequest& request)
{
    requests_.push_back(request);
    if (answer_)
        return answer_(request);
    return (request.type & 0x0F) == MB_YESNO ? IDNO : IDOK;
}

namespace {
// A box sizes itself to its text and buttons; a long caption would be cut in
// the title bar. The title bar needs the caption's width plus its icon and
// buttons; the screen's width is the limit.
void MakeRoomForCaption(QMessageBox& box, const QString& caption)
{
    const QFont titleFont = QApplication::font("QMdiSubWindowTitleBar");
    const int titleBarExtras = 120;
    int wanted = QFontMetrics(titleFont).horizontalAdvance(caption) + titleBarExtras;
    if (const QScreen* screen = box.screen() ? box.screen() : QGuiApplication::primaryScreen())
        wanted = std::min(wanted, screen->availableGeometry().width() - 40);
    auto* layout = qobject_cast<QGridLayout*>(box.layout());
    if (!layout || wanted <= 0)
        return;
    layout->addItem(new QSpacerItem(wanted, 0, QSizePolicy::Minimum, QSizePolicy::Expanding), layout->rowCount(), 0, 1,
                    layout->columnCount());
}
}

int MessageBox(TControl* owner, const QString& text, const QString& caption, unsigned type)
{
    MessageBoxRequest request{text, caption, type, owner != nullptr};
    // A box takes the input: whatever held the pointer lets go.
    MouseCapture::Release();
    if (gSeam)
        return gSeam->Handle(request);

    ClassicBox box(owner ? owner->Widget()->window() : nullptr);
    box.setWindowTitle(caption);
    box.setText(text);
    box.setIcon(IconOf(type));
    box.setWindowModality(Qt::ApplicationModal);
    const bool yesNo = (type & 0x0F) == MB_YESNO;
    const bool okCancel = (type & 0x0F) == MB_OKCANCEL;
    QAbstractButton* first = nullptr;
    QAbstractButton* second = nullptr;
    if (yesNo) {
        first = box.addButton(QStringLiteral("はい(&Y)"), QMessageBox::YesRole);
        second = box.addButton(QStringLiteral("いいえ(&N)"), QMessageBox::NoRole);
        box.noEscape = true;
        box.setWindowFlags((box.windowFlags() | Qt::CustomizeWindowHint | Qt::WindowTitleHint) &
                           ~Qt::WindowCloseButtonHint);
    } else if (okCancel) {
        first = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
        second = box.addButton(QStringLiteral("キャンセル"), QMessageBox::RejectRole);
        box.setEscapeButton(second);
    } else {
        first = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
        box.setEscapeButton(first);
    }
    QAbstractButton* defaultButton = ((type & 0xF00) == MB_DEFBUTTON2 && second) ? second : first;
    box.setDefaultButton(static_cast<QPushButton*>(defaultButton));
    defaultButton->setFocus();
    MakeRoomForCaption(box, caption);

    box.exec();
    QAbstractButton* clicked = box.clickedButton();
    if (yesNo)
        return clicked == first ? IDYES : IDNO;
    if (okCancel)
        return clicked == first ? IDOK : IDCANCEL;
    return IDOK;
}
