#pragma once
// The 25 members of the editorial office whose desks the tour visits. Invented
// people: their names, jobs and what stands on their desks. Desk numbers run
// 1 to 25 in the order of the seating chart.

#include <array>

namespace disc {

// What the close-up of a desk looks at; also what that desk is rich in.
enum class Keepsake {
    LuckyCharms,   // beckoning cat and daruma
    Calendar,      // wall calendar and memos on the partition
    Magazines,     // stacks of magazines and proofs
    Plant,         // a potted plant
    Robots,        // a row of robot figures
    Capsules,      // capsule toys and small figures
    Plush,         // soft toys
    Notebook,      // an open notebook with handwriting
    Proofs,        // page proofs marked in red
    CompactDiscs,  // a stack of CD cases
    MugAndPens,    // a mug and a pen cup
    Postcards,     // postcards and photographs pinned up
    Screen,        // what the monitor shows
};

// What the monitor shows.
enum class ScreenWork {
    SkinDesign,    // a media-player skin being drawn in a paint program
    PageLayout,    // a magazine spread in a layout program
    Desktop,       // the desktop with a few windows
    Writing,       // a text editor full of copy
    Code,          // program source
    Mail,          // a mail program
};

// Where the desk stands: back to back in an island, against the window wall, or the chief's.
enum class DeskPlace { Island, WindowWall, Chief };

struct Person {
    int desk;              // 1 to 25
    const char* family;    // family name
    const char* given;     // given name
    const char* role;      // job in the office
    Keepsake keepsake;
    ScreenWork screen;
    double tidiness;       // 0 buried in paper, 1 spotless
    DeskPlace place;
};

inline constexpr int kDeskCount = 25;

const std::array<Person, kDeskCount>& officeStaff();
// The person at desk 1 to 25; throws std::out_of_range for any other number.
const Person& personAtDesk(int desk);

} // namespace disc
