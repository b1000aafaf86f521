#pragma once
// The standard dialog controls: TEdit (a one-line text field) and TButton (a
// push button). Both stand on Qt's own widgets, which type, select, draw the
// focus and underline accelerators; the framework keeps their classic
// properties and events.

#include "framework/widgets/Controls.h"

#include <QString>

class QLineEdit;
class QPushButton;

using TModalResult = int;

class TEdit : public TWinControl {
    VN_COMPONENT(TEdit)
public:
    explicit TEdit(TComponent* owner);
    ~TEdit() override;

    QString Text() const;
    // Fires OnChange when the text differs.
    void SetText(const QString& text);
    int MaxLength() const { return maxLength_; }
    // 0: no limit.
    void SetMaxLength(int length);
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool readOnly);

    void SelectAll();
    int SelStart() const;
    int SelLength() const;
    QString SelText() const;

    // Every change of the text, typed or set.
    TNotifyEventProp OnChange;
    virtual void Change();

protected:
    QWidget* CreateWidget() override;
    void WidgetCreated() override;
    bool TakesFocus() const override { return true; }
    void FontChanged() override;

private:
    QLineEdit* Edit() const;

    QString text_;
    int maxLength_ = 0;
    bool readOnly_ = false;
};

class TButton : public TWinControl {
    VN_COMPONENT(TButton)
public:
    explicit TButton(TComponent* owner);
    ~TButton() override;

    // The caption's "&" marks the accelerator letter (Alt + letter clicks it).
    void SetCaption(const QString& caption) override;
    // Enter clicks the default button, unless another button has the focus.
    bool Default() const { return default_; }
    void SetDefault(bool isDefault);
    // Escape clicks the cancel button.
    bool Cancel() const { return cancel_; }
    void SetCancel(bool cancel) { cancel_ = cancel; }
    // Clicking sets the form's ModalResult to this (mrNone: nothing).
    TModalResult ModalResult() const { return modalResult_; }
    void SetModalResult(TModalResult result) { modalResult_ = result; }

    void Click() override;
    bool DialogKey(WORD key, TWinControl* focused) override;

protected:
    QWidget* CreateWidget() override;
    void WidgetCreated() override;
    bool TakesFocus() const override { return true; }
    void FontChanged() override;

private:
    QPushButton* Button() const;

    bool default_ = false;
    bool cancel_ = false;
    TModalResult modalResult_ = 0;
};

void RegisterDialogControls();
