#include "oracle/RunOracle.h"

#include "framework/widgets/Application.h"
#include "oracle/FormMain.h"
#include "oracle/OracleShell.h"
#include "platform/Prefix.h"

int RunOracle(int argc, char** argv, const std::function<void()>& beforeLoop)
{
    TApplication application(nullptr);
    application.Initialize(argc, argv);
    RegisterOracleClasses();
    EnsurePrefix();
    application.SetTitle(kAppTitle);
    application.CreateForm<TFormMain>();
    if (beforeLoop)
        beforeLoop();
    application.Run();
    return 0;
}
