#include "roomtour/JpegPicture.h"

#include "framework/graphics/JpegImage.h"
#include "platform/WinPath.h"
#include "roomtour/JpegLoadObserver.h"

#include <filesystem>
#include <functional>

namespace {
std::function<void(const std::string&)> gJpegLoadObserver;
}

void SetJpegLoadObserver(std::function<void(const std::string& fileName)> observer)
{
    gJpegLoadObserver = std::move(observer);
}

void LoadJpegPicture(const std::string& fileName, TPicture* picture)
{
    if (gJpegLoadObserver)
        gJpegLoadObserver(fileName);
    TJPEGImage jpeg;
    if (!fileName.empty()) {
        const std::filesystem::path host = HostPathFromWindows(fileName);
        try {
            if (host.empty())
                throw EFOpenError("");
            jpeg.LoadFromFile(host);
        } catch (const EFOpenError&) {
            // Name the file as the program knows it.
            throw EFOpenError("Cannot open file \"" + fileName + "\"");
        }
    }
    picture->Bitmap()->Assign(&jpeg);
}

