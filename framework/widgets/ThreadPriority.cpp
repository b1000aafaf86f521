#include "framework/widgets/ThreadPriority.h"

#include "framework/core/TypeInfo.h"

#include <algorithm>
#include <array>

namespace {
constexpr std::array<int, 7> kValues = {-15, -2, -1, 0, 1, 2, 15};
// Steps of five keep the levels apart under the scheduler's weights (each
// nice step is about 10% of CPU share).
constexpr std::array<int, 7> kNiceOffsets = {19, 10, 5, 0, -5, -10, -20};

std::size_t Index(TThreadPriority priority)
{
    return std::min<std::size_t>(static_cast<std::size_t>(priority), kValues.size() - 1);
}
} // namespace

int ThreadPriorityValue(TThreadPriority priority) { return kValues[Index(priority)]; }

int ThreadPriorityNice(TThreadPriority priority, int baseNice)
{
    if (priority == tpIdle)
        return 19;
    return std::clamp(baseNice + kNiceOffsets[Index(priority)], -20, 19);
}

const std::vector<std::string>& ThreadPriorityIdents()
{
    static const std::vector<std::string> idents = {"tpIdle",    "tpLowest",  "tpLower",       "tpNormal",
                                                    "tpHigher",  "tpHighest", "tpTimeCritical"};
    return idents;
}

const char* ThreadPriorityToIdent(TThreadPriority priority) { return ThreadPriorityIdents()[Index(priority)].c_str(); }

bool IdentToThreadPriority(const std::string& ident, TThreadPriority* priority)
{
    const auto& idents = ThreadPriorityIdents();
    for (std::size_t i = 0; i < idents.size(); ++i)
        if (SameText(idents[i], ident)) {
            if (priority)
                *priority = static_cast<TThreadPriority>(i);
            return true;
        }
    return false;
}
