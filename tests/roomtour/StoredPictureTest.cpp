// The image panel's stored picture: a bitmap goes into the form data as the
// compressed byte block and comes back from it; anything else is ordinary
// picture data.
#include <QTest>

#include "framework/core/Reader.h"
#include "framework/core/Writer.h"
#include "framework/graphics/JpegImage.h"
#include "framework/widgets/Application.h"
#include "framework/widgets/Forms.h"
#include "roomtour/controls/ImgPnl.h"

namespace {
std::unique_ptr<TBitmap> Gradient(int w, int h)
{
    auto b = std::make_unique<TBitmap>();
    b->SetSize(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            b->Canvas()->SetPixels(x, y, RGB(x * 3, y * 7, (x + y) & 0xFF));
    return b;
}

bool Contains(const std::vector<std::uint8_t>& bytes, const std::string& text)
{
    return std::search(bytes.begin(), bytes.end(), text.begin(), text.end()) != bytes.end();
}

QImage ImageOf(const TImagePanel& panel)
{
    const auto* bitmap = dynamic_cast<const TBitmap*>(panel.Picture()->Graphic());
    return bitmap && bitmap->Image() ? bitmap->Image()->copy() : QImage();
}
}

class StoredPictureTest : public QObject {
    Q_OBJECT
    TApplication* app = nullptr;

private Q_SLOTS:
    void initTestCase()
    {
        app = new TApplication(nullptr);
        int argc = 0;
        app->Initialize(argc, nullptr);
        RegisterImagePanelClasses();
        RegisterClass(TForm::StaticClassInfo());
    }
    void cleanupTestCase() { delete app; }

    void aBitmapIsStoredCompressedAndComesBack()
    {
        TForm form(nullptr);
        auto* panel = new TImagePanel(&form);
        panel->SetName("BQuit");
        panel->SetParent(&form);
        panel->Picture()->SetGraphic(Gradient(90, 30).get());
        const QImage shown = ImageOf(*panel);

        const auto bytes = WriteComponentRes(&form);
        QVERIFY(Contains(bytes, "CompressedData"));
        QVERIFY(!Contains(bytes, "Picture.Data"));
        QVERIFY(!Contains(bytes, "TBitmap"));
        // The panel still shows its bitmap, unchanged.
        QVERIFY(!panel->StoredData());
        QCOMPARE(ImageOf(*panel), shown);
        QCOMPARE(panel->Width(), 90);

        TForm copy(nullptr);
        ReadComponentRes(bytes, &copy);
        auto* loaded = dynamic_cast<TImagePanel*>(copy.FindComponent("BQuit"));
        QVERIFY(loaded);
        QVERIFY(!loaded->StoredData());
        QCOMPARE(loaded->BoundsRect(), Bounds(0, 0, 90, 30));
        QCOMPARE(ImageOf(*loaded), shown);
        // And it saves back to the same bytes.
        QCOMPARE(WriteComponentRes(&copy), bytes);
    }

    void aJpegIsStoredAsOrdinaryPictureData()
    {
        TForm form(nullptr);
        auto* panel = new TImagePanel(&form);
        panel->SetName("PPhoto");
        panel->SetParent(&form);
        TJPEGImage jpeg;
        jpeg.Assign(Gradient(40, 20).get());
        panel->Picture()->SetGraphic(&jpeg);

        const auto bytes = WriteComponentRes(&form);
        QVERIFY(!Contains(bytes, "CompressedData"));
        QVERIFY(Contains(bytes, "Picture.Data"));
        QVERIFY(Contains(bytes, "TJPEGImage"));
        QVERIFY(dynamic_cast<TJPEGImage*>(panel->Picture()->Graphic()));

        TForm copy(nullptr);
        ReadComponentRes(bytes, &copy);
        auto* loaded = dynamic_cast<TImagePanel*>(copy.FindComponent("PPhoto"));
        QVERIFY(loaded && dynamic_cast<TJPEGImage*>(loaded->Picture()->Graphic()));
        QCOMPARE(loaded->Width(), 40);
    }

    void aDamagedBlockFailsTheLoadAtThatPanel()
    {
        TForm form(nullptr);
        auto* panel = new TImagePanel(&form);
        panel->SetName("BBad");
        panel->SetParent(&form);
        panel->Picture()->SetGraphic(Gradient(16, 16).get());
        auto bytes = WriteComponentRes(&form);
        // Damage the zlib stream inside the block (after its 4-byte count).
        const std::string key = "CompressedData";
        auto at = std::search(bytes.begin(), bytes.end(), key.begin(), key.end()) - bytes.begin();
        const std::size_t stream = static_cast<std::size_t>(at) + key.size() + 1 + 4 + 4;
        for (std::size_t i = stream + 2; i < stream + 12; ++i)
            bytes[i] ^= 0x5A;
        TForm copy(nullptr);
        try {
            ReadComponentRes(bytes, &copy);
            QFAIL("a damaged block must fail");
        } catch (const Exception& e) {
            QVERIFY(QString::fromStdString(e.Message()).contains(QStringLiteral("BBad")));
        }
        QCOMPARE(copy.ComponentCount(), 0);
    }

    void aBlockWithCountZeroOrNegativeStoresNothing()
    {
        for (std::int32_t count : {0, -5}) {
            TMemoryStream block;
            block.WriteValue(count);
            TForm form(nullptr);
            auto* panel = new TImagePanel(&form);
            panel->SetName("PNone");
            panel->SetParent(&form);
            auto bytes = WriteComponentRes(&form);
            // Add the block by hand: a panel never writes an empty one.
            TMemoryStream withBlock;
            TValueWriter w(withBlock);
            withBlock.WriteBuffer("TPF0", 4);
            w.WriteShortString("TForm");
            w.WriteShortString("");
            w.WriteListEnd();
            w.WriteShortString("TImagePanel");
            w.WriteShortString("PNone");
            w.WriteShortString("CompressedData");
            w.WriteBinary(block.Bytes());
            w.WriteListEnd();
            w.WriteListEnd();
            w.WriteListEnd();
            TForm copy(nullptr);
            ReadComponentRes(withBlock.Bytes(), &copy);
            auto* loaded = dynamic_cast<TImagePanel*>(copy.FindComponent("PNone"));
            QVERIFY(loaded);
            QVERIFY(!loaded->Picture()->Graphic());
            QCOMPARE(loaded->Width(), 105);
        }
    }
};

QTEST_MAIN(StoredPictureTest)
#include "StoredPictureTest.moc"
