#pragma once
// The frames of the standard animations a TAnimate can show by name (CommonAVI). Ours
// are drawn by code: the file-copy animation is a sheet of paper flying from one folder
// to another, 272 x 60 pixels, 26 frames on a transparent background.

#include <QImage>

#include <vector>

enum TCommonAVI {
    aviNone,
    aviFindFolder,
    aviFindFile,
    aviFindComputer,
    aviCopyFiles,
    aviCopyFile,
    aviRecycleFile,
    aviEmptyRecycle,
    aviDeleteFile,
};

// The frames of a standard animation; none for those we do not draw.
std::vector<QImage> CommonAviFrames(TCommonAVI avi);

// Milliseconds each frame of a standard animation shows.
inline constexpr int kCommonAviFrameInterval = 66;
