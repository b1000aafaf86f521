#include "disc/clip/SkyrunClip.h"

#include "disc/ToolArguments.h"
#include "disc/clip/AviWriter.h"
#include "disc/clip/FlightScene.h"
#include "disc/clip/FlightSound.h"
#include "disc/clip/FlightTimeline.h"

#include <QString>

#include <filesystem>
#include <optional>
#include <stdexcept>

namespace disc {

namespace fs = std::filesystem;

int runClipviewClip(const std::vector<std::string>& arguments)
{
    const ToolArguments parsed = parseToolArguments(arguments, 1, "expected <disc dir> [--preview <dir>]");
    const std::vector<std::string>& positional = parsed.positional;
    const std::optional<fs::path>& preview = parsed.preview;

    clip::AviClip avi;
    avi.width = clip::kWidth;
    avi.height = clip::kHeight;
    avi.framesPerSecond = clip::kFramesPerSecond;
    avi.frames = clip::kFrames;
    avi.sampleRate = clip::kSampleRate;
    avi.sound = clip::toUnsigned8(clip::makeFlightSound());
    avi.picture = [&](int frame) {
        QImage picture = clip::drawFlightFrame(frame);
        // A look at one frame a second, for whoever draws the clip.
        if (preview && frame % clip::kFramesPerSecond == 0) {
            fs::create_directories(*preview);
            const fs::path png = *preview / ("R5_01-" + std::to_string(frame / clip::kFramesPerSecond) + "s.png");
            picture.scaled(picture.size() * 3).save(QString::fromStdString(png.string()), "PNG");
        }
        return picture;
    };
    clip::writeAviClip(fs::path(positional[0]) / "CLIPVIEW" / "R5_01.dat", avi);
    return 0;
}

} // namespace disc
