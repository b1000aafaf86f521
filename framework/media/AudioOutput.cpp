#include "framework/media/AudioOutput.h"

#include "framework/media/DeviceSink.h"
#include "framework/media/SilentSink.h"

#include <QAudioFormat>
#include <QMediaDevices>

#include <cstdlib>
#include <cstring>

AudioOutputChoice AudioOutputFromEnvironment()
{
    const char* value = std::getenv("VARNOOK_AUDIO");
    if (!value)
        return AudioOutputChoice::Automatic;
    if (std::strcmp(value, "silent") == 0)
        return AudioOutputChoice::Silent;
    if (std::strcmp(value, "device") == 0)
        return AudioOutputChoice::Device;
    return AudioOutputChoice::Automatic;
}

namespace {

// The format to decode to for `device`: the standard one when the device takes
// it; otherwise the device's preferred rate and channels, in 16-bit or float.
bool ChooseFormat(const QAudioDevice& device, PcmFormat* format)
{
    QAudioFormat qt;
    if (DeviceSink::ToQtFormat(kStandardPcmFormat, &qt) && device.isFormatSupported(qt)) {
        *format = kStandardPcmFormat;
        return true;
    }
    const QAudioFormat preferred = device.preferredFormat();
    for (PcmSampleType type : {PcmSampleType::Int16, PcmSampleType::Float32}) {
        PcmFormat candidate{preferred.sampleRate(), preferred.channelCount(), type};
        if (candidate.sampleRate > 0 && candidate.channels > 0 && DeviceSink::ToQtFormat(candidate, &qt) &&
            device.isFormatSupported(qt)) {
            *format = candidate;
            return true;
        }
    }
    return false;
}

}  // namespace

std::unique_ptr<AudioSink> CreateAudioSink(AudioOutputChoice choice)
{
    if (choice != AudioOutputChoice::Silent) {
        const QAudioDevice device = QMediaDevices::defaultAudioOutput();
        PcmFormat format;
        if (!device.isNull() && ChooseFormat(device, &format))
            return std::make_unique<DeviceSink>(device, format);
        if (choice == AudioOutputChoice::Device && !device.isNull())
            return std::make_unique<DeviceSink>(device, kStandardPcmFormat);
    }
    return std::make_unique<SilentSink>();
}
