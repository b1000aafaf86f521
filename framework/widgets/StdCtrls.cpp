#include "framework/widgets/StdCtrls.h"

#include "framework/core/Dispatch.h"
#include "framework/widgets/Forms.h"

#include <QLineEdit>
#include <QPushButton>

namespace {
// Qt widgets of the dialog controls take the pointer themselves.
constexpr TControlStyle kNativeStyle = 0;
}

// ---- TEdit

VN_DEFINE_COMPONENT(TEdit, TWinControl,
    p.Integer("MaxLength", &TEdit::MaxLength, &TEdit::SetMaxLength, 0);
    p.Boolean("ReadOnly", &TEdit::ReadOnly, &TEdit::SetReadOnly, false);
    p.EventProp("OnChange", &TEdit::OnChange);
)

TEdit::TEdit(TComponent* owner) : TWinControl(owner)
{
    SetControlStyle(kNativeStyle);
    SetTabStop(true);
    SetColor(clWindow);
    SetBounds(0, 0, 121, 20);
}

TEdit::~TEdit()
{
    if (HandleAllocated())
        Edit()->disconnect();
}

QWidget* TEdit::CreateWidget() { return new QLineEdit; }

QLineEdit* TEdit::Edit() const { return static_cast<QLineEdit*>(Widget()); }

void TEdit::WidgetCreated()
{
    TWinControl::WidgetCreated();
    QLineEdit* edit = Edit();
    edit->setText(text_);
    if (maxLength_ > 0)
        edit->setMaxLength(maxLength_);
    edit->setReadOnly(readOnly_);
    edit->setFont(Font()->ToQFont());
    // Typing and setting alike: the classic change event follows every change.
    QObject::connect(edit, &QLineEdit::textChanged, edit, [this](const QString& text) {
        if (text == text_)
            return;
        text_ = text;
        Change();
    });
}

void TEdit::FontChanged()
{
    if (HandleAllocated())
        Edit()->setFont(Font()->ToQFont());
}

QString TEdit::Text() const { return text_; }

void TEdit::SetText(const QString& text)
{
    if (text == text_)
        return;
    if (HandleAllocated()) {
        Edit()->setText(text); // reports the change through textChanged
        return;
    }
    text_ = text;
    Change();
}

void TEdit::Change() { Dispatch([this] { OnChange(this); }); }

void TEdit::SetMaxLength(int length)
{
    maxLength_ = std::max(length, 0);
    if (HandleAllocated())
        Edit()->setMaxLength(maxLength_ > 0 ? maxLength_ : 32767);
}

void TEdit::SetReadOnly(bool readOnly)
{
    readOnly_ = readOnly;
    if (HandleAllocated())
        Edit()->setReadOnly(readOnly);
}

void TEdit::SelectAll()
{
    if (HandleAllocated())
        Edit()->selectAll();
}

int TEdit::SelStart() const { return HandleAllocated() ? std::max(Edit()->selectionStart(), Edit()->cursorPosition()) : 0; }

int TEdit::SelLength() const { return HandleAllocated() ? int(Edit()->selectedText().size()) : 0; }

QString TEdit::SelText() const { return HandleAllocated() ? Edit()->selectedText() : QString(); }

// ---- TButton

VN_DEFINE_COMPONENT(TButton, TWinControl,
    p.Boolean("Cancel", &TButton::Cancel, &TButton::SetCancel, false);
    p.Boolean("Default", &TButton::Default, &TButton::SetDefault, false);
    p.Integer("ModalResult", &TButton::ModalResult, &TButton::SetModalResult, 0);
)

TButton::TButton(TComponent* owner) : TWinControl(owner)
{
    SetControlStyle(kNativeStyle);
    SetTabStop(true);
    SetBounds(0, 0, 75, 25);
}

TButton::~TButton()
{
    if (HandleAllocated())
        Button()->disconnect();
}

QWidget* TButton::CreateWidget() { return new QPushButton; }

QPushButton* TButton::Button() const { return static_cast<QPushButton*>(Widget()); }

void TButton::WidgetCreated()
{
    TWinControl::WidgetCreated();
    QPushButton* button = Button();
    button->setText(Caption());
    button->setFont(Font()->ToQFont());
    // The form answers Enter itself (see DialogKey); Qt's own default-button
    // handling belongs to its dialogs and stays out.
    button->setAutoDefault(false);
    button->setDefault(default_);
    QObject::connect(button, &QPushButton::clicked, button, [this] { Click(); });
}

void TButton::FontChanged()
{
    if (HandleAllocated())
        Button()->setFont(Font()->ToQFont());
}

void TButton::SetCaption(const QString& caption)
{
    TWinControl::SetCaption(caption);
    if (HandleAllocated())
        Button()->setText(caption);
}

void TButton::SetDefault(bool isDefault)
{
    default_ = isDefault;
    if (HandleAllocated())
        Button()->setDefault(isDefault);
}

void TButton::Click()
{
    if (modalResult_ != 0)
        if (TForm* form = ParentForm())
            form->SetModalResult(modalResult_);
    Dispatch([this] { TWinControl::Click(); });
}

bool TButton::DialogKey(WORD key, TWinControl* focused)
{
    // Enter belongs to the focused button, or else to the default one.
    const bool focusedButton = dynamic_cast<TButton*>(focused) != nullptr;
    const bool answers = (key == VK_RETURN && (focused == this || (default_ && !focusedButton))) ||
                         (key == VK_ESCAPE && cancel_);
    if (!answers || !Showing() || !Enabled())
        return false;
    Click();
    return true;
}

void RegisterDialogControls()
{
    RegisterClass(TEdit::StaticClassInfo());
    RegisterClass(TButton::StaticClassInfo());
}
