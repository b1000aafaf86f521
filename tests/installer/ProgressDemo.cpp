// The progress window unpacking a large archive, for the end-to-end check under an X
// server, in two steps: `make` writes an archive of `megabytes` MB (lh5) into the prefix
// and installs the library of the disc; `show` shows the window as the install dialog
// does, which unpacks the archive.
//
//   jinstbar_demo make <megabytes>   (VARNOOK_PREFIX names a throw-away prefix)
//   jinstbar_demo show <megabytes>
//
// Exit status 0 when the step succeeded.

#include "installer/JInstBar.h"

#include "disc/lzh/LzhArchive.h"
#include "framework/widgets/Application.h"
#include "platform/Files.h"
#include "platform/Prefix.h"
#include "platform/WinPath.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace fs = std::filesystem;

namespace {

int Make(int megabytes)
{
    fs::copy_file(VN_UNLHA32_DLL, HostSystemDirectory() / "UNLHA32.DLL", fs::copy_options::overwrite_existing);
    disc::lzh::ArchiveWriter writer(disc::lzh::Method::Lh5);
    unsigned state = 7;
    for (int file = 0; file < megabytes * 4; ++file) {
        std::vector<std::uint8_t> data;
        while (data.size() < 256 * 1024) {
            state = state * 1103515245u + 12345u;
            const char* word = (state >> 16) % 4 == 0 ? "skin " : (state >> 16) % 4 == 1 ? "bitmap\r\n"
                             : (state >> 16) % 4 == 2 ? "player " : "window ";
            for (const char* c = word; *c; ++c)
                data.push_back(static_cast<std::uint8_t>(*c));
        }
        writer.addFile("set" + std::to_string(file % 5) + "\\file" + std::to_string(file) + ".txt", data, 921470400);
    }
    const std::vector<std::uint8_t> bytes = writer.finish();
    const fs::path archive = HostPathFromWindows("C:\\disc\\Large.lzh");
    fs::create_directories(archive.parent_path());
    std::ofstream(archive, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                   static_cast<std::streamsize>(bytes.size()));
    return 0;
}

int Show(int argc, char** argv, int megabytes)
{
    TApplication app(nullptr);
    app.Initialize(argc, argv);
    ProgressForm = app.CreateForm<TJProgressForm>();
    ProgressForm->NeedKB = megabytes * 1024;
    ProgressForm->LzhFileName = "C:\\disc\\Large.lzh";
    ProgressForm->FolderName = "C:\\VARNOOK\\Large";
    bool ok = false;
    if (ProgressForm->LoadArchiver()) {
        ProgressForm->ShowModal();
        ok = ProgressForm->Outcome().Succeeded();
    }
    delete ProgressForm;
    std::printf("%s\n", ok ? "unpacked" : "failed");
    return ok ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 3 || !EnsurePrefix())
        return 2;
    const std::string step = argv[1];
    const int megabytes = std::atoi(argv[2]);
    if (step == "make")
        return Make(megabytes);
    if (step == "show")
        return Show(argc, argv, megabytes);
    return 2;
}
