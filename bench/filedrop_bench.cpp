// Timing of a FileDragDrop drop against the bare work every drop needs.
//
// 10,000 real paths (9,000 files and 1,000 folders) in one DROPFILES block
// with wide paths, as the shell hands it over. The plug-in's side is the
// control's handling of WM_DROPFILES: listing the paths, sorting them into
// files and folders, and writing the three variables. The bare side splits
// the same block with DragQueryFile and asks GetFileAttributes once per path.
// Each side gets a fresh block per run (DragFinish releases it).
#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include <cstdio>
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "BenchSupport.h"
#include "HostEmulator.h"

namespace {

HGLOBAL DropBlock(const std::wstring& list) {
    const size_t bytes = sizeof(DROPFILES) + list.size() * sizeof(wchar_t);
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, bytes);
    auto* drop = static_cast<DROPFILES*>(GlobalLock(block));
    drop->pFiles = sizeof(DROPFILES);
    drop->fWide = TRUE;
    std::memcpy(reinterpret_cast<char*>(drop) + sizeof(DROPFILES), list.data(), list.size() * sizeof(wchar_t));
    GlobalUnlock(block);
    return block;
}

} // namespace

int main() {
    const int kPaths = 10000;
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    const std::string folder = std::string(temp) + "qorDropBench" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(folder.c_str(), nullptr);
    std::vector<std::string> paths;
    std::wstring list;
    for (int i = 0; i < kPaths; ++i) {
        const std::string path = folder + "\\dropped item " + qorbench::Pad(i) + (i % 10 ? ".dat" : "");
        if (i % 10) {
            HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
            if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
        } else {
            CreateDirectoryA(path.c_str(), nullptr);
        }
        paths.push_back(path);
        list.append(path.begin(), path.end()); // ASCII paths
        list.push_back(L'\0');
    }
    list.push_back(L'\0');

    qorhost::HostEmulator host;
    if (!qorbench::LoadPlugin(host)) return 1;
    host.AddRectangle("Bench", 0, 0, 300, 200);
    host.Exec("qorCreateFileDragDrop", {"Bench", "Drop", "clBlack", "true", "[Folders]", "[Files]", "[Items]", ""});
    HWND control = host.ControlWindow("Bench");

    HGLOBAL block = nullptr;
    const double mine = qorbench::Best(3, [&] { block = DropBlock(list); },
                                       [&] { SendMessageA(control, WM_DROPFILES, reinterpret_cast<WPARAM>(block), 0); });
    size_t files = 0;
    const double bare = qorbench::Best(3, [&] { block = DropBlock(list); }, [&] {
        HDROP drop = static_cast<HDROP>(block);
        const UINT count = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
        char path[MAX_PATH];
        files = 0;
        for (UINT i = 0; i < count; ++i) {
            DragQueryFileA(drop, i, path, MAX_PATH);
            const DWORD attributes = GetFileAttributesA(path);
            files += attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
        }
        DragFinish(drop);
    });
    const std::string written = host.Var("[Files]");
    const bool same = files == 9000 && std::count(written.begin(), written.end(), '\n') == 8999;

    std::printf("FileDragDrop, a drop of %d paths (seconds)\n%-44s %9s %9s %7s\n", kPaths, "case", "plug-in", "bare",
                "ratio");
    std::printf("%-44s %9.4f %9.4f %7.2f%s\n", "drop: list, sort, write the three variables", mine, bare,
                bare > 0 ? mine / bare : 0.0, same ? "" : "  (results differ!)");

    host.Unload();
    for (int i = kPaths - 1; i >= 0; --i)
        if (i % 10) DeleteFileA(paths[i].c_str());
        else RemoveDirectoryA(paths[i].c_str());
    RemoveDirectoryA(folder.c_str());
    return same ? 0 : 1;
}
