#include "tests/support/Golden.h"

#include <QByteArray>
#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace golden {
namespace {

bool gUpdate = [] {
    const char* value = std::getenv("VN_UPDATE_EXPECTED");
    return value && *value && std::strcmp(value, "0") != 0;
}();

QString Name(const std::filesystem::path& path) { return QString::fromStdString(path.filename().string()); }
QString Native(const std::filesystem::path& path) { return QString::fromStdString(path.string()); }

QString Colour(QRgb pixel) { return QStringLiteral("#%1").arg(pixel & 0xFFFFFF, 6, 16, QLatin1Char('0')); }

bool WritePng(const QImage& image, const std::filesystem::path& path)
{
    QDir().mkpath(QFileInfo(Native(path)).absolutePath());
    return image.save(Native(path), "PNG");
}

}  // namespace

bool UpdateMode() { return gUpdate; }
void SetUpdateMode(bool update) { gUpdate = update; }

void TakeUpdateSwitch(int& argc, char** argv)
{
    int kept = 0;
    for (int i = 0; i < argc; ++i) {
        if (i > 0 && std::strcmp(argv[i], "--update-expected") == 0) {
            gUpdate = true;
            continue;
        }
        argv[kept++] = argv[i];
    }
    argc = kept;
    if (argv)
        argv[argc] = nullptr;
}

std::filesystem::path ActualPathFor(const std::filesystem::path& expected)
{
    std::filesystem::path actual = expected;
    actual.replace_filename(expected.stem().string() + "-actual.png");
    return actual;
}

Result Compare(const QImage& image, const std::filesystem::path& expected)
{
    Result result;
    const QImage actual = image.convertToFormat(QImage::Format_RGB32);
    const std::filesystem::path actualPath = ActualPathFor(expected);

    if (gUpdate) {
        result.same = WritePng(actual, expected);
        result.message = result.same ? QStringLiteral("%1 rewritten").arg(Name(expected))
                                     : QStringLiteral("%1 could not be written").arg(Native(expected));
        std::error_code ignored;
        std::filesystem::remove(actualPath, ignored);
        return result;
    }

    const QImage wanted = QImage(Native(expected)).convertToFormat(QImage::Format_RGB32);
    if (wanted.isNull()) {
        result.differing = std::int64_t(actual.width()) * actual.height();
        WritePng(actual, actualPath);
        result.message = QStringLiteral("no expected picture %1 (run with --update-expected or VN_UPDATE_EXPECTED=1 "
                                        "to make it); the actual picture is %2")
                             .arg(Native(expected), Native(actualPath));
        return result;
    }

    if (wanted.size() != actual.size()) {
        result.differing = std::max<std::int64_t>(std::int64_t(wanted.width()) * wanted.height(),
                                                  std::int64_t(actual.width()) * actual.height());
        WritePng(actual, actualPath);
        result.message = QStringLiteral("%1: the picture is %2 x %3, expected %4 x %5; the actual picture is %6")
                             .arg(Name(expected))
                             .arg(actual.width())
                             .arg(actual.height())
                             .arg(wanted.width())
                             .arg(wanted.height())
                             .arg(Native(actualPath));
        return result;
    }

    QPoint first(-1, -1);
    for (int y = 0; y < actual.height(); ++y) {
        const auto* a = reinterpret_cast<const QRgb*>(actual.constScanLine(y));
        const auto* w = reinterpret_cast<const QRgb*>(wanted.constScanLine(y));
        for (int x = 0; x < actual.width(); ++x)
            if ((a[x] ^ w[x]) & 0xFFFFFF) {
                if (result.differing++ == 0)
                    first = QPoint(x, y);
            }
    }
    if (result.differing == 0) {
        result.same = true;
        std::error_code ignored;
        std::filesystem::remove(actualPath, ignored);
        return result;
    }
    WritePng(actual, actualPath);
    result.message = QStringLiteral("%1: %2 of %3 pixels differ, the first at (%4, %5): expected %6, got %7; "
                                    "the actual picture is %8")
                         .arg(Name(expected))
                         .arg(result.differing)
                         .arg(std::int64_t(actual.width()) * actual.height())
                         .arg(first.x())
                         .arg(first.y())
                         .arg(Colour(wanted.pixel(first)), Colour(actual.pixel(first)), Native(actualPath));
    return result;
}

}  // namespace golden
