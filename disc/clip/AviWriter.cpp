#include "disc/clip/AviWriter.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
#include <libavutil/error.h>
}

#include <algorithm>
#include <cstring>
#include <memory>
#include <stdexcept>
#include <string>
#include <system_error>

namespace disc::clip {
namespace {

std::string avError(int code)
{
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(code, text, sizeof text);
    return text;
}

void check(int result, const char* what)
{
    if (result < 0)
        throw std::runtime_error(std::string(what) + ": " + avError(result));
}

struct CodecFree {
    void operator()(AVCodecContext* c) const { avcodec_free_context(&c); }
};
struct FrameFree {
    void operator()(AVFrame* f) const { av_frame_free(&f); }
};
struct PacketFree {
    void operator()(AVPacket* p) const { av_packet_free(&p); }
};
using CodecPtr = std::unique_ptr<AVCodecContext, CodecFree>;

// An output file with its streams; closes and frees whatever was made.
struct Output {
    ~Output()
    {
        if (context) {
            if (context->pb)
                avio_closep(&context->pb);
            avformat_free_context(context);
        }
    }
    AVFormatContext* context = nullptr;
};

CodecPtr openEncoder(AVCodecID id, const std::function<void(AVCodecContext*)>& setUp)
{
    const AVCodec* codec = avcodec_find_encoder(id);
    if (!codec)
        throw std::runtime_error(std::string("no encoder for ") + avcodec_get_name(id));
    CodecPtr context(avcodec_alloc_context3(codec));
    if (!context)
        throw std::runtime_error("out of memory");
    context->flags |= AV_CODEC_FLAG_BITEXACT;
    context->thread_count = 1;
    setUp(context.get());
    check(avcodec_open2(context.get(), codec, nullptr), "opening the encoder");
    return context;
}

AVStream* addStream(AVFormatContext* output, const AVCodecContext* encoder)
{
    AVStream* stream = avformat_new_stream(output, nullptr);
    if (!stream)
        throw std::runtime_error("out of memory");
    check(avcodec_parameters_from_context(stream->codecpar, encoder), "describing a stream");
    stream->time_base = encoder->time_base;
    return stream;
}

// Sends one frame (or null to flush) and writes every packet that comes out.
void encode(AVFormatContext* output, AVCodecContext* encoder, AVStream* stream, const AVFrame* frame)
{
    check(avcodec_send_frame(encoder, frame), "encoding");
    std::unique_ptr<AVPacket, PacketFree> packet(av_packet_alloc());
    while (true) {
        const int received = avcodec_receive_packet(encoder, packet.get());
        if (received == AVERROR(EAGAIN) || received == AVERROR_EOF)
            return;
        check(received, "encoding");
        av_packet_rescale_ts(packet.get(), encoder->time_base, stream->time_base);
        packet->stream_index = stream->index;
        check(av_interleaved_write_frame(output, packet.get()), "writing the clip");
    }
}

} // namespace

void writeAviClip(const std::filesystem::path& path, const AviClip& clip)
{
    std::filesystem::create_directories(path.parent_path());
    const std::filesystem::path part = path.string() + ".part";
    try {
        Output out;
        check(avformat_alloc_output_context2(&out.context, nullptr, "avi", nullptr), "making the AVI container");
        out.context->flags |= AVFMT_FLAG_BITEXACT;

        CodecPtr video = openEncoder(AV_CODEC_ID_CINEPAK, [&](AVCodecContext* c) {
            c->width = clip.width;
            c->height = clip.height;
            c->pix_fmt = AV_PIX_FMT_RGB24;
            c->time_base = AVRational{1, clip.framesPerSecond};
            c->framerate = AVRational{clip.framesPerSecond, 1};
            c->gop_size = clip.framesPerSecond; // a key frame every second
        });
        CodecPtr audio = openEncoder(AV_CODEC_ID_PCM_U8, [&](AVCodecContext* c) {
            c->sample_fmt = AV_SAMPLE_FMT_U8;
            c->sample_rate = clip.sampleRate;
            av_channel_layout_default(&c->ch_layout, 1);
            c->time_base = AVRational{1, clip.sampleRate};
        });
        AVStream* videoStream = addStream(out.context, video.get());
        AVStream* audioStream = addStream(out.context, audio.get());
        videoStream->avg_frame_rate = AVRational{clip.framesPerSecond, 1};

        check(avio_open(&out.context->pb, part.c_str(), AVIO_FLAG_WRITE), "creating the clip file");
        check(avformat_write_header(out.context, nullptr), "writing the clip's header");

        std::unique_ptr<AVFrame, FrameFree> picture(av_frame_alloc());
        std::unique_ptr<AVFrame, FrameFree> sound(av_frame_alloc());
        if (!picture || !sound)
            throw std::runtime_error("out of memory");
        picture->format = AV_PIX_FMT_RGB24;
        picture->width = clip.width;
        picture->height = clip.height;
        check(av_frame_get_buffer(picture.get(), 0), "making a picture");

        const int samplesPerFrame = clip.sampleRate / clip.framesPerSecond;
        std::size_t soundAt = 0;
        for (int n = 0; n < clip.frames; ++n) {
            const QImage image = clip.picture(n).convertToFormat(QImage::Format_RGB888);
            if (image.width() != clip.width || image.height() != clip.height)
                throw std::runtime_error("a picture of the wrong size");
            check(av_frame_make_writable(picture.get()), "making a picture");
            for (int y = 0; y < clip.height; ++y)
                std::memcpy(picture->data[0] + y * picture->linesize[0], image.constScanLine(y),
                            static_cast<std::size_t>(clip.width) * 3);
            picture->pts = n;
            encode(out.context, video.get(), videoStream, picture.get());

            // The sound that goes with this picture (the rest after the last one).
            const std::size_t take = n + 1 == clip.frames
                                         ? clip.sound.size() - std::min(soundAt, clip.sound.size())
                                         : std::min<std::size_t>(samplesPerFrame, clip.sound.size() - std::min(soundAt, clip.sound.size()));
            if (take > 0) {
                av_frame_unref(sound.get());
                sound->format = AV_SAMPLE_FMT_U8;
                sound->sample_rate = clip.sampleRate;
                av_channel_layout_default(&sound->ch_layout, 1);
                sound->nb_samples = static_cast<int>(take);
                check(av_frame_get_buffer(sound.get(), 0), "making a sound frame");
                std::memcpy(sound->data[0], clip.sound.data() + soundAt, take);
                sound->pts = static_cast<std::int64_t>(soundAt);
                encode(out.context, audio.get(), audioStream, sound.get());
                soundAt += take;
            }
        }
        encode(out.context, video.get(), videoStream, nullptr);
        encode(out.context, audio.get(), audioStream, nullptr);
        check(av_write_trailer(out.context), "finishing the clip");
    } catch (...) {
        std::error_code ignored;
        std::filesystem::remove(part, ignored);
        throw;
    }
    std::error_code error;
    std::filesystem::rename(part, path, error);
    if (error) {
        std::filesystem::remove(part, error);
        throw std::runtime_error("cannot write " + path.string());
    }
}

} // namespace disc::clip
