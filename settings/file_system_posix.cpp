#include "settings/file_system.h"
#include "settings/text_utf16.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>

namespace {

// Windows paths onto the POSIX name space: separators become '/', text UTF-8.
std::string NativePath(const std::wstring& path) {
    std::wstring p = path;
    for (wchar_t& c : p) {
        if (c == L'\\') {
            c = L'/';
        }
    }
    return Utf8FromWide(p);
}

bool WriteAll(int fd, const std::string& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return false;
        }
        done += static_cast<size_t>(n);
    }
    return true;
}

std::atomic<unsigned> g_tempCounter{0};

class PosixFileSystem : public FileSystem {
public:
    explicit PosixFileSystem(std::wstring appData) : appData_(std::move(appData)) {}

    bool ReadWholeFile(const std::wstring& path, std::string* bytes) const override {
        int fd = ::open(NativePath(path).c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0) {
            return false;
        }
        struct stat st {};
        bool ok = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
        bytes->clear();
        if (ok) {
            // Read straight into the caller's buffer; a file may still grow or shrink meanwhile.
            size_t done = 0;
            bytes->resize(static_cast<size_t>(st.st_size) + 1);
            for (;;) {
                if (done == bytes->size()) {
                    bytes->resize(bytes->size() * 2);
                }
                ssize_t n = ::read(fd, &(*bytes)[done], bytes->size() - done);
                if (n < 0 && errno == EINTR) {
                    continue;
                }
                if (n < 0) {
                    ok = false;
                }
                if (n <= 0) {
                    break;
                }
                done += static_cast<size_t>(n);
            }
            bytes->resize(done);
        }
        ::close(fd);
        return ok;
    }

    bool WriteFileAtomically(const std::wstring& path, const std::string& bytes) override {
        std::string target = NativePath(path);
        std::string temp =
            target + "." + std::to_string(::getpid()) + "-" + std::to_string(++g_tempCounter) + ".tmp";
        int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        if (fd < 0) {
            return false;
        }
        bool ok = WriteAll(fd, bytes) && ::fsync(fd) == 0;
        ok = ::close(fd) == 0 && ok;
        if (ok && ::rename(temp.c_str(), target.c_str()) == 0) {
            return true;
        }
        ::unlink(temp.c_str());
        return false;
    }

    bool FileExists(const std::wstring& path) const override {
        struct stat st {};
        return ::stat(NativePath(path).c_str(), &st) == 0 && S_ISREG(st.st_mode);
    }

    bool CreateFolder(const std::wstring& path) override {
        std::string p = NativePath(path);
        while (p.size() > 1 && p.back() == '/') {
            p.pop_back();
        }
        return ::mkdir(p.c_str(), 0755) == 0;
    }

    std::wstring AppDataFolder() override {
        if (!appData_.empty()) {
            ::mkdir(NativePath(appData_).c_str(), 0755);
        }
        return appData_;
    }

private:
    std::wstring appData_;
};

std::wstring DefaultAppData() {
    if (const char* config = std::getenv("XDG_CONFIG_HOME"); config && *config) {
        return WideFromUtf8(config);
    }
    if (const char* home = std::getenv("HOME"); home && *home) {
        return WideFromUtf8(home) + L"/.config";
    }
    return std::wstring();
}

} // namespace

FileSystem& PlatformFileSystem() {
    static PosixFileSystem fs(DefaultAppData());
    return fs;
}

std::unique_ptr<FileSystem> MakeFileSystemWithAppData(const std::wstring& appDataFolder) {
    return std::make_unique<PosixFileSystem>(appDataFolder);
}
