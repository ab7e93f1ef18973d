#include "settings/testing/temp_settings_folder.h"
#include "settings/settings_files.h"

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

namespace fs = std::filesystem;

namespace {

fs::path NativeFromSettingsPath(const std::wstring& path) {
    std::wstring p = path;
    if constexpr (fs::path::preferred_separator == L'/') {
        for (wchar_t& c : p) {
            if (c == L'\\') {
                c = L'/';
            }
        }
    }
    return fs::path(p);
}

std::atomic<unsigned> g_counter{0};

} // namespace

bool RecordingFileSystem::ReadWholeFile(const std::wstring& path, std::string* bytes) const {
    reads.push_back(path);
    if (!failReadText_.empty() && path.find(failReadText_) != std::wstring::npos) {
        return false;
    }
    return inner_.ReadWholeFile(path, bytes);
}

bool RecordingFileSystem::WriteFileAtomically(const std::wstring& path, const std::string& bytes) {
    writes_.push_back(path);
    if (!failText_.empty() && path.find(failText_) != std::wstring::npos) {
        return false;
    }
    return inner_.WriteFileAtomically(path, bytes);
}

bool RecordingFileSystem::FileExists(const std::wstring& path) const { return inner_.FileExists(path); }

bool RecordingFileSystem::CreateFolder(const std::wstring& path) { return inner_.CreateFolder(path); }

std::wstring RecordingFileSystem::AppDataFolder() { return inner_.AppDataFolder(); }

void RecordingFileSystem::ClearLog() {
    writes_.clear();
    reads.clear();
}

TempSettingsFolder::TempSettingsFolder() {
    auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    fs::path root = fs::temp_directory_path() /
                    ("settings-test-" + std::to_string(stamp) + "-" + std::to_string(++g_counter));
    fs::create_directories(root);
    root_ = root.string();
    appData_ = (root / "AppData").wstring();
    platform_ = MakeFileSystemWithAppData(appData_);
    recording_ = std::make_unique<RecordingFileSystem>(*platform_);
    SetFileSystem(recording_.get());
}

TempSettingsFolder::~TempSettingsFolder() {
    SetFileSystem(nullptr);
    std::error_code ignored;
    fs::remove_all(fs::path(root_), ignored);
}

bool TempSettingsFolder::Exists(const std::wstring& relative) const {
    std::error_code ignored;
    return fs::is_regular_file(NativeFromSettingsPath(SettingsFolder() + relative), ignored);
}

std::string TempSettingsFolder::Read(const std::wstring& relative) const {
    std::ifstream in(NativeFromSettingsPath(SettingsFolder() + relative), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool TempSettingsFolder::Write(const std::wstring& relative, const std::string& bytes) {
    fs::path path = NativeFromSettingsPath(SettingsFolder() + relative);
    std::error_code ignored;
    fs::create_directories(path.parent_path(), ignored);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

bool TempSettingsFolder::Remove(const std::wstring& relative) {
    std::error_code ignored;
    return fs::remove(NativeFromSettingsPath(SettingsFolder() + relative), ignored);
}
