#include "platform/DesktopEntry.h"

#include "platform/Codepage.h"
#include "platform/Prefix.h"
#include "platform/ReplaceFile.h"
#include "platform/WinPath.h"

#include <QMimeDatabase>
#include <QString>

#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

constexpr const char* kIdPrefix = "varnook";

fs::path XdgFolder(const char* variable, const char* fallbackBelowHome)
{
    // XDG: a relative value is invalid and must be ignored.
    const char* value = std::getenv(variable);
    if (value && *value == '/')
        return value;
    const char* home = std::getenv("HOME");
    if (home && *home == '/')
        return fs::path(home) / fallbackBelowHome;
    return {};
}

fs::path DataHome() { return XdgFolder("XDG_DATA_HOME", ".local/share"); }
fs::path ConfigHome() { return XdgFolder("XDG_CONFIG_HOME", ".config"); }

// The escapes of a desktop entry's string values.
std::string EscapeString(const std::string& text)
{
    std::string out;
    for (char c : text) {
        switch (c) {
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\t': out += "\\t"; break;
        case '\r': out += "\\r"; break;
        default: out += c;
        }
    }
    if (!out.empty() && out[0] == ' ')
        out.replace(0, 1, "\\s");
    return out;
}

// One argument of an Exec value: always quoted; a literal '%' is doubled.
std::string QuoteExecArgument(const std::string& argument)
{
    std::string out = "\"";
    for (char c : argument) {
        if (c == '"' || c == '`' || c == '$' || c == '\\')
            out += '\\';
        out += c;
        if (c == '%')
            out += '%';
    }
    return out + "\"";
}

std::string XmlEscape(const std::string& text)
{
    std::string out;
    for (char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        default: out += c;
        }
    }
    return out;
}

bool IsProgram(const fs::path& target)
{
    struct stat info;
    return stat(target.c_str(), &info) == 0 && S_ISREG(info.st_mode) && access(target.c_str(), X_OK) == 0;
}

std::string IconName(const fs::path& target)
{
    QMimeDatabase mimes;
    QMimeType type = mimes.mimeTypeForFile(QString::fromStdString(target.string()));
    QString icon = type.isValid() ? type.iconName() : QString();
    return icon.isEmpty() ? std::string("text-x-generic") : icon.toStdString();
}

// "varnook-A-B": the id of group path A\B (the first `depth` groups).
std::string GroupId(const MenuEntry& entry, std::size_t depth)
{
    std::string id = kIdPrefix;
    for (std::size_t i = 0; i < depth; ++i)
        id += "-" + entry.groups[i];
    return id;
}

// Splits a code page 932 path at its separators, character by character.
std::vector<std::string> Components(std::string_view path)
{
    std::vector<std::string> parts;
    while (true) {
        std::size_t separator = Cp932FindFirstSeparator(path);
        if (separator != 0)
            parts.emplace_back(path.substr(0, separator));
        if (separator == std::string_view::npos)
            return parts;
        path.remove_prefix(separator + 1);
    }
}

bool WriteText(const fs::path& path, const std::string& text)
{
    std::error_code error;
    fs::create_directories(path.parent_path(), error);
    return !error && ReplaceFileContents(path, text.data(), text.size()) == 0;
}

}  // namespace

std::optional<MenuEntry> MenuEntryForLink(const std::string& linkPath, const std::string& targetPath,
                                          const std::string& workingDirectory, const std::string& arguments)
{
    std::string link = FullWindowsPath(linkPath);
    std::vector<std::string> programs = Components(ProgramsFolderPath());
    std::vector<std::string> parts = Components(link);
    if (link.empty() || parts.size() <= programs.size())
        return std::nullopt;
    for (std::size_t i = 0; i < programs.size(); ++i)
        if (Cp932ToUnicode(parts[i]).compare(Cp932ToUnicode(programs[i]), Qt::CaseInsensitive) != 0)
            return std::nullopt;

    MenuEntry entry;
    for (std::size_t i = programs.size(); i + 1 < parts.size(); ++i)
        entry.groups.push_back(Cp932ToUtf8(parts[i]));
    QString name = Cp932ToUnicode(parts.back());
    if (name.endsWith(QStringLiteral(".lnk"), Qt::CaseInsensitive))
        name.chop(4);
    if (name.isEmpty())
        return std::nullopt;
    entry.name = name.toStdString();
    entry.target = HostPathFromWindows(targetPath);
    if (entry.target.empty())
        return std::nullopt;
    if (!workingDirectory.empty())
        entry.workingDirectory = HostPathFromWindows(workingDirectory);
    entry.arguments = Cp932ToUtf8(arguments);
    return entry;
}

std::string MenuEntryId(const MenuEntry& entry)
{
    return GroupId(entry, entry.groups.size()) + "-" + entry.name + ".desktop";
}

std::vector<std::string> SplitWindowsCommandLine(const std::string& commandLine)
{
    std::vector<std::string> arguments;
    std::string current;
    bool inArgument = false;
    bool quoted = false;
    for (std::size_t i = 0; i < commandLine.size(); ++i) {
        char c = commandLine[i];
        if (c == '\\' && i + 1 < commandLine.size() && commandLine[i + 1] == '"') {
            current += '"';
            inArgument = true;
            ++i;
        } else if (c == '"') {
            quoted = !quoted;
            inArgument = true;
        } else if ((c == ' ' || c == '\t') && !quoted) {
            if (inArgument)
                arguments.push_back(current);
            current.clear();
            inArgument = false;
        } else {
            current += c;
            inArgument = true;
        }
    }
    if (inArgument)
        arguments.push_back(current);
    return arguments;
}

std::string DesktopExecLine(const fs::path& target, const std::string& arguments)
{
    if (!IsProgram(target))
        return "xdg-open " + QuoteExecArgument(target.string());
    std::string line = QuoteExecArgument(target.string());
    for (const std::string& argument : SplitWindowsCommandLine(arguments))
        line += " " + QuoteExecArgument(argument);
    return line;
}

std::string DesktopEntryText(const MenuEntry& entry)
{
    std::string text = "[Desktop Entry]\n"
                       "Type=Application\n";
    text += "Name=" + EscapeString(entry.name) + "\n";
    text += "Exec=" + EscapeString(DesktopExecLine(entry.target, entry.arguments)) + "\n";
    if (!entry.workingDirectory.empty())
        text += "Path=" + EscapeString(entry.workingDirectory.string()) + "\n";
    text += "Icon=" + EscapeString(IconName(entry.target)) + "\n";
    text += "Terminal=false\n";
    return text;
}

std::string MenuFileText(const MenuEntry& entry)
{
    std::string text = "<!DOCTYPE Menu PUBLIC \"-//freedesktop//DTD Menu 1.0//EN\"\n"
                       " \"http://www.freedesktop.org/standards/menu-spec/menu-1.0.dtd\">\n"
                       "<Menu>\n"
                       "  <Name>Applications</Name>\n";
    std::string indent = "  ";
    for (std::size_t depth = 1; depth <= entry.groups.size(); ++depth) {
        std::string id = XmlEscape(GroupId(entry, depth));
        text += indent + "<Menu>\n";
        indent += "  ";
        text += indent + "<Name>" + id + "</Name>\n";
        text += indent + "<Directory>" + id + ".directory</Directory>\n";
    }
    text += indent + "<Include>\n";
    text += indent + "  <Filename>" + XmlEscape(MenuEntryId(entry)) + "</Filename>\n";
    text += indent + "</Include>\n";
    for (std::size_t depth = entry.groups.size(); depth > 0; --depth) {
        indent.resize(indent.size() - 2);
        text += indent + "</Menu>\n";
    }
    text += "</Menu>\n";
    return text;
}

std::string DirectoryEntryText(const std::string& groupName)
{
    return "[Desktop Entry]\n"
           "Type=Directory\n"
           "Name=" + EscapeString(groupName) + "\n"
           "Icon=folder\n";
}

fs::path MenuEntryPath(const MenuEntry& entry)
{
    fs::path data = DataHome();
    if (data.empty())
        return {};
    fs::path path = data / "applications" / kIdPrefix;
    for (const std::string& group : entry.groups)
        path /= group;
    return path / (entry.name + ".desktop");
}

bool WriteMenuEntry(const MenuEntry& entry)
{
    fs::path entryPath = MenuEntryPath(entry);
    fs::path config = ConfigHome();
    if (entryPath.empty() || config.empty())
        return false;
    bool ok = WriteText(entryPath, DesktopEntryText(entry));
    fs::path directories = DataHome() / "desktop-directories";
    for (std::size_t depth = 1; depth <= entry.groups.size(); ++depth)
        ok = WriteText(directories / (GroupId(entry, depth) + ".directory"), DirectoryEntryText(entry.groups[depth - 1])) && ok;
    std::string menuName = MenuEntryId(entry);
    menuName.replace(menuName.size() - 8, 8, ".menu");
    ok = WriteText(config / "menus" / "applications-merged" / menuName, MenuFileText(entry)) && ok;
    return ok;
}
