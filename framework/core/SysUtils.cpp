#include "framework/core/SysUtils.h"

#include <charconv>

void Abort() { throw EAbort(); }

int StrToInt(const std::string& text)
{
    int value = 0;
    const char* first = text.data();
    const char* last = text.data() + text.size();
    if (first != last && *first == '+')
        ++first;
    auto [end, ec] = std::from_chars(first, last, value);
    if (text.empty() || ec != std::errc() || end != last || first == last)
        throw EConvertError("'" + text + "' is not a valid integer value");
    return value;
}
