#include "installer/ExtractOutcome.h"

#include "platform/Codepage.h"

namespace {

QString WithMember(const QString& sentence, const std::string& member)
{
    if (member.empty())
        return sentence;
    return sentence + QStringLiteral("\r\n（ファイル名：") + Cp932ToUnicode(member) + QStringLiteral("）");
}

QString LoadFailure(ArchiverLoad load)
{
    switch (load) {
    case ArchiverLoad::Missing:
        return QStringLiteral("圧縮ファイルを解凍するためのUNLHA32.DLLがシステムフォルダにありません。");
    case ArchiverLoad::NotLoadable:
        return QStringLiteral("UNLHA32.DLLを読み込めませんでした。ファイルが壊れている可能性があります。");
    case ArchiverLoad::NoVersion:
        return QStringLiteral("UNLHA32.DLLのバージョンを確認できませんでした。");
    case ArchiverLoad::Busy:
        return QStringLiteral("UNLHA32.DLLはほかの解凍に使われています。しばらくしてからもう一度お試しください。");
    case ArchiverLoad::TooOld:
    case ArchiverLoad::Good:
        break;
    }
    return {};
}

QString ExtractFailure(const ExtractOutcome& outcome)
{
    if (!outcome.unlhaCalled)
        return QStringLiteral("UNLHA32.DLLに解凍の機能がありません。");
    if (outcome.raised)
        return QStringLiteral("解凍中にエラーが起きました。");
    const std::string member = outcome.FailedMember();
    switch (outcome.unlhaResult) {
    case kUnlhaArchiveMissing:
        return QStringLiteral("圧縮ファイルを開けませんでした。");
    case kUnlhaArchiveDamaged:
        return QStringLiteral("圧縮ファイルが壊れています。");
    case kUnlhaMemberDamaged:
        return WithMember(QStringLiteral("圧縮ファイルが壊れているため、解凍できないファイルがありました。"), member);
    case kUnlhaMemberRefused:
        return WithMember(QStringLiteral("安全でない名前のファイルが含まれていたため、そのファイルは解凍しませんでした。"),
                          member);
    case kUnlhaDiskFull:
        return WithMember(QStringLiteral("ディスクの空き容量が足りなくなりました。"), member);
    case kUnlhaWriteFailed:
        return WithMember(QStringLiteral("ファイルを書き込めませんでした。"), member);
    case kUnlhaBusy:
        return QStringLiteral("UNLHA32.DLLはほかの解凍に使われています。しばらくしてからもう一度お試しください。");
    default:
        return QStringLiteral("解凍できませんでした。");
    }
}

}  // namespace

std::string ExtractOutcome::FailedMember() const
{
    return unlhaCalled && UnlhaResultNamesMember(unlhaResult) ? resultText : std::string();
}

QString ExtractWarningCaption()
{
    return QStringLiteral("警告");
}

QString ExtractWarningText(const ExtractOutcome& outcome)
{
    if (outcome.Succeeded() || outcome.load == ArchiverLoad::TooOld)
        return {};
    const QString reason = outcome.LoadGood() ? ExtractFailure(outcome) : LoadFailure(outcome.load);
    return reason + QStringLiteral("\r\nインストールは完了していません。");
}
