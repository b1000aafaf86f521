#pragma once
// Which sink the players use.
//
// VARNOOK_AUDIO chooses: "silent" always uses the silent sink (tests and
// machines that must make no sound), "device" insists on the output device
// (it still falls back to silence when the device cannot be opened), anything
// else, or nothing, takes the default output device when one exists and the
// silent sink otherwise.

#include "framework/media/AudioSink.h"

#include <memory>

enum class AudioOutputChoice { Automatic, Device, Silent };

AudioOutputChoice AudioOutputFromEnvironment();

// A new sink as the choice says, in the format it plays (16-bit stereo 44.1 kHz
// when the device takes it, else the device's own preference).
std::unique_ptr<AudioSink> CreateAudioSink(AudioOutputChoice choice = AudioOutputFromEnvironment());
