// vn_listen HANDLE STOPFILE: a stand-in launcher window for end-to-end tests.
// Prints every message posted to HANDLE ("message wParam lParam", one per
// line) until STOPFILE exists, then waits half a second more for stragglers.

#include "platform/Messages.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <thread>

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: vn_listen HANDLE STOPFILE\n");
        return 2;
    }
    const auto handle = WindowHandleFromText(argv[1]);
    MessageWindow window(handle ? *handle : 0);
    if (!handle || !window.IsOpen()) {
        std::fprintf(stderr, "vn_listen: cannot listen as window %s\n", argv[1]);
        return 1;
    }
    std::printf("ready\n");
    std::fflush(stdout);
    using namespace std::chrono;
    auto deadline = steady_clock::time_point::max();
    const auto giveUp = steady_clock::now() + minutes(5);
    while (steady_clock::now() < deadline && steady_clock::now() < giveUp) {
        while (auto m = window.Receive()) {
            std::printf("%u %llu %lld\n", m->message, static_cast<unsigned long long>(m->wParam),
                        static_cast<long long>(m->lParam));
            std::fflush(stdout);
        }
        if (deadline == steady_clock::time_point::max() && std::filesystem::exists(argv[2]))
            deadline = steady_clock::now() + milliseconds(500);
        std::this_thread::sleep_for(milliseconds(20));
    }
    return 0;
}
