#include "settings/file_system.h"

#include <atomic>

namespace {
std::atomic<FileSystem*> g_fileSystem{nullptr};
}

void SetFileSystem(FileSystem* fileSystem) { g_fileSystem.store(fileSystem); }

FileSystem& ActiveFileSystem() {
    FileSystem* fs = g_fileSystem.load();
    return fs ? *fs : PlatformFileSystem();
}
