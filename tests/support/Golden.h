#pragma once
// Golden pictures for GUI tests: what a window shows, compared pixel for pixel
// with an expected PNG kept in the repository beside the test.
//
//   const QImage shot = form->Widget()->grab().toImage();
//   VN_VERIFY_GOLDEN(shot, VN_GOLDEN_DIR "/menu.png");
//
// On a mismatch the test fails with the count of differing pixels and the
// first of them, and the actual picture is written beside the expected one as
// NAME-actual.png (ignored by git); a later match removes it again. Running the
// test with --update-expected (VN_GOLDEN_TEST_MAIN) or with VN_UPDATE_EXPECTED=1
// in the environment rewrites the expected files instead of comparing.
// Colours are compared as opaque RGB; alpha is ignored, since windows are opaque.

#include <QImage>
#include <QString>

#include <cstdint>
#include <filesystem>

namespace golden {

struct Result {
    bool same = false;
    std::int64_t differing = 0;  // pixels that differ (all of them when the sizes differ)
    QString message;             // says what differs and where the actual picture went
};

// Whether expected files are rewritten rather than compared.
bool UpdateMode();
void SetUpdateMode(bool update);
// Removes --update-expected from the command line (and turns update mode on
// when it was there), so that the test framework never sees it.
void TakeUpdateSwitch(int& argc, char** argv);

// The name of the actual picture written beside `expected`: NAME-actual.png.
std::filesystem::path ActualPathFor(const std::filesystem::path& expected);

// Compares `actual` with the PNG file `expected` (or, in update mode, writes it).
Result Compare(const QImage& actual, const std::filesystem::path& expected);

}  // namespace golden

// Qt Test: fails the test function with the result's message.
#define VN_VERIFY_GOLDEN(image, expected)                                                                 \
    do {                                                                                                   \
        const golden::Result vnGoldenResult = golden::Compare((image), (expected));                        \
        if (golden::UpdateMode())                                                                          \
            qInfo("%s", qPrintable(vnGoldenResult.message));                                               \
        QVERIFY2(vnGoldenResult.same, qPrintable(vnGoldenResult.message));                                 \
    } while (false)

// QTEST_MAIN for a widget test that takes --update-expected.
#define VN_GOLDEN_TEST_MAIN(TestObject)                                                                    \
    int main(int argc, char** argv)                                                                        \
    {                                                                                                      \
        golden::TakeUpdateSwitch(argc, argv);                                                              \
        QApplication app(argc, argv);                                                                      \
        app.setAttribute(Qt::AA_Use96Dpi, true);                                                           \
        TestObject tc;                                                                                     \
        QTEST_SET_MAIN_SOURCE_PATH                                                                         \
        return QTest::qExec(&tc, argc, argv);                                                              \
    }
