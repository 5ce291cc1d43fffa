#pragma once
// The three lists a drop fills: files, folders and every item, each in drop
// order, each as its paths joined by CR LF without a final line break.
#include <string>

namespace qor {

enum class DroppedKind { File, Folder, Other };

struct DroppedLists {
    std::string files;
    std::string folders;
    std::string items;

    // Sorts one dropped path in after the ones before it.
    void Add(const std::string& path, DroppedKind kind);

private:
    size_t fileCount_ = 0, folderCount_ = 0, itemCount_ = 0;
};

} // namespace qor
