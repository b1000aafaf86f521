#include "disc/archives/SkinSet.h"

#include "disc/JpegWriter.h"
#include "disc/archives/SkinBitmaps.h"
#include "disc/art/Lettering.h"

#include <QPainter>

#include <stdexcept>

namespace disc::archives {

namespace {

struct Skin {
    const char* folder;   // UTF-8
    const char* comment;  // one line for its readme
    int scheme;
    bool complete;        // with seek bar and volume, or the main bitmaps only
};

// "ソ" is 83 5C in code page 932: a folder name whose trail byte is a backslash.
const Skin kSkins[] = {
    {"ソーダ", "炭酸水のような、すっきりした水色のスキンです。", 2, true},
    {"さくら", "春らしい桜色のスキンです。ボタンは丸く、やわらかい感じにしました。", 4, true},
    {"メタル", "黒と銀の金属風スキンです。表示部の赤い文字がポイントです。", 3, true},
    {"Forest", "森の緑をイメージしたスキンです。ボタンとタイトルバーだけの軽いセットです。", 5, false},
};

const char* const kReadme = R"(オリジナルスキン集
==================

バーヌーク編集部で作ったメディアプレーヤーのスキン集です。
フォルダごとに一つのスキンが入っています。

  ソーダ\ ....... 水色のすっきりしたスキン
  さくら\ ....... 桜色のやわらかいスキン
  メタル\ ....... 黒と銀の金属風スキン
  Forest\ ....... 緑のスキン（ボタンとタイトルバーのみ）
  一覧.bmp ...... スキンの見本

使い方
  使いたいスキンのフォルダを、プレーヤーのスキン用フォルダにフォルダごと
  コピーしてください。プレーヤーのスキン選択の画面に名前が出てきます。

自由に改造してかまいません。作り方は「スキン作成講座」をご覧ください。
)";

std::string skinReadme(const Skin& skin)
{
    return std::string(skin.folder) + " スキン\n\n" + skin.comment +
           "\n\n入っているファイル\n  main.bmp, cbuttons.bmp, titlebar.bmp" +
           (skin.complete ? ", posbar.bmp, volume.bmp" : "") + "\n\nバーヌーク編集部\n";
}

// The four skins at half size in two rows, named; `height` is chosen by the caller.
QImage catalogue(int height)
{
    QImage image(300, height, QImage::Format_RGB32);
    image.fill(QColor(0xf4, 0xf0, 0xe6));
    QPainter painter(&image);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    painter.setFont(art::gothic(12, true));
    int index = 0;
    for (const Skin& skin : kSkins) {
        const int column = index % 2, row = index / 2;
        const QRectF box(10 + column * 145, 6 + row * 74, 137.5, 58);
        painter.drawImage(box, skinMainWindow(art::skinScheme(skin.scheme), 0x5E70 + index));
        painter.setPen(QColor(0x30, 0x20, 0x10));
        painter.drawText(QRectF(box.left(), box.bottom() + 1, box.width(), 14), Qt::AlignCenter,
                         QString::fromUtf8(skin.folder));
        ++index;
    }
    return image;
}

std::vector<std::uint8_t> bytesOf(const std::vector<unsigned char>& data)
{
    return std::vector<std::uint8_t>(data.begin(), data.end());
}

} // namespace

std::vector<ArchiveFile> skinSetFiles()
{
    std::vector<ArchiveFile> files;
    int minute = 0;
    auto add = [&](const std::string& utf8Path, std::vector<std::uint8_t> bytes) {
        files.push_back({shiftJisPath(utf8Path), std::move(bytes), discTime(600 + (minute += 11)), false});
    };
    add("readme.txt", shiftJisText(kReadme));
    int index = 0;
    for (const Skin& skin : kSkins) {
        const art::SkinScheme scheme = art::skinScheme(skin.scheme);
        const std::string folder = std::string(skin.folder) + "\\";
        add(folder + "main.bmp", bytesOf(encodeBmp24(skinMainWindow(scheme, 0x5E70 + index))));
        add(folder + "cbuttons.bmp", bytesOf(encodeBmp24(skinButtons(scheme))));
        add(folder + "titlebar.bmp", bytesOf(encodeBmp24(skinTitleBar(scheme, QString::fromUtf8(skin.folder)))));
        if (skin.complete) {
            add(folder + "posbar.bmp", bytesOf(encodeBmp24(skinSeekBar(scheme))));
            add(folder + "volume.bmp", bytesOf(encodeBmp24(skinVolume(scheme))));
        }
        add(folder + "readme.txt", shiftJisText(skinReadme(skin)));
        ++index;
    }
    // The catalogue fills the rest up to the announced size (a 24-bit BMP: a 54-byte
    // header and rows of 900 bytes); it needs 150 rows for its two rows of skins.
    const std::uint64_t target = std::uint64_t(kSkinSetKB) * 1024;
    const std::uint64_t rest = totalSize(files) + 54;
    if (rest + 900 * 150 > target)
        throw std::logic_error("the skin set's files leave no room for the catalogue");
    add("一覧.bmp", bytesOf(encodeBmp24(catalogue(static_cast<int>((target - rest) / 900)))));
    return files;
}

} // namespace disc::archives
