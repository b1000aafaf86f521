#pragma once
// TApplication: the program's one application object (Application). It owns
// the forms, runs the message loop, reports errors that escape event
// handlers, and keeps the application-wide cursor.

#include "framework/core/Component.h"
#include "framework/core/Dispatch.h"
#include "framework/widgets/Cursors.h"

#include <QString>

#include <exception>
#include <memory>
#include <string>
#include <vector>

class QApplication;
class TForm;

class TApplication : public TComponent {
    VN_COMPONENT(TApplication)
public:
    explicit TApplication(TComponent* owner);
    ~TApplication() override;

    // Creates the Qt application: call before any control exists. Registers the
    // font substitutions and the scaling policy of the fixed-size windows.
    void Initialize(int& argc, char** argv);

    // The command line as given: ParamStr(0) is the program, ParamCount() the
    // number of arguments after it (bytes as the system passed them).
    int ParamCount() const { return static_cast<int>(params_.size()) - 1; }
    std::string ParamStr(int index) const;

    const QString& Title() const { return title_; }
    void SetTitle(const QString& title);

    // Creates a form owned by the application; the first one becomes MainForm.
    template <typename T> T* CreateForm()
    {
        auto* form = new T(this);
        FormCreated(form);
        return form;
    }
    TForm* MainForm() const { return mainForm_; }

    // Shows the main form and runs the message loop until it closes; then
    // destroys the forms (each hears OnDestroy first).
    void Run();
    void Terminate();
    bool Terminated() const { return terminated_; }
    // Processes every pending message, then returns.
    void ProcessMessages();

    // The error report: the error's text with a full stop added when it does
    // not already end in punctuation, the title as caption, stop icon, OK.
    void HandleException(std::exception_ptr error);
    void ShowException(const std::string& message);
    Event<void(TObject*, const std::string&)> OnException;

    // Destroys every form the application owns (OnDestroy first).
    void DestroyForms();

    void FormCreated(TForm* form);

private:
    QString title_;
    std::vector<std::string> params_;
    TForm* mainForm_ = nullptr;
    bool terminated_ = false;
    std::unique_ptr<QApplication> qtApp_;
    ErrorReport previousReport_;
};

extern TApplication* Application;

// The report's text: a full stop is added unless the text ends in punctuation.
QString WithFullStop(const QString& text);

// TScreen: the application-wide cursor. Setting it shows at once on every
// window of the program (crDefault returns to each control's own cursor).
class TScreen {
public:
    TCursor Cursor() const { return cursor_; }
    void SetCursor(TCursor cursor);
    // The cursor table: a program's own cursor under a number of its own
    // (Cursors[index] = LoadCursor(...)); shown at once when it is the
    // screen's cursor already.
    void SetCursors(TCursor index, const MonochromeCursor& image);

private:
    TCursor cursor_ = crDefault;
};

extern TScreen* Screen;
