#include "framework/media/ffmpeg/AvFile.h"

#include "framework/media/ffmpeg/AvLog.h"
#include "framework/media/MediaError.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/dict.h>
#include <libavutil/error.h>
}

#include <cerrno>
#include <system_error>

namespace fs = std::filesystem;

std::string AvErrorText(int code)
{
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(code, text, sizeof text);
    return text;
}

namespace {

std::string CodecName(AVCodecID id)
{
    const char* name = avcodec_get_name(id);
    return name ? name : "";
}

}  // namespace

AvFile::AvFile(const fs::path& hostPath) : path_(hostPath)
{
    QuietAvLog();
    std::error_code error;
    const fs::path absolute = fs::absolute(hostPath, error);
    const fs::file_status status = fs::status(absolute, error);
    if (!fs::exists(status) || fs::is_directory(status))
        throw EMediaError(MediaErrorKind::FileNotFound, hostPath.string() + ": no such file");

    // Only the file protocol, so that a crafted file (a playlist, a concatenation
    // list) cannot make the demuxer reach out to the network or run a subprocess.
    AVDictionary* options = nullptr;
    av_dict_set(&options, "protocol_whitelist", "file", 0);
    const std::string url = "file:" + absolute.string();
    const int opened = avformat_open_input(&context_, url.c_str(), nullptr, &options);
    av_dict_free(&options);
    if (opened < 0) {
        context_ = nullptr;
        if (opened == AVERROR(ENOENT) || opened == AVERROR(ENOTDIR) || opened == AVERROR(EISDIR))
            throw EMediaError(MediaErrorKind::FileNotFound, hostPath.string() + ": no such file");
        throw EMediaError(MediaErrorKind::Unplayable, hostPath.string() + ": " + AvErrorText(opened));
    }
    const int probed = avformat_find_stream_info(context_, nullptr);
    if (probed < 0) {
        avformat_close_input(&context_);
        throw EMediaError(MediaErrorKind::Unplayable, hostPath.string() + ": " + AvErrorText(probed));
    }
    info_.formatName = context_->iformat && context_->iformat->name ? context_->iformat->name : "";
    if (context_->duration > 0)
        info_.durationMs = context_->duration / (AV_TIME_BASE / 1000);

    const int audioIndex = av_find_best_stream(context_, AVMEDIA_TYPE_AUDIO, -1, -1, nullptr, 0);
    if (audioIndex >= 0) {
        const AVCodecParameters* par = context_->streams[audioIndex]->codecpar;
        if (par->sample_rate > 0 && par->ch_layout.nb_channels > 0)
            info_.audio = AudioStreamInfo{audioIndex, CodecName(par->codec_id), par->sample_rate,
                                     par->ch_layout.nb_channels};
    }
    const int videoIndex = av_find_best_stream(context_, AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
    if (videoIndex >= 0) {
        const AVStream* stream = context_->streams[videoIndex];
        const AVCodecParameters* par = stream->codecpar;
        // A picture attached as cover art is no video.
        if (par->width > 0 && par->height > 0 && !(stream->disposition & AV_DISPOSITION_ATTACHED_PIC)) {
            VideoStreamInfo info;
            info.index = videoIndex;
            info.codec = CodecName(par->codec_id);
            info.width = par->width;
            info.height = par->height;
            AVRational rate = stream->avg_frame_rate.num > 0 ? stream->avg_frame_rate : stream->r_frame_rate;
            if (rate.num > 0 && rate.den > 0) {
                info.frameRateNum = rate.num;
                info.frameRateDen = rate.den;
            }
            info.frameCount = stream->nb_frames > 0 ? stream->nb_frames : 0;
            info_.video = info;
        }
    }
}

AvFile::~AvFile()
{
    if (context_)
        avformat_close_input(&context_);
}

void AvFile::RewindToStart()
{
    // Some demuxers cannot seek by time; the byte position of the start always works
    // for the formats read from local files.
    if (av_seek_frame(context_, -1, 0, AVSEEK_FLAG_BACKWARD) < 0)
        av_seek_frame(context_, -1, 0, AVSEEK_FLAG_BYTE | AVSEEK_FLAG_BACKWARD);
}
