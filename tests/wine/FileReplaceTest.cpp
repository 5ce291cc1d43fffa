// Files the plug-in rewrites are replaced in one step: a save that fails at
// any point (a full disk half way, a target another program holds open, a
// folder that is not there) leaves the previous file byte for byte as it was,
// reports the failure, and leaves no temporary file behind.
#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "HostEmulator.h"
#include "KeyTestSupport.h"

using qorhost::HostEmulator;

namespace {

std::string SystemText(DWORD code) {
    char buffer[512] = {};
    DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0,
                                  buffer, sizeof buffer, nullptr);
    std::string text(buffer, length);
    while (!text.empty() && (static_cast<unsigned char>(text.back()) <= ' ' || text.back() == '.')) text.pop_back();
    return text;
}

std::vector<std::string> FolderNames(const std::string& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found{};
    const HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        if (std::string(found.cFileName) != "." && std::string(found.cFileName) != "..")
            names.push_back(found.cFileName);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return names;
}

// A folder of its own per case, so that a left-over temporary file shows.
struct CaseFolder {
    CaseFolder() {
        path = qortest::TempFile("qorsave" + std::to_string(GetCurrentProcessId()) + "_" + std::to_string(++count));
        CreateDirectoryA(path.c_str(), nullptr);
    }
    ~CaseFolder() {
        for (const std::string& name : FolderNames(path)) DeleteFileA((path + "\\" + name).c_str());
        RemoveDirectoryA(path.c_str());
    }
    std::string path;
    static int count;
};
int CaseFolder::count = 0;

struct WriteLimit {
    explicit WriteLimit(const char* bytes) { SetEnvironmentVariableA("QOR_TEST_WRITE_FAIL_AFTER", bytes); }
    ~WriteLimit() { SetEnvironmentVariableA("QOR_TEST_WRITE_FAIL_AFTER", nullptr); }
};

struct Writer {
    const char* action;
    std::function<bool(HostEmulator&)> prepare; // gives the writer something to save
};

const Writer kWriters[] = {
    {"qorSaveHotKeyManager", [](HostEmulator& host) { return host.Exec("qorAddHotKeyInManager", {"Ctrl+Alt+F9", "*x"}); }},
    {"qorSaveLocalKeyManager", [](HostEmulator& host) { return host.Exec("qorAddLocalKeyInManager", {"F7", "*y"}); }},
    {"qorSaveHotKeys",
     [](HostEmulator& host) {
         host.AddRectangle("Rect1", 10, 10, 200, 30);
         return host.Exec("qorCreateHotKey", {"Rect1", "", "", "[HK]"}) &&
                host.Exec("qorSetHotKey", {"Rect1", "Ctrl+Shift+F8"});
     }},
};

const char kOldContent[] = "Old=content kept\r\nSecond=line\r\n";

TEST(FileReplace, AFailedSaveLeavesThePreviousFileAndNoTemporaryFile) {
    for (const Writer& writer : kWriters) {
        SCOPED_TRACE(writer.action);
        HostEmulator host;
        ASSERT_TRUE(host.Load());
        ASSERT_TRUE(host.Activate());
        ASSERT_TRUE(writer.prepare(host)) << host.LastError();

        struct Fault {
            const char* name;
            std::function<bool(const std::string& path)> save; // returns the action's result
            std::string expectedStart;                         // of LastError, after the quoted path
        };
        const auto save = [&](const std::string& path, const char* encrypt) {
            return host.Exec(writer.action, {path, encrypt});
        };
        const Fault faults[] = {
            {"a disk that fills after three bytes",
             [&](const std::string& path) {
                 WriteLimit limit("3");
                 return save(path, "False");
             },
             "write|" + SystemText(ERROR_DISK_FULL)},
            {"the same, encrypted",
             [&](const std::string& path) {
                 WriteLimit limit("0");
                 return save(path, "True");
             },
             "write|" + SystemText(ERROR_DISK_FULL)},
            {"a target held open by another program",
             [&](const std::string& path) {
                 const HANDLE held = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                                 FILE_ATTRIBUTE_NORMAL, nullptr);
                 EXPECT_NE(held, INVALID_HANDLE_VALUE);
                 const bool result = save(path, "False");
                 CloseHandle(held);
                 return result;
             },
             "create|"},
        };
        for (const Fault& fault : faults) {
            SCOPED_TRACE(fault.name);
            CaseFolder folder;
            const std::string path = folder.path + "\\keys.txt";
            qortest::WriteFileBytes(path, kOldContent);
            EXPECT_FALSE(fault.save(path));
            EXPECT_EQ(qortest::FileBytes(path), kOldContent);
            EXPECT_EQ(FolderNames(folder.path), std::vector<std::string>{"keys.txt"});
            const size_t bar = fault.expectedStart.find('|');
            const std::string expected = "Cannot " + fault.expectedStart.substr(0, bar) + " file \"" + path + "\". " +
                                         fault.expectedStart.substr(bar + 1);
            EXPECT_EQ(host.LastError().substr(0, expected.size()), expected) << host.LastError();
        }

        // A save that works replaces the content whole and leaves one file.
        CaseFolder folder;
        const std::string path = folder.path + "\\keys.txt";
        qortest::WriteFileBytes(path, std::string(5000, 'x'));
        ASSERT_TRUE(save(path, "False")) << host.LastError();
        const std::string saved = qortest::FileBytes(path);
        EXPECT_LT(saved.size(), 100u);
        EXPECT_EQ(saved.substr(saved.size() - 2), "\r\n");
        EXPECT_EQ(FolderNames(folder.path), std::vector<std::string>{"keys.txt"});
    }
}

} // namespace
