#include "framework/media/ffmpeg/AvVideoDecoder.h"

#include "framework/media/MediaError.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/mathematics.h>
#include <libswscale/swscale.h>
}

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace {
// 64 MiB a frame: far beyond any clip the programs show, small enough that a
// damaged header cannot take the machine's memory.
constexpr std::int64_t kMaxFramePixels = std::int64_t{4096} * 4096;
}

struct AvVideoDecoder::Codec {
    ~Codec()
    {
        sws_freeContext(scaler);
        av_frame_free(&frame);
        av_packet_free(&packet);
        avcodec_free_context(&context);
    }
    AVCodecContext* context = nullptr;
    AVPacket* packet = nullptr;
    AVFrame* frame = nullptr;
    SwsContext* scaler = nullptr;
    AVRational timeBase{0, 1};
    std::int64_t startTime = 0;
};

AvVideoDecoder::AvVideoDecoder(const std::filesystem::path& hostPath)
    : file_(std::make_unique<AvFile>(hostPath)), codec_(std::make_unique<Codec>())
{
    const std::string name = hostPath.string();
    if (!file_->Video())
        throw EMediaError(MediaErrorKind::Unplayable, name + ": no video stream");
    info_ = *file_->Video();
    const AVStream* stream = file_->Context()->streams[info_.index];
    const AVCodec* codec = avcodec_find_decoder(stream->codecpar->codec_id);
    if (!codec)
        throw EMediaError(MediaErrorKind::Unplayable, name + ": no decoder for " + info_.codec);
    codec_->context = avcodec_alloc_context3(codec);
    codec_->packet = av_packet_alloc();
    codec_->frame = av_frame_alloc();
    if (!codec_->context || !codec_->packet || !codec_->frame)
        throw EMediaError(MediaErrorKind::TooLarge, name + ": out of memory");
    if (avcodec_parameters_to_context(codec_->context, stream->codecpar) < 0)
        throw EMediaError(MediaErrorKind::Unplayable, name + ": cannot set up the " + info_.codec + " decoder");
    // One thread: frames come out in the same order, with the same bytes, every time.
    codec_->context->thread_count = 1;
    if (const int opened = avcodec_open2(codec_->context, codec, nullptr); opened < 0)
        throw EMediaError(MediaErrorKind::Unplayable, name + ": " + AvErrorText(opened));
    codec_->timeBase = stream->time_base;
    codec_->startTime = stream->start_time != AV_NOPTS_VALUE ? stream->start_time : 0;
    Rewind();
}

AvVideoDecoder::~AvVideoDecoder() = default;

void AvVideoDecoder::Rewind()
{
    file_->RewindToStart();
    avcodec_flush_buffers(codec_->context);
    inputEnded_ = false;
    nextIndex_ = 0;
    lastIndex_ = -1;
    held_.reset();
    current_.reset();
}

bool AvVideoDecoder::Next(VideoFrame& frame)
{
    if (held_) {
        current_ = std::move(*held_);
        held_.reset();
    } else {
        VideoFrame next;
        if (!Decode(next))
            return false;
        current_ = std::move(next);
    }
    frame = *current_;
    return true;
}

bool AvVideoDecoder::Decode(VideoFrame& frame)
{
    while (true) {
        if (Receive(frame))
            return true;
        if (inputEnded_)
            return false;
        // Feed the decoder until it has a frame to give.
        AVPacket* packet = codec_->packet;
        const int read = av_read_frame(file_->Context(), packet);
        if (read < 0) {
            inputEnded_ = true;
            avcodec_send_packet(codec_->context, nullptr);
            continue;
        }
        if (packet->stream_index == info_.index)
            avcodec_send_packet(codec_->context, packet); // a damaged packet is skipped
        av_packet_unref(packet);
    }
}

bool AvVideoDecoder::Receive(VideoFrame& frame)
{
    AVFrame* decoded = codec_->frame;
    while (avcodec_receive_frame(codec_->context, decoded) >= 0) {
        std::int64_t index = nextIndex_;
        const std::int64_t pts = decoded->best_effort_timestamp;
        // Time stamps far out of range (a damaged stream) count as none.
        constexpr std::int64_t kStampRange = std::int64_t{1} << 60;
        if (pts != AV_NOPTS_VALUE && info_.frameRateNum > 0 && pts > -kStampRange && pts < kStampRange &&
            codec_->startTime > -kStampRange && codec_->startTime < kStampRange) {
            // Time stamp to frame number: (pts - start) * timeBase * frameRate.
            const AVRational frameDuration{info_.frameRateDen, info_.frameRateNum};
            index = av_rescale_q_rnd(pts - codec_->startTime, codec_->timeBase, frameDuration,
                                     static_cast<AVRounding>(AV_ROUND_NEAR_INF | AV_ROUND_PASS_MINMAX));
        }
        // A frame that does not move forward (a repeated or broken time stamp)
        // still counts as the next one.
        index = std::clamp(std::max(index, lastIndex_ + 1), std::int64_t{0}, kMaxFrameIndex);
        lastIndex_ = index;
        nextIndex_ = index + 1;
        frame.index = index;
        frame.timeMs = static_cast<std::int64_t>(std::min(FrameStartMs(index, Rate()), double(kMaxMediaMs)));
        frame.keyFrame = decoded->key_frame != 0;
        Convert(frame);
        av_frame_unref(decoded);
        return true;
    }
    return false;
}

void AvVideoDecoder::Convert(VideoFrame& frame)
{
    const AVFrame* decoded = codec_->frame;
    if (static_cast<std::int64_t>(decoded->width) * decoded->height > kMaxFramePixels)
        throw EMediaError(MediaErrorKind::TooLarge, file_->Path().string() + ": the picture is too large");
    // The scaler follows the frames: a stream may change size or format midway.
    codec_->scaler = sws_getCachedContext(codec_->scaler, decoded->width, decoded->height,
                                          static_cast<AVPixelFormat>(decoded->format), decoded->width,
                                          decoded->height, AV_PIX_FMT_BGRA,
                                          SWS_POINT | SWS_BITEXACT | SWS_ACCURATE_RND, nullptr, nullptr, nullptr);
    frame.width = decoded->width;
    frame.height = decoded->height;
    frame.bgra.assign(static_cast<std::size_t>(decoded->width) * static_cast<std::size_t>(decoded->height) * 4, 0);
    if (!codec_->scaler)
        return; // a format the scaler cannot read: a black frame, not a crash
    std::uint8_t* planes[4] = {frame.bgra.data(), nullptr, nullptr, nullptr};
    int strides[4] = {decoded->width * 4, 0, 0, 0};
    sws_scale(codec_->scaler, decoded->data, decoded->linesize, 0, decoded->height, planes, strides);
    // Formats without alpha leave it as the scaler likes; the framework's pixels are opaque.
    for (std::size_t i = 3; i < frame.bgra.size(); i += 4)
        frame.bgra[i] = 0xFF;
}

bool AvVideoDecoder::FrameAt(std::int64_t index, VideoFrame& frame)
{
    if (current_ && index < current_->index)
        Rewind();
    while (true) {
        VideoFrame next;
        if (held_) {
            next = std::move(*held_);
            held_.reset();
        } else if (!Decode(next)) {
            break;
        }
        if (next.index > index) {
            // Read ahead across a gap: kept for the next call.
            held_ = std::move(next);
            break;
        }
        current_ = std::move(next);
    }
    if (!current_)
        return false;
    frame = *current_;
    return true;
}

std::int64_t AvVideoExtentMs(AvFile& file)
{
    if (!file.Video())
        return 0;
    const int index = file.Video()->index;
    const AVStream* stream = file.Context()->streams[index];
    const std::int64_t start = stream->start_time != AV_NOPTS_VALUE ? stream->start_time : 0;
    AVPacket* packet = av_packet_alloc();
    if (!packet)
        throw EMediaError(MediaErrorKind::TooLarge, file.Path().string() + ": out of memory");
    file.RewindToStart();
    std::int64_t end = 0;       // in the stream's time base, from its start
    std::int64_t packets = 0;   // for streams without time stamps
    while (av_read_frame(file.Context(), packet) >= 0) {
        if (packet->stream_index == index) {
            ++packets;
            const std::int64_t stamp = packet->pts != AV_NOPTS_VALUE ? packet->pts : packet->dts;
            if (stamp != AV_NOPTS_VALUE && stamp >= start && stamp < INT64_MAX / 2) {
                const std::int64_t duration = packet->duration > 0 ? packet->duration : 1;
                end = std::max(end, stamp - start + std::min(duration, INT64_MAX / 4));
            }
        }
        av_packet_unref(packet);
    }
    av_packet_free(&packet);
    file.RewindToStart();
    std::int64_t ms = av_rescale_q_rnd(end, stream->time_base, AVRational{1, 1000},
                                       static_cast<AVRounding>(AV_ROUND_UP | AV_ROUND_PASS_MINMAX));
    const FrameRate rate{file.Video()->frameRateNum, file.Video()->frameRateDen};
    if (ms <= 0 && packets > 0 && rate.Known())
        ms = static_cast<std::int64_t>(std::ceil(FrameStartMs(packets, rate)));
    return std::max<std::int64_t>(ms, 0);
}
