#include "disc/archives/SkinCourse.h"

#include "disc/JpegWriter.h"
#include "disc/archives/SkinBitmaps.h"
#include "disc/art/Lettering.h"

#include <QPainter>

#include <stdexcept>

namespace disc::archives {

namespace {

constexpr int kSampleScheme = 2;
constexpr std::uint64_t kSampleSeed = 0x5C1A;

const char* const kPage = R"(<HTML>
<HEAD>
<META HTTP-EQUIV="Content-Type" CONTENT="text/html; charset=Shift_JIS">
<TITLE>スキンを作ってみよう</TITLE>
</HEAD>
<BODY BGCOLOR="#FFFFFF" TEXT="#202020" LINK="#0040A0">
<H1>スキンを作ってみよう</H1>
<P>メディアプレーヤーの見た目は「スキン」と呼ばれるビットマップの組で決まります。
ペイントソフトで何枚かの絵を描いてフォルダにまとめるだけで、あなただけのプレーヤーが完成します。
この講座では、サンプルのスキンを一から作りながら、その手順を順番に説明します。</P>
<P><IMG SRC="image/kansei.jpg" WIDTH="275" HEIGHT="116" ALT="完成したスキン"><BR>
▲この講座で作るスキン（サンプルフォルダに入っています）</P>

<H2>1. 用意するもの</H2>
<UL>
<LI>ビットマップ（BMP形式）を保存できるペイントソフト</LI>
<LI>メモ帳などのテキストエディタ</LI>
<LI>少しの根気</LI>
</UL>
<P>絵はフルカラー（24ビット）で保存してください。256色で保存する場合は、どの絵も同じパレットを使うと色が崩れません。</P>

<H2>2. スキンの中身</H2>
<P>スキンは一つのフォルダです。中には決まった名前のビットマップが入っています。</P>
<TABLE BORDER="1" CELLPADDING="4">
<TR><TH>ファイル名</TH><TH>大きさ</TH><TH>内容</TH></TR>
<TR><TD>main.bmp</TD><TD>275×116</TD><TD>メインウィンドウ全体の背景</TD></TR>
<TR><TD>cbuttons.bmp</TD><TD>136×36</TD><TD>再生・停止などのボタン（上段が通常、下段が押した時）</TD></TR>
<TR><TD>titlebar.bmp</TD><TD>275×28</TD><TD>タイトルバー（上段がアクティブ、下段が非アクティブ）</TD></TR>
<TR><TD>posbar.bmp</TD><TD>307×20</TD><TD>再生位置のバーとつまみ</TD></TR>
<TR><TD>volume.bmp</TD><TD>68×433</TD><TD>音量スライダーの28段階の絵とつまみ</TD></TR>
</TABLE>
<P>足りないファイルがあると、その部分だけ標準の絵が使われます。まずは main.bmp だけ作ってみるのもよいでしょう。</P>

<H2>3. メインウィンドウを描く</H2>
<P><IMG SRC="image/step1.jpg" ALT="メインウィンドウの各部分"><BR>
メインウィンドウは 275×116 ドットです。上の図のように、タイトルバー、表示部、再生位置のバー、ボタン、音量の場所が決まっています。
ボタンや文字が乗る場所はあとで別の絵が重なるので、背景だけを描いておきます。</P>
<P>表示部は暗い色にしておくと、時間やスペクトラムの光る色が引き立ちます。</P>
<P><IMG SRC="image/layout.bmp" ALT="位置の目安"><BR>
▲各部分の位置の目安。方眼の一目は10ドットです。</P>

<H2>4. ボタンを描く</H2>
<P><IMG SRC="image/step2.jpg" ALT="ボタンの並び"><BR>
cbuttons.bmp には「前へ」「再生」「一時停止」「停止」「次へ」の五つのボタンを 23×18 ドットずつ横に並べ、右端に「取り出し」ボタンを置きます。
下の段には同じボタンを押した時の絵を描きます。へこんだように見えるよう、影の向きを逆にするのがコツです。</P>

<H2>5. フォルダにまとめる</H2>
<P><IMG SRC="image/step3.jpg" ALT="フォルダの中身"><BR>
描いた絵を一つのフォルダに入れ、プレーヤーのスキン用フォルダにコピーします。
プレーヤーのスキン選択の画面でフォルダ名を選べば、すぐに新しい見た目に変わります。</P>
<P>人に配る時は、フォルダごと圧縮して、作者名や連絡先を書いた readme.txt を添えましょう。</P>

<H2>6. うまくいかない時は</H2>
<DL>
<DT>色がおかしい</DT><DD>256色で保存した時は、パレットをそろえてください。</DD>
<DT>ボタンがずれる</DT><DD>絵の大きさが表の通りになっているか確かめてください。1ドットでも違うとずれます。</DD>
<DT>スキンが一覧に出ない</DT><DD>ファイル名のつづりを確かめてください。拡張子まで正しく付いていますか。</DD>
</DL>
<HR>
<P>バーヌーク編集部　スキン講座</P>
</BODY>
</HTML>
)";

const char* const kReadme = R"(スキン作成講座
==============

この圧縮ファイルには、メディアプレーヤーのスキンを作る講座が入っています。

  make.htm ............ 講座の本文（ブラウザで開いてください）
  image\ .............. 本文の図
  サンプル\ ........... 講座で作るサンプルのスキン

サンプルのスキンは、プレーヤーのスキン用フォルダに「サンプル」フォルダごと
コピーすると使えます。

絵やサンプルは自由に改造してかまいません。改造したスキンを配る時は、
元にしたことを readme.txt に書いておいてくださいね。

バーヌーク編集部
)";

QImage canvas(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(QColor(0xff, 0xff, 0xff));
    return image;
}

void label(QPainter& painter, const QRectF& box, const QString& text, const QColor& colour)
{
    painter.setPen(QPen(colour, 2));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(box);
    painter.setFont(art::gothic(13, true));
    painter.setPen(colour.darker(140));
    painter.drawText(QRectF(box.left(), box.bottom() + 2, 160, 16), Qt::AlignLeft | Qt::AlignTop, text);
}

// The main window with its parts outlined and named.
QImage stepOne(const art::SkinScheme& scheme)
{
    QImage image = canvas(420, 230);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.drawImage(QPointF(20, 20), skinMainWindow(scheme, kSampleSeed));
    const QColor red(0xd0, 0x20, 0x20), blue(0x20, 0x50, 0xc0);
    label(painter, QRectF(33, 25, 248, 12), QStringLiteral("タイトルバー"), red);
    label(painter, QRectF(36, 43, 242, 42), QStringLiteral("表示部"), blue);
    painter.setFont(art::gothic(13));
    painter.setPen(QColor(0x30, 0x30, 0x30));
    painter.drawText(QRectF(305, 30, 110, 170), Qt::AlignLeft | Qt::TextWordWrap,
                     QStringLiteral("275×116ドット\n\n上からタイトルバー、表示部、再生位置、ボタンと音量の順です。"));
    painter.drawText(QRectF(20, 160, 380, 60), Qt::AlignLeft | Qt::TextWordWrap,
                     QStringLiteral("ボタンと音量のつまみは別の絵が重なります。ここには背景だけを描きます。"));
    return image;
}

// The button strip, enlarged three times, with its two rows named.
QImage stepTwo(const art::SkinScheme& scheme)
{
    QImage image = canvas(520, 170);
    QPainter painter(&image);
    QImage buttons = skinButtons(scheme);
    painter.drawImage(QRectF(20, 20, 136 * 3, 36 * 3), buttons);
    painter.setFont(art::gothic(14, true));
    painter.setPen(QColor(0x20, 0x20, 0x20));
    painter.drawText(QRectF(436, 20, 80, 54), Qt::AlignVCenter | Qt::AlignLeft, QStringLiteral("通常"));
    painter.drawText(QRectF(436, 74, 80, 54), Qt::AlignVCenter | Qt::AlignLeft, QStringLiteral("押した時"));
    painter.setFont(art::gothic(13));
    painter.drawText(QRectF(20, 136, 490, 24), Qt::AlignLeft,
                     QStringLiteral("前へ・再生・一時停止・停止・次へ（23×18）と取り出し（22×16）"));
    return image;
}

// A skin folder and the files in it.
QImage stepThree()
{
    QImage image = canvas(360, 220);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(QPen(QColor(0x8a, 0x6a, 0x10), 2));
    painter.setBrush(QColor(0xf4, 0xd0, 0x60));
    painter.drawRoundedRect(QRectF(20, 30, 90, 64), 6, 6);
    painter.drawRoundedRect(QRectF(20, 20, 40, 16), 4, 4);
    painter.setFont(art::gothic(14, true));
    painter.setPen(QColor(0x20, 0x20, 0x20));
    painter.drawText(QRectF(10, 100, 110, 20), Qt::AlignCenter, QStringLiteral("サンプル"));
    painter.setFont(art::fixedGothic(13));
    const char* const files[] = {"main.bmp", "cbuttons.bmp", "titlebar.bmp", "readme.txt"};
    int y = 30;
    for (const char* file : files) {
        painter.setPen(QPen(QColor(0x60, 0x60, 0x60), 1));
        painter.drawLine(QPointF(112, 62), QPointF(150, y + 8));
        painter.setPen(QColor(0x10, 0x10, 0x10));
        painter.drawText(QPointF(156, y + 13), QString::fromLatin1(file));
        y += 36;
    }
    return image;
}

// The main window's grid of positions, a 10-pixel square each; its height makes the
// archive's unpacked size come out at the figure the installer announces.
QImage layoutGrid(const art::SkinScheme& scheme, int height)
{
    QImage image = canvas(300, height);
    QPainter painter(&image);
    painter.drawImage(QPointF(10, 10), skinMainWindow(scheme, kSampleSeed));
    painter.setPen(QPen(QColor(0x40, 0x80, 0xff, 0x70), 1));
    for (int x = 10; x <= 290; x += 10)
        painter.drawLine(x, 10, x, height - 10);
    for (int y = 10; y <= height - 10; y += 10)
        painter.drawLine(10, y, 290, y);
    return image;
}

std::vector<std::uint8_t> bytesOf(const std::vector<unsigned char>& data)
{
    return std::vector<std::uint8_t>(data.begin(), data.end());
}

} // namespace

std::vector<ArchiveFile> skinCourseFiles()
{
    const art::SkinScheme scheme = art::skinScheme(kSampleScheme);
    const QString title = QStringLiteral("サンプル");
    std::vector<ArchiveFile> files;
    int minute = 0;
    auto add = [&](const std::string& utf8Path, std::vector<std::uint8_t> bytes) {
        files.push_back({shiftJisPath(utf8Path), std::move(bytes), discTime(minute += 7), false});
    };
    add("make.htm", shiftJisText(kPage));
    add("readme.txt", shiftJisText(kReadme));
    add("image\\kansei.jpg", bytesOf(encodeJpeg(skinMainWindow(scheme, kSampleSeed))));
    add("image\\step1.jpg", bytesOf(encodeJpeg(stepOne(scheme))));
    add("image\\step2.jpg", bytesOf(encodeJpeg(stepTwo(scheme))));
    add("image\\step3.jpg", bytesOf(encodeJpeg(stepThree())));
    add("サンプル\\main.bmp", bytesOf(encodeBmp24(skinMainWindow(scheme, kSampleSeed))));
    add("サンプル\\cbuttons.bmp", bytesOf(encodeBmp24(skinButtons(scheme))));
    add("サンプル\\titlebar.bmp", bytesOf(encodeBmp24(skinTitleBar(scheme, title))));
    add("サンプル\\readme.txt", shiftJisText("サンプルのスキンです。講座の本文（make.htm）と一緒にどうぞ。\n"));

    // The grid picture fills the rest up to the announced size (a 24-bit BMP: a
    // 54-byte header and rows of 900 bytes).
    const std::uint64_t target = std::uint64_t(kSkinCourseKB) * 1024;
    const std::uint64_t rest = totalSize(files) + 54;
    if (rest + 900 * 128 > target)
        throw std::logic_error("the skin course's files leave no room for the grid picture (" +
                               std::to_string(rest) + " bytes before it)");
    const int height = static_cast<int>((target - rest) / 900);
    add("image\\layout.bmp", bytesOf(encodeBmp24(layoutGrid(scheme, height))));
    return files;
}

} // namespace disc::archives
