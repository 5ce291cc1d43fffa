#include "filedrop/DroppedItems.h"

namespace qor {

namespace {

void AppendLine(std::string& list, const std::string& path, bool first) {
    if (!first) list += "\r\n";
    list += path;
}

} // namespace

void DroppedLists::Add(const std::string& path, DroppedKind kind) {
    // Counts, not emptiness, tell the first entry: a path may be empty text.
    if (kind == DroppedKind::File) AppendLine(files, path, fileCount_++ == 0);
    if (kind == DroppedKind::Folder) AppendLine(folders, path, folderCount_++ == 0);
    AppendLine(items, path, itemCount_++ == 0);
}

} // namespace qor
