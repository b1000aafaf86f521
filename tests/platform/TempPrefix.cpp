#include "tests/platform/TempPrefix.h"

#include "platform/Prefix.h"

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

std::optional<std::string> Saved(const char* variable)
{
    const char* value = std::getenv(variable);
    return value ? std::optional<std::string>(value) : std::nullopt;
}

void Restore(const char* variable, const std::optional<std::string>& value)
{
    if (value)
        setenv(variable, value->c_str(), 1);
    else
        unsetenv(variable);
}

class ThrowAwayPrefix : public ::testing::Environment {
public:
    void SetUp() override
    {
        std::string pattern = (fs::temp_directory_path() / "vn-platform-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        folder_ = pattern;
        setenv("VARNOOK_PREFIX", (folder_ / "prefix").c_str(), 1);
        setenv("XDG_DATA_HOME", (folder_ / "xdg-data").c_str(), 1);
        setenv("XDG_CONFIG_HOME", (folder_ / "xdg-config").c_str(), 1);
        ResetPrefixCache();
    }
    void TearDown() override
    {
        std::error_code error;
        fs::remove_all(folder_, error);
    }

private:
    fs::path folder_;
};

[[maybe_unused]] ::testing::Environment* const throwAwayPrefix =
    ::testing::AddGlobalTestEnvironment(new ThrowAwayPrefix);

}  // namespace

void TempPrefix::SetUp()
{
    std::string pattern = (fs::temp_directory_path() / "vn-platform-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    scratch_ = fs::canonical(pattern);
    savedCurrent_ = fs::current_path();
    const char* prefix = std::getenv("VARNOOK_PREFIX");
    savedPrefix_ = prefix ? prefix : "";
    setenv("VARNOOK_PREFIX", Prefix().c_str(), 1);
    savedDataHome_ = Saved("XDG_DATA_HOME");
    savedConfigHome_ = Saved("XDG_CONFIG_HOME");
    setenv("XDG_DATA_HOME", DataHome().c_str(), 1);
    setenv("XDG_CONFIG_HOME", ConfigHome().c_str(), 1);
    ResetPrefixCache();
}

void TempPrefix::TearDown()
{
    fs::current_path(savedCurrent_);
    if (savedPrefix_.empty())
        unsetenv("VARNOOK_PREFIX");
    else
        setenv("VARNOOK_PREFIX", savedPrefix_.c_str(), 1);
    Restore("XDG_DATA_HOME", savedDataHome_);
    Restore("XDG_CONFIG_HOME", savedConfigHome_);
    ResetPrefixCache();
    std::error_code error;
    // Read-only folders made by a test must not stop the clean-up.
    for (auto it = fs::recursive_directory_iterator(scratch_, error); it != fs::recursive_directory_iterator(); it.increment(error)) {
        if (it->is_directory(error) && !it->is_symlink(error))
            fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, error);
    }
    fs::remove_all(scratch_, error);
}

fs::path TempPrefix::DriveC() const
{
    EnsurePrefix();
    return fs::canonical(Prefix() / "drive_c");
}

void TempPrefix::WriteFile(const fs::path& path, const std::string& bytes)
{
    fs::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
    ASSERT_TRUE(out.good()) << path;
}

std::string TempPrefix::ReadFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}
