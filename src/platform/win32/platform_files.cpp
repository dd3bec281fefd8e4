// Settings files on the PC's file system, by UTF-8 path.
#include "platform/win32/file_store.h"
#include "platform/win32/win32_platform.h"

namespace qta1 {

std::optional<std::string> ReadWholeFile(const std::string& utf8Path) {
    return ReadFileBytes(WidenPath(utf8Path));
}

bool ReplaceWholeFile(const std::string& utf8Path, std::string_view bytes) {
    return ReplaceFileBytes(WidenPath(utf8Path), bytes);
}

bool AppendToFile(const std::string& utf8Path, std::string_view bytes) {
    return AppendFileBytes(WidenPath(utf8Path), bytes);
}

bool IsWritableFile(const std::string& utf8Path) { return IsWritableFilePath(WidenPath(utf8Path)); }

}  // namespace qta1
