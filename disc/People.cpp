#include "disc/People.h"

#include <stdexcept>
#include <string>

namespace disc {

namespace {

using K = Keepsake;
using S = ScreenWork;
using P = DeskPlace;

// Rows of the seating chart: the chief at desk 1, two islands of back-to-back
// desks (2 to 10 and 11 to 21), four desks along the window wall (22 to 25).
const std::array<Person, kDeskCount> kStaff = {{
    {1, "霧丘", "遼", "編集長", K::LuckyCharms, S::Mail, 0.55, P::Chief},
    {2, "早瀬", "美緒", "副編集長", K::Calendar, S::Writing, 0.8, P::Island},
    {3, "篠崎", "航", "デスク", K::Magazines, S::PageLayout, 0.25, P::Island},
    {4, "綾部", "千晴", "編集", K::Plant, S::Writing, 0.7, P::Island},
    {5, "木暮", "達也", "編集", K::Robots, S::Desktop, 0.35, P::Island},
    {6, "真柴", "奈々", "デザイナー", K::Screen, S::SkinDesign, 0.6, P::Island},
    {7, "日向", "圭吾", "ライター", K::Notebook, S::Writing, 0.3, P::Island},
    {8, "小野寺", "透", "編集", K::CompactDiscs, S::Mail, 0.5, P::Island},
    {9, "三輪", "彩花", "DTPオペレーター", K::Screen, S::PageLayout, 0.85, P::Island},
    {10, "葛西", "紘一", "CD-ROM制作", K::Screen, S::Code, 0.4, P::Island},
    {11, "榊", "まどか", "編集", K::MugAndPens, S::Writing, 0.65, P::Island},
    {12, "伊吹", "修平", "編集", K::Capsules, S::Desktop, 0.3, P::Island},
    {13, "久遠", "さやか", "デザイナー", K::Screen, S::SkinDesign, 0.75, P::Island},
    {14, "藤枝", "大地", "ライター", K::Postcards, S::Writing, 0.45, P::Island},
    {15, "水無瀬", "薫", "校正", K::Proofs, S::Writing, 0.9, P::Island},
    {16, "桐生", "直人", "編集", K::Magazines, S::Mail, 0.2, P::Island},
    {17, "芹沢", "ゆい", "編集アシスタント", K::Plant, S::Desktop, 0.8, P::Island},
    {18, "相良", "健", "カメラマン", K::Postcards, S::Desktop, 0.5, P::Island},
    {19, "七瀬", "理沙", "編集", K::LuckyCharms, S::Writing, 0.6, P::Island},
    {20, "宇佐美", "豪", "広告担当", K::Calendar, S::Mail, 0.55, P::Island},
    {21, "朝比奈", "陽子", "デザイナー", K::Screen, S::SkinDesign, 0.7, P::Island},
    {22, "仁科", "徹", "編集", K::MugAndPens, S::Writing, 0.35, P::WindowWall},
    {23, "白石", "かおり", "編集", K::Plush, S::Mail, 0.75, P::WindowWall},
    {24, "天野", "慎也", "プログラマー", K::Screen, S::Code, 0.5, P::WindowWall},
    {25, "望月", "杏", "アルバイト", K::CompactDiscs, S::Desktop, 0.6, P::WindowWall},
}};

} // namespace

const std::array<Person, kDeskCount>& officeStaff()
{
    return kStaff;
}

const Person& personAtDesk(int desk)
{
    if (desk < 1 || desk > kDeskCount)
        throw std::out_of_range("no desk number " + std::to_string(desk));
    return kStaff[std::size_t(desk - 1)];
}

} // namespace disc
