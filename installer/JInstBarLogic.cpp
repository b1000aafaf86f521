#include "installer/JInstBarLogic.h"

#include "platform/Codepage.h"

#include <cmath>
#include <cstring>

namespace {

bool EndsInBackslash(const std::string& text)
{
    std::size_t last = Cp932LastChar(text);
    return last != std::string::npos && Cp932CharLength(text, last) == 1 && text[last] == '\\';
}

}  // namespace

std::string FolderWithSeparator(std::string folderName)
{
    if (!EndsInBackslash(folderName))
        folderName += '\\';
    return folderName;
}

std::string ExtractCommandLine(const std::string& lzhFileName, std::string folderName)
{
    folderName = FolderWithSeparator(std::move(folderName));
    return "e -+ -a1 -m1c0 -n -gm -x1 -y1 -jf0 -- \"" + lzhFileName + "\" \"" + folderName + "\" *.*";
}

int ProgressBarPosition(double bytes, double totalBytes)
{
    double position = std::nearbyint(bytes * 100.0 / totalBytes);  // the default mode: halves to even
    if (std::isnan(position) || position < 0)
        return 0;
    return position > 100 ? 100 : static_cast<int>(position);
}

std::string FileNameLabelPrefix()
{
    return Utf8ToCp932("ファイル名：");
}

void BeginExtractProgress(ExtractProgressState& state, int needKB)
{
    state.Position = 0;
    state.TotalBytes = static_cast<double>(needKB) * 1024.0;
    state.DoneBytes = 0;
    state.CurrentSize = 0;
}

void ApplyExtractProgress(ExtractProgressState& state, UINT reportState, const UnlhaProgressRecord& record)
{
    switch (reportState) {
    case kUnlhaStateMemberStart:
        // A report with a destination name is not the start of a member's data.
        if (record.destinationName[0] != '\0')
            return;
        state.DoneBytes += state.CurrentSize;
        state.Position = ProgressBarPosition(state.DoneBytes, state.TotalBytes);
        state.Label = FileNameLabelPrefix() +
                      std::string(record.memberName, strnlen(record.memberName, sizeof record.memberName));
        state.CurrentSize = record.memberSize;
        return;
    case kUnlhaStateMemberBytes:
        state.Position = ProgressBarPosition(state.DoneBytes + record.writtenBytes, state.TotalBytes);
        return;
    case kUnlhaStateFinished:
        state.Position = 100;
        return;
    default:
        return;
    }
}
