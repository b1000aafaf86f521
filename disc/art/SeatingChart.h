#pragma once
// The seating chart of the editorial office (600 x 420), seen from above: walls
// and windows, carpet, desks with chairs, shelves and plants. Every seat is drawn
// exactly on its sensor rectangle, because the program inverts that rectangle
// while the seat is pressed and opens the desk on release.

#include <QImage>
#include <QRect>

#include <array>

namespace disc::art {

struct Seat {
    const char* sensor;  // control name of the seat sensor
    int desk;            // 1 to 25
    QRect bounds;        // place on the chart
};

const std::array<Seat, 25>& seats();

QImage paintSeatingChart();
// A copy of the chart with every sensor rectangle outlined, for checking by eye.
QImage withSensorOutlines(const QImage& chart);

} // namespace disc::art
