#include "outside/unlha32/Extract.h"

#include "outside/unlha32/Crc16.h"
#include "outside/unlha32/LhaArchive.h"
#include "outside/unlha32/MemberPath.h"
#include "outside/unlha32/SafeOutput.h"
#include "outside/unlha32/Wildcard.h"

#include <lhasa.h>

#include <cstring>
#include <memory>
#include <optional>

namespace unlha {

namespace {

bool IsFolderMethod(const LHAFileHeader& header)
{
    return std::strncmp(header.compress_method, LHA_COMPRESS_TYPE_DIR, 5) == 0;
}

std::string MethodOf(const LHAFileHeader& header)
{
    return std::string(header.compress_method, strnlen(header.compress_method, 5));
}

// The member's name as stored, or what liblhasa made of it when the raw fields cannot
// be read (only ever used in reports).
std::optional<StoredName> StoredNameOf(const LHAFileHeader& header)
{
    return ReadStoredName(header.raw_data, header.raw_data_len, header.header_level);
}

std::string FallbackName(const LHAFileHeader& header)
{
    std::string name = header.path ? header.path : "";
    if (header.filename)
        name += header.filename;
    return name;
}

std::string JoinHostPath(const std::vector<std::string>& components)
{
    std::string joined;
    for (const std::string& component : components) {
        if (!joined.empty())
            joined += '/';
        joined += component;
    }
    return joined;
}

class Session {
public:
    Session(ExtractObserver* observer, ExtractSummary& summary) : observer_(observer), summary_(summary) {}

    void Report(int code, std::string archiveName, std::string reason)
    {
        Problem problem{code, std::move(archiveName), std::move(reason)};
        if (summary_.code == kUnlhaOk)
            summary_.code = code;
        if (observer_)
            observer_->ProblemFound(problem);
        summary_.problems.push_back(std::move(problem));
    }

    // Reports a failure of the output; true when the run must stop (the disk is full).
    bool ReportOutput(const std::string& archiveName, const OutputError& error)
    {
        int code = error.IsRefusal()                         ? kUnlhaMemberRefused
                   : error.status == OutputStatus::DiskFull ? kUnlhaDiskFull
                                                            : kUnlhaWriteFailed;
        Report(code, archiveName, error.Describe());
        return code == kUnlhaDiskFull;
    }

    bool Started(const MemberInfo& member) { return !observer_ || observer_->MemberStarted(member) || Cancel(); }
    bool Written(const MemberInfo& member, std::uint64_t bytes)
    {
        return !observer_ || observer_->BytesWritten(member, bytes) || Cancel();
    }
    bool Cancelled() const { return cancelled_; }

private:
    bool Cancel()
    {
        cancelled_ = true;
        return false;
    }

    ExtractObserver* observer_;
    ExtractSummary& summary_;
    bool cancelled_ = false;
};

enum class Flow { Continue, Stop };

Flow WriteFolder(OutputFolder& output, const MemberPath& path, Session& session, ExtractSummary& summary)
{
    MemberInfo member{path.archiveName, JoinHostPath(path.components), 0, true};
    if (!session.Started(member))
        return Flow::Stop;
    OutputError error;
    if (output.Folder(path.components, error) < 0)
        return session.ReportOutput(path.archiveName, error) ? Flow::Stop : Flow::Continue;
    ++summary.membersWritten;
    return session.Written(member, 0) ? Flow::Continue : Flow::Stop;
}

Flow WriteFile(LhaArchive& archive, OutputFolder& output, const MemberPath& path, Session& session,
               ExtractSummary& summary, std::vector<unsigned char>& buffer)
{
    const LHAFileHeader& header = archive.Header();
    if (!archive.MethodKnown()) {
        session.Report(kUnlhaMemberDamaged, path.archiveName, "unknown compression method " + MethodOf(header));
        return Flow::Continue;
    }
    if (header.compressed_length > archive.BytesAfterHeader()) {
        session.Report(kUnlhaMemberDamaged, path.archiveName, "data cut short (archive ends inside the member)");
        return Flow::Continue;
    }

    std::span<const std::string> folders(path.components.data(), path.components.size() - 1);
    OutputError error;
    int folderFd = output.Folder(folders, error);
    if (folderFd < 0)
        return session.ReportOutput(path.archiveName, error) ? Flow::Stop : Flow::Continue;

    MemberInfo member{path.archiveName, JoinHostPath(path.components), header.length, false};
    if (!session.Started(member))
        return Flow::Stop;
    PendingFile file(output, folderFd);
    if (file.CreateError())
        return session.ReportOutput(path.archiveName, file.CreateError()) ? Flow::Stop : Flow::Continue;

    std::uint16_t crc = 0;
    std::uint64_t written = 0;
    while (written < header.length) {
        std::size_t wanted = static_cast<std::size_t>(std::min<std::uint64_t>(buffer.size(), header.length - written));
        std::size_t got = archive.Read(buffer.data(), wanted);
        if (got == 0)
            break;
        crc = UpdateCrc16(crc, buffer.data(), got);
        if (OutputError writeError = file.Write(buffer.data(), got))
            return session.ReportOutput(path.archiveName, writeError) ? Flow::Stop : Flow::Continue;
        written += got;
        if (!session.Written(member, written))
            return Flow::Stop;
    }
    if (written != header.length) {
        session.Report(kUnlhaMemberDamaged, path.archiveName, "data cut short or damaged");
        return Flow::Continue;
    }
    if (crc != header.crc) {
        session.Report(kUnlhaMemberDamaged, path.archiveName, "CRC mismatch (damaged data)");
        return Flow::Continue;
    }
    if (OutputError commitError = file.Commit(path.components.back(), static_cast<std::time_t>(header.timestamp)))
        return session.ReportOutput(path.archiveName, commitError) ? Flow::Stop : Flow::Continue;
    ++summary.membersWritten;
    summary.bytesWritten += written;
    if (header.length == 0 && !session.Written(member, 0))
        return Flow::Stop;
    return Flow::Continue;
}

}  // namespace

ExtractSummary ExtractArchive(const std::filesystem::path& archivePath, const std::filesystem::path& destination,
                              const std::vector<std::string>& patterns, ExtractObserver* observer)
{
    ExtractSummary summary;
    Session session(observer, summary);
    LhaArchive archive(archivePath);
    if (!archive.IsOpen()) {
        session.Report(kUnlhaArchiveMissing, {}, std::string("cannot open the archive: ") +
                                                      std::strerror(archive.OpenErrno()));
        return summary;
    }
    OutputFolder output(destination);
    if (output.OpenError()) {
        session.ReportOutput({}, output.OpenError());
        return summary;
    }

    std::vector<unsigned char> buffer(kReportChunk);
    unsigned membersSeen = 0;
    while (true) {
        LhaArchive::Step step = archive.Next();
        if (step == LhaArchive::Step::End)
            break;
        if (step == LhaArchive::Step::Damaged) {
            session.Report(kUnlhaArchiveDamaged, {},
                           "damaged member header after " + std::to_string(membersSeen) + " members");
            break;
        }
        ++membersSeen;
        const LHAFileHeader& header = archive.Header();
        std::optional<StoredName> stored = StoredNameOf(header);
        if (!stored) {
            session.Report(kUnlhaMemberRefused, FallbackName(header), "unreadable name field");
            continue;
        }
        bool isFolder = IsFolderMethod(header) && !header.symlink_target;
        MemberPath path = CheckMemberPath(*stored, isFolder);
        if (!MatchesAnyPattern(patterns, path.archiveName))
            continue;
        if (header.symlink_target) {
            session.Report(kUnlhaMemberRefused, path.archiveName, "symbolic link (links are not made)");
            continue;
        }
        if (path.problem != NameProblem::None) {
            session.Report(kUnlhaMemberRefused, path.archiveName, DescribeNameProblem(path.problem));
            continue;
        }
        Flow flow = isFolder ? WriteFolder(output, path, session, summary)
                             : WriteFile(archive, output, path, session, summary, buffer);
        if (flow == Flow::Stop)
            break;
    }
    if (session.Cancelled())
        session.Report(kUnlhaCancelled, {}, "stopped by the caller");
    return summary;
}

ArchiveListing ListArchive(const std::filesystem::path& archivePath)
{
    ArchiveListing listing;
    LhaArchive archive(archivePath);
    if (!archive.IsOpen()) {
        listing.code = kUnlhaArchiveMissing;
        listing.reason = std::string("cannot open the archive: ") + std::strerror(archive.OpenErrno());
        return listing;
    }
    while (true) {
        LhaArchive::Step step = archive.Next();
        if (step == LhaArchive::Step::End)
            break;
        if (step == LhaArchive::Step::Damaged) {
            listing.code = kUnlhaArchiveDamaged;
            listing.reason = "damaged member header after " + std::to_string(listing.members.size()) + " members";
            break;
        }
        const LHAFileHeader& header = archive.Header();
        ListedMember member;
        member.size = header.length;
        member.compressedSize = header.compressed_length;
        member.method = MethodOf(header);
        member.headerLevel = header.header_level;
        std::optional<StoredName> stored = StoredNameOf(header);
        if (!stored) {
            member.archiveName = FallbackName(header);
            member.problem = "unreadable name field";
        } else {
            MemberPath path = CheckMemberPath(*stored, IsFolderMethod(header) && !header.symlink_target);
            member.archiveName = path.archiveName;
            if (header.symlink_target)
                member.problem = "symbolic link (links are not made)";
            else if (path.problem != NameProblem::None)
                member.problem = DescribeNameProblem(path.problem);
        }
        listing.members.push_back(std::move(member));
    }
    return listing;
}

}  // namespace unlha
