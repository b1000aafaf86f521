#pragma once
// Writes a binary form stream by hand, component by component, the way the
// programs' form designer would have saved it: class and name, properties,
// children. The programs read these streams back into their real classes.

#include "framework/core/FormValues.h"

#include <cstdint>
#include <string>
#include <vector>

namespace disc {

class FormWriter {
public:
    FormWriter();

    // Opens a component; its properties follow, then Children(), then End().
    void Begin(const std::string& className, const std::string& name);
    void Integer(const std::string& property, std::int64_t value);
    void Boolean(const std::string& property, bool value);
    void String(const std::string& property, const std::string& cp932);
    void Ident(const std::string& property, const std::string& ident);
    void Set(const std::string& property, const std::vector<std::string>& members);
    void Binary(const std::string& property, const std::vector<std::uint8_t>& bytes);
    // Ends the property list; the component's children come next.
    void Children();
    void End();

    // A picture property's ordinary data: the graphic's class name, then a
    // 32-bit count and the graphic's saved bytes.
    static std::vector<std::uint8_t> PictureData(const std::string& graphicClass,
                                                 const std::vector<std::uint8_t>& saved);

    std::vector<std::uint8_t> Finish();

private:
    TMemoryStream stream_;
    TValueWriter out_;
};

std::vector<std::uint8_t> readWholeFile(const std::string& path);

} // namespace disc
