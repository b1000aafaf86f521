#include "tests/media/TestClips.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>

bool HaveFfmpegTool()
{
    return std::system("ffmpeg -version > /dev/null 2>&1") == 0;
}

bool MakeClip(const std::filesystem::path& clip, const std::string& arguments)
{
    const std::string command = "ffmpeg -loglevel error -nostdin -y " + arguments + " -f avi '" + clip.string() + "'";
    return std::system(command.c_str()) == 0;
}

std::string MovingPictureArguments(int width, int height, int rate, double seconds, bool sound)
{
    std::ostringstream out;
    out << "-f lavfi -i testsrc2=size=" << width << "x" << height << ":rate=" << rate;
    if (sound)
        out << " -f lavfi -i sine=frequency=440:sample_rate=22050";
    // Scrolled and hue-turned, so that no two frames look alike even after the
    // codec (which skips what barely changes).
    out << " -t " << seconds << " -vf scroll=h=0.05,hue=h=t*100 -c:v cinepak";
    if (sound)
        out << " -c:a pcm_s16le -ac 1";
    return out.str();
}

std::vector<std::vector<std::uint8_t>> FramesByFfmpeg(const std::filesystem::path& clip)
{
    const std::string probe = "ffprobe -v error -select_streams v:0 -show_entries stream=width,height -of csv=p=0 '" +
                              clip.string() + "'";
    int width = 0;
    int height = 0;
    if (FILE* pipe = popen(probe.c_str(), "r")) {
        if (std::fscanf(pipe, "%d,%d", &width, &height) != 2)
            width = height = 0;
        pclose(pipe);
    }
    std::vector<std::vector<std::uint8_t>> frames;
    if (width <= 0 || height <= 0)
        return frames;
    // Every frame the stream holds, none repeated or left out; converted exactly.
    const std::string decode = "ffmpeg -loglevel error -nostdin -i '" + clip.string() +
                               "' -map 0:v:0 -fps_mode passthrough -sws_flags neighbor+bitexact+accurate_rnd "
                               "-pix_fmt bgra -f rawvideo -";
    FILE* pipe = popen(decode.c_str(), "r");
    if (!pipe)
        return frames;
    const std::size_t size = static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4;
    std::vector<std::uint8_t> frame(size);
    while (std::fread(frame.data(), 1, size, pipe) == size)
        frames.push_back(frame);
    pclose(pipe);
    return frames;
}

std::string ReadBytes(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::size_t FindTag(const std::string& bytes, const std::string& tag, std::size_t from)
{
    return bytes.find(tag, from);
}

void Put32(std::string& bytes, std::size_t offset, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        bytes[offset + static_cast<std::size_t>(i)] = static_cast<char>((value >> (8 * i)) & 0xFF);
}
