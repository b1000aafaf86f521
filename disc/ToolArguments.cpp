#include "disc/ToolArguments.h"

#include <stdexcept>

namespace disc {

ToolArguments parseToolArguments(const std::vector<std::string>& arguments, std::size_t count,
                                 const std::string& usage)
{
    ToolArguments parsed;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        if (arguments[i] == "--preview") {
            if (i + 1 >= arguments.size())
                throw std::invalid_argument("--preview needs a folder");
            parsed.preview = std::filesystem::path(arguments[++i]);
        } else if (!arguments[i].empty() && arguments[i][0] == '-') {
            throw std::invalid_argument("unknown option " + arguments[i]);
        } else {
            parsed.positional.push_back(arguments[i]);
        }
    }
    bool complete = parsed.positional.size() == count;
    for (const std::string& argument : parsed.positional)
        complete = complete && !argument.empty();
    if (!complete)
        throw std::invalid_argument(usage);
    return parsed;
}

} // namespace disc
