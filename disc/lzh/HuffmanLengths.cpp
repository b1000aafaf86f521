#include "disc/lzh/HuffmanLengths.h"

#include <algorithm>
#include <functional>
#include <queue>
#include <stdexcept>

namespace disc::lzh {

namespace {

// Plain Huffman lengths from a tree built with a priority queue; ties broken by node
// number so the result never depends on the queue's order.
std::vector<std::uint8_t> unlimitedLengths(const std::vector<std::uint64_t>& frequencies)
{
    const std::size_t n = frequencies.size();
    std::vector<std::size_t> parent(2 * n, 0);
    using Node = std::pair<std::uint64_t, std::size_t>;
    std::priority_queue<Node, std::vector<Node>, std::greater<>> queue;
    for (std::size_t i = 0; i < n; ++i)
        if (frequencies[i] > 0)
            queue.push({frequencies[i], i});
    std::size_t next = n;
    while (queue.size() > 1) {
        Node a = queue.top();
        queue.pop();
        Node b = queue.top();
        queue.pop();
        parent[a.second] = next;
        parent[b.second] = next;
        queue.push({a.first + b.first, next});
        ++next;
    }
    const std::size_t root = next - 1;
    std::vector<std::uint8_t> lengths(n, 0);
    for (std::size_t i = 0; i < n; ++i) {
        if (frequencies[i] == 0)
            continue;
        int depth = 0;
        for (std::size_t node = i; node != root; node = parent[node])
            ++depth;
        lengths[i] = static_cast<std::uint8_t>(std::min(depth, 255));
    }
    return lengths;
}

} // namespace

std::vector<std::uint8_t> huffmanLengths(const std::vector<std::uint32_t>& frequencies, int maxLength)
{
    std::size_t used = std::count_if(frequencies.begin(), frequencies.end(), [](std::uint32_t f) { return f > 0; });
    if (used < 2)
        return std::vector<std::uint8_t>(frequencies.size(), 0);
    std::vector<std::uint64_t> scaled(frequencies.begin(), frequencies.end());
    // Flatten the frequencies until the deepest code fits; a used symbol keeps weight 1.
    while (true) {
        std::vector<std::uint8_t> lengths = unlimitedLengths(scaled);
        if (*std::max_element(lengths.begin(), lengths.end()) <= maxLength)
            return lengths;
        for (std::uint64_t& f : scaled)
            if (f > 0)
                f = (f + 1) / 2;
    }
}

std::vector<std::uint16_t> canonicalCodes(const std::vector<std::uint8_t>& lengths)
{
    unsigned count[18] = {};
    for (std::uint8_t length : lengths) {
        if (length > 16)
            throw std::logic_error("LZH code longer than 16 bits");
        ++count[length];
    }
    unsigned start[18] = {};
    for (int length = 1; length <= 16; ++length)
        start[length + 1] = (start[length] + count[length]) << 1;
    std::vector<std::uint16_t> codes(lengths.size(), 0);
    for (std::size_t i = 0; i < lengths.size(); ++i)
        if (lengths[i] > 0)
            codes[i] = static_cast<std::uint16_t>(start[lengths[i]]++);
    return codes;
}

} // namespace disc::lzh
