#include "framework/media/ffmpeg/AvAudioDecoder.h"

#include "framework/media/MediaError.h"
#include "framework/media/ffmpeg/AvFile.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
#include <libavutil/mathematics.h>
#include <libswresample/swresample.h>
}

#include <memory>

namespace {

struct CodecContextFree {
    void operator()(AVCodecContext* c) const { avcodec_free_context(&c); }
};
struct FrameFree {
    void operator()(AVFrame* f) const { av_frame_free(&f); }
};
struct PacketFree {
    void operator()(AVPacket* p) const { av_packet_free(&p); }
};
struct SwrFree {
    void operator()(SwrContext* s) const { swr_free(&s); }
};

// Converts decoded frames to the target format; re-made when the input changes
// format mid-stream (a decoder may do that).
class Converter {
public:
    Converter(const PcmFormat& out, PcmBuffer& sink, std::int64_t maxBytes, const std::string& name)
        : out_(out), sink_(sink), maxBytes_(maxBytes), name_(name)
    {
        av_channel_layout_default(&outLayout_, out.channels);
    }
    ~Converter()
    {
        av_channel_layout_uninit(&outLayout_);
        av_channel_layout_uninit(&inLayout_);
        av_channel_layout_uninit(&frameLayout_);
    }

    void Add(const AVFrame& frame)
    {
        if (!swr_ || frame.format != inFormat_ || frame.sample_rate != inRate_ ||
            av_channel_layout_compare(&frame.ch_layout, &frameLayout_) != 0) {
            Flush();
            Configure(frame);
        }
        segmentInSamples_ += frame.nb_samples;
        Convert(const_cast<const std::uint8_t**>(frame.extended_data), frame.nb_samples);
    }

    // Ends the current stretch of input: drains the resampler and cuts its
    // filter's tail, so that the output lasts exactly as long as the input.
    void Flush()
    {
        if (!swr_)
            return;
        Convert(nullptr, 0);
        const std::int64_t frames = av_rescale_rnd(segmentInSamples_, out_.sampleRate, inRate_, AV_ROUND_NEAR_INF);
        const std::size_t wanted = segmentStart_ + static_cast<std::size_t>(frames) * static_cast<std::size_t>(out_.BytesPerFrame());
        if (sink_.bytes.size() > wanted)
            sink_.bytes.resize(wanted);
        swr_.reset();
    }

private:
    void Configure(const AVFrame& frame)
    {
        av_channel_layout_uninit(&inLayout_);
        av_channel_layout_uninit(&frameLayout_);
        av_channel_layout_copy(&frameLayout_, &frame.ch_layout);
        // Plain wave files leave the speaker positions unsaid: take the usual
        // ones for the channel count.
        if (frame.ch_layout.order == AV_CHANNEL_ORDER_UNSPEC || frame.ch_layout.nb_channels <= 0)
            av_channel_layout_default(&inLayout_, frame.ch_layout.nb_channels > 0 ? frame.ch_layout.nb_channels : 1);
        else
            av_channel_layout_copy(&inLayout_, &frame.ch_layout);
        inFormat_ = frame.format;
        inRate_ = frame.sample_rate;
        segmentStart_ = sink_.bytes.size();
        segmentInSamples_ = 0;
        // A resampler for an absurd rate (a damaged or hostile header) would take
        // minutes to build its filter; no real sound lies outside this range.
        if (inRate_ < kMinSampleRate || inRate_ > kMaxSampleRate)
            throw EMediaError(MediaErrorKind::Unplayable,
                              name_ + ": unusable sample rate " + std::to_string(inRate_) + " Hz");

        SwrContext* raw = nullptr;
        const AVSampleFormat outFormat =
            out_.sampleType == PcmSampleType::Int16 ? AV_SAMPLE_FMT_S16 : AV_SAMPLE_FMT_FLT;
        int result = swr_alloc_set_opts2(&raw, &outLayout_, outFormat, out_.sampleRate, &inLayout_,
                                         static_cast<AVSampleFormat>(inFormat_), inRate_, 0, nullptr);
        swr_.reset(raw);
        if (result >= 0 && inLayout_.nb_channels == 1 && out_.channels == 2) {
            // libswresample lowers a centre channel by 3 dB on its way to two
            // speakers; a mono sound card signal went to both at full level.
            const double matrix[2] = {1.0, 1.0};
            result = swr_set_matrix(swr_.get(), matrix, 1);
        }
        if (result >= 0)
            result = swr_init(swr_.get());
        if (result < 0)
            throw EMediaError(MediaErrorKind::Unplayable, name_ + ": cannot convert the audio: " + AvErrorText(result));
    }

    void Convert(const std::uint8_t** input, int samples)
    {
        const int room = swr_get_out_samples(swr_.get(), samples);
        if (room < 0)
            throw EMediaError(MediaErrorKind::Unplayable, name_ + ": cannot convert the audio");
        if (room == 0)
            return;
        const std::size_t frameBytes = static_cast<std::size_t>(out_.BytesPerFrame());
        const std::size_t before = sink_.bytes.size();
        if (static_cast<std::int64_t>(before + frameBytes * static_cast<std::size_t>(room)) > maxBytes_)
            throw EMediaError(MediaErrorKind::TooLarge, name_ + ": the sound is too long to play");
        sink_.bytes.resize(before + frameBytes * static_cast<std::size_t>(room));
        std::uint8_t* out = sink_.bytes.data() + before;
        const int converted = swr_convert(swr_.get(), &out, room, input, samples);
        if (converted < 0) {
            sink_.bytes.resize(before);
            throw EMediaError(MediaErrorKind::Unplayable, name_ + ": cannot convert the audio: " + AvErrorText(converted));
        }
        sink_.bytes.resize(before + frameBytes * static_cast<std::size_t>(converted));
    }

    PcmFormat out_;
    PcmBuffer& sink_;
    std::int64_t maxBytes_;
    const std::string& name_;
    std::unique_ptr<SwrContext, SwrFree> swr_;
    AVChannelLayout outLayout_{};
    AVChannelLayout inLayout_{};    // as the resampler takes it
    AVChannelLayout frameLayout_{}; // as the decoder gave it
    int inFormat_ = -1;
    int inRate_ = 0;
    // Where the output of the current input format began, and how much input it took.
    std::size_t segmentStart_ = 0;
    std::int64_t segmentInSamples_ = 0;
};

}  // namespace

PcmBuffer DecodeAvAudio(AvFile& file, const AudioTarget& target, std::int64_t maxBytes)
{
    const std::string name = file.Path().string();
    if (!file.Audio())
        throw EMediaError(MediaErrorKind::NoAudio, name + ": no audio stream");
    const AudioStreamInfo& info = *file.Audio();
    AVFormatContext* format = file.Context();
    const AVStream* stream = format->streams[info.index];

    const AVCodec* codec = avcodec_find_decoder(stream->codecpar->codec_id);
    if (!codec)
        throw EMediaError(MediaErrorKind::Unplayable, name + ": no decoder for " + info.codec);
    std::unique_ptr<AVCodecContext, CodecContextFree> decoder(avcodec_alloc_context3(codec));
    if (!decoder || avcodec_parameters_to_context(decoder.get(), stream->codecpar) < 0)
        throw EMediaError(MediaErrorKind::Unplayable, name + ": cannot set up the " + info.codec + " decoder");
    if (const int opened = avcodec_open2(decoder.get(), codec, nullptr); opened < 0)
        throw EMediaError(MediaErrorKind::Unplayable, name + ": " + AvErrorText(opened));

    PcmBuffer pcm;
    pcm.format.sampleRate = target.sampleRate > 0 ? target.sampleRate : info.sampleRate;
    pcm.format.channels = target.channels > 0 ? target.channels : info.channels;
    pcm.format.sampleType = target.sampleType;
    Converter converter(pcm.format, pcm, maxBytes, name);

    std::unique_ptr<AVPacket, PacketFree> packet(av_packet_alloc());
    std::unique_ptr<AVFrame, FrameFree> frame(av_frame_alloc());
    if (!packet || !frame)
        throw EMediaError(MediaErrorKind::TooLarge, name + ": out of memory");

    bool decodedAny = false;
    bool sawPackets = false;
    auto drain = [&] {
        while (true) {
            const int received = avcodec_receive_frame(decoder.get(), frame.get());
            if (received < 0)
                return; // needs more input, the end, or a damaged frame (skipped)
            decodedAny = true;
            converter.Add(*frame);
            av_frame_unref(frame.get());
        }
    };

    file.RewindToStart();
    while (av_read_frame(format, packet.get()) >= 0) {
        // The loop also ends early on a truncated file: what there is plays.
        if (packet->stream_index == info.index) {
            sawPackets = true;
            // A packet the decoder rejects (damaged data) is skipped.
            avcodec_send_packet(decoder.get(), packet.get());
            drain();
        }
        av_packet_unref(packet.get());
    }
    avcodec_send_packet(decoder.get(), nullptr);
    drain();
    converter.Flush();

    // A well-formed sound of no samples is still a sound; a stream of packets none
    // of which decoded is not.
    if (sawPackets && !decodedAny)
        throw EMediaError(MediaErrorKind::Unplayable, name + ": the " + info.codec + " data does not decode");
    return pcm;
}
