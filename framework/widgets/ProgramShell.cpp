#include "framework/widgets/ProgramShell.h"

#include "framework/widgets/Application.h"
#include "framework/widgets/Forms.h"
#include "platform/Messages.h"

bool HasLauncherArgument() { return Application && Application->ParamCount() >= 1; }

std::optional<HWND> LauncherWindow()
{
    if (!HasLauncherArgument())
        return std::nullopt;
    return WindowHandleFromText(Application->ParamStr(1));
}

void PostExitMessage(const ExitMessages& messages, bool quitChosen)
{
    // A first argument that is not a window handle names no one to tell.
    if (const auto launcher = LauncherWindow())
        PostMessageA(*launcher, quitChosen ? messages.quit : messages.back, 0, 0);
}

void SetCursorShape(TCursor cursor)
{
    Screen->SetCursor(cursor);
    CursorPoint p;
    GetCursorPos(&p);
    SetCursorPos(p.x, p.y);
}

void SetupFixedWindow(TForm* form, const QString& caption, int clientWidth, int clientHeight, TColor color)
{
    form->SetCaption(caption);
    form->SetBorderIcons(biSystemMenu | biMinimize);
    form->SetBorderStyle(bsSingle);
    form->SetClientWidth(clientWidth);
    form->SetClientHeight(clientHeight);
    form->SetPosition(poScreenCenter);
    form->SetColor(color);
}
