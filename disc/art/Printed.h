#pragma once
// Printed and handwritten things of an editorial office, as flat pictures to be
// mapped onto the desk: page proofs, drafts, magazine covers, book spines,
// calendars, sticky notes, photographs, notebooks, CD inlays, mouse pads.

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QRectF>

#include <cstdint>

namespace disc::art {

enum class PageKind { Draft, Layout, Schedule };

QImage printedPage(int width, int height, PageKind kind, std::uint64_t seed, bool redMarks = false);
QImage magazineCover(int width, int height, std::uint64_t seed);
// The edge of a closed magazine or book: colour band with a title line.
QImage bookSpine(int width, int height, const QColor& colour, std::uint64_t seed, bool binder = false);
QImage calendarSheet(int width, int height, std::uint64_t seed);
QImage stickyNote(int width, int height, const QColor& colour, std::uint64_t seed);
QImage photoPrint(int width, int height, std::uint64_t seed);
QImage notebookSpread(int width, int height, std::uint64_t seed);
QImage compactDiscInlay(int width, int height, std::uint64_t seed);
QImage mousePad(int width, int height, std::uint64_t seed);
QImage keyboardTop(int width, int height, const QColor& plastic);
QImage floppyLabel(int width, int height, const QColor& colour, std::uint64_t seed);
// Gold lettering on dark wood for a desk name sign: a title above a name.
QImage nameSignLettering(int width, int height, const QString& title, const QString& name);

// Lines of handwriting in pen, filling box.
void scribble(QPainter& painter, const QRectF& box, const QColor& ink, double lineHeight, std::uint64_t seed);
// Lines of small print as grey word blocks, filling box.
void fakeText(QPainter& painter, const QRectF& box, const QColor& ink, double lineHeight, std::uint64_t seed);

} // namespace disc::art
