#include "framework/media/ffmpeg/AvLog.h"

extern "C" {
#include <libavutil/log.h>
}

#include <cstdlib>
#include <mutex>

void QuietAvLog()
{
    static std::once_flag once;
    std::call_once(once, [] {
        const char* keep = std::getenv("VARNOOK_AV_LOG");
        if (!keep || !*keep || *keep == '0')
            av_log_set_level(AV_LOG_PANIC);
    });
}
