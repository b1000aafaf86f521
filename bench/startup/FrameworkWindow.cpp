// The same window made of framework parts: a form with a picture control and
// eight panels, built and shown the way the programs do it.
#include "bench/startup/FirstPaint.h"
#include "framework/widgets/Application.h"
#include "framework/widgets/ExtCtrls.h"
#include "framework/widgets/Forms.h"

#include <QWidget>

namespace {
class TBenchForm : public TForm {
public:
    explicit TBenchForm(TComponent* owner) : TForm(owner)
    {
        SetBorderStyle(bsSingle);
        SetBorderIcons(biSystemMenu | biMinimize);
        SetClientWidth(600);
        SetClientHeight(420);
        SetPosition(poScreenCenter);
        SetColor(clBlack);
        auto* image = new TImage(this);
        image->SetParent(this);
        image->SetAutoSize(true);
        TBitmap picture;
        picture.SetSize(600, 420);
        picture.Canvas()->Brush()->SetColor(clTeal);
        picture.Canvas()->FillRect(Rect(0, 0, 600, 420));
        image->Picture()->SetGraphic(&picture);
        for (int i = 0; i < 8; ++i) {
            auto* panel = new TPanel(this);
            panel->SetParent(this);
            panel->SetBounds(20 + i * 70, 380, 64, 28);
            panel->SetCaption(QStringLiteral("ボタン"));
        }
    }
};
}

int main(int argc, char** argv)
{
    TApplication application(nullptr);
    application.Initialize(argc, argv);
    application.SetTitle(QStringLiteral("bench"));
    TForm* form = application.CreateForm<TBenchForm>();
    QuitAfterFirstPaint quit;
    form->Widget()->installEventFilter(&quit);
    application.Run();
    return 0;
}
