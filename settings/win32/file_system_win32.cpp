#include "settings/file_system.h"

#include <windows.h>
#include <shlobj.h>

#include <atomic>

namespace {

class Handle {
public:
    explicit Handle(HANDLE h) : h_(h) {}
    ~Handle() {
        if (valid()) {
            CloseHandle(h_);
        }
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    bool valid() const { return h_ != INVALID_HANDLE_VALUE && h_ != nullptr; }
    HANDLE get() const { return h_; }
    bool close() {
        HANDLE h = h_;
        h_ = INVALID_HANDLE_VALUE;
        return CloseHandle(h) != 0;
    }

private:
    HANDLE h_;
};

std::atomic<unsigned> g_tempCounter{0};

class Win32FileSystem : public FileSystem {
public:
    explicit Win32FileSystem(std::wstring appData) : appData_(std::move(appData)) {}

    bool ReadWholeFile(const std::wstring& path, std::string* bytes) const override {
        Handle file(CreateFileW(path.c_str(), GENERIC_READ,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file.valid()) {
            return false;
        }
        LARGE_INTEGER size{};
        if (!GetFileSizeEx(file.get(), &size) || size.QuadPart > 0x40000000) {
            return false;
        }
        bytes->assign(static_cast<size_t>(size.QuadPart), '\0');
        size_t done = 0;
        while (done < bytes->size()) {
            DWORD got = 0;
            if (!ReadFile(file.get(), &(*bytes)[done], static_cast<DWORD>(bytes->size() - done), &got,
                          nullptr)) {
                return false;
            }
            if (got == 0) {
                bytes->resize(done);
                break;
            }
            done += got;
        }
        return true;
    }

    bool WriteFileAtomically(const std::wstring& path, const std::string& bytes) override {
        std::wstring temp = path + L"." + std::to_wstring(GetCurrentProcessId()) + L"-" +
                            std::to_wstring(++g_tempCounter) + L".tmp";
        Handle file(
            CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file.valid()) {
            return false;
        }
        bool ok = true;
        size_t done = 0;
        while (ok && done < bytes.size()) {
            DWORD wrote = 0;
            ok = WriteFile(file.get(), bytes.data() + done, static_cast<DWORD>(bytes.size() - done), &wrote,
                           nullptr) &&
                 wrote > 0;
            done += wrote;
        }
        ok = ok && FlushFileBuffers(file.get());
        ok = file.close() && ok;
        if (ok &&
            MoveFileExW(temp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
            return true;
        }
        DeleteFileW(temp.c_str());
        return false;
    }

    bool FileExists(const std::wstring& path) const override {
        DWORD attributes = GetFileAttributesW(path.c_str());
        return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
    }

    bool CreateFolder(const std::wstring& path) override {
        return CreateDirectoryW(path.c_str(), nullptr) != 0;
    }

    std::wstring AppDataFolder() override {
        if (!appData_.empty()) {
            CreateDirectoryW(appData_.c_str(), nullptr);
            return appData_;
        }
        wchar_t folder[MAX_PATH] = {};
        if (FAILED(SHGetFolderPathW(nullptr, CSIDL_APPDATA | CSIDL_FLAG_CREATE, nullptr, SHGFP_TYPE_CURRENT,
                                    folder))) {
            return std::wstring();
        }
        return folder;
    }

private:
    std::wstring appData_;
};

} // namespace

FileSystem& PlatformFileSystem() {
    static Win32FileSystem fs{std::wstring()};
    return fs;
}

std::unique_ptr<FileSystem> MakeFileSystemWithAppData(const std::wstring& appDataFolder) {
    return std::make_unique<Win32FileSystem>(appDataFolder);
}
