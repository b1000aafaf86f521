#include "framework/widgets/Application.h"

#include "framework/core/Dispatch.h"
#include "framework/widgets/Fonts.h"
#include "framework/widgets/Forms.h"
#include "framework/widgets/InputRouter.h"
#include "framework/widgets/MessageBox.h"
#include "framework/widgets/MouseCapture.h"

#include <QApplication>
#include <QCursor>
#include <QEventLoop>

TApplication* Application = nullptr;
TScreen* Screen = nullptr;

VN_DEFINE_COMPONENT(TApplication, TComponent)

TApplication::TApplication(TComponent* owner) : TComponent(owner)
{
    if (!Application)
        Application = this;
    if (!Screen)
        Screen = new TScreen;
    // Errors that escape handlers anywhere in the program come here.
    if (Application == this)
        previousReport_ = SetErrorReport([this](std::exception_ptr error) { HandleException(error); });
}

TApplication::~TApplication()
{
    DestroyForms();
    DestroyComponents();
    if (Application == this) {
        SetErrorReport(std::move(previousReport_));
        Application = nullptr;
    }
    qtApp_.reset();
}

std::string TApplication::ParamStr(int index) const
{
    if (index < 0 || index >= static_cast<int>(params_.size()))
        return std::string();
    return params_[static_cast<std::size_t>(index)];
}

void TApplication::Initialize(int& argc, char** argv)
{
    if (!qApp) {
        // Fixed-size pixel art scales by whole factors only.
        QGuiApplication::setHighDpiScaleFactorRoundingPolicy(Qt::HighDpiScaleFactorRoundingPolicy::Round);
        qtApp_ = std::make_unique<QApplication>(argc, argv);
    }
    // After Qt has taken its own options out of the command line.
    params_.clear();
    for (int i = 0; i < argc && argv; ++i)
        params_.emplace_back(argv[i] ? argv[i] : "");
    if (params_.empty())
        params_.emplace_back();
    QApplication::setQuitOnLastWindowClosed(false);
    RegisterFontSubstitutions();
    InputRouter::Install();
}

void TApplication::SetTitle(const QString& title)
{
    // The task bar shows the main window's caption; the forms set that themselves.
    title_ = title;
}

void TApplication::FormCreated(TForm* form)
{
    if (!mainForm_) {
        mainForm_ = form;
        form->SetCloseEndsProgram([this] { Terminate(); });
    }
    form->DoCreate();
}

void TApplication::Run()
{
    if (mainForm_ && !terminated_) {
        mainForm_->Show();
        if (!terminated_)
            QApplication::exec();
    }
    DestroyForms();
}

void TApplication::Terminate()
{
    terminated_ = true;
    // Not quit(): Qt's quit first asks every window to close, and a form
    // answers that with its close query again.
    QCoreApplication::exit(0);
}

void TApplication::ProcessMessages()
{
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void TApplication::DestroyForms()
{
    for (int i = ComponentCount() - 1; i >= 0; --i) {
        if (i >= ComponentCount())
            continue;
        if (auto* form = dynamic_cast<TForm*>(Components(i))) {
            form->DoDestroy();
            if (form == mainForm_)
                mainForm_ = nullptr;
            delete form;
        }
    }
}

QString WithFullStop(const QString& text)
{
    // Sentence ends, Western and Japanese; a closing quote or bracket is not one.
    static const QString kEnds = QStringLiteral(".!?\u3002\uFF01\uFF1F\uFF0E\u2026");
    if (text.isEmpty() || kEnds.contains(text.back()))
        return text;
    return text + QLatin1Char('.');
}

void TApplication::ShowException(const std::string& message)
{
    MessageBox(nullptr, WithFullStop(QString::fromStdString(message)), title_, MB_OK | MB_ICONSTOP);
}

void TApplication::HandleException(std::exception_ptr error)
{
    std::string message;
    try {
        std::rethrow_exception(error);
    } catch (const EAbort&) {
        return; // the silent abort
    } catch (const std::exception& e) {
        message = e.what();
    } catch (...) {
        message = "Unknown error";
    }
    if (OnException) {
        Dispatch([&] { OnException(this, message); });
        return;
    }
    MouseCapture::Release();
    ShowException(message);
}

void TScreen::SetCursor(TCursor cursor)
{
    if (cursor == cursor_)
        return;
    if (cursor_ != crDefault)
        QGuiApplication::restoreOverrideCursor();
    cursor_ = cursor;
    if (cursor != crDefault)
        QGuiApplication::setOverrideCursor(QtCursor(cursor));
}

void TScreen::SetCursors(TCursor index, const MonochromeCursor& image)
{
    RegisterCursor(index, image);
    if (index == cursor_ && cursor_ != crDefault)
        QGuiApplication::changeOverrideCursor(QtCursor(index));
}
