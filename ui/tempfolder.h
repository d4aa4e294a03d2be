#pragma once
// A fresh folder for a test's files, removed with everything in it when the object goes.
#include <stdlib.h>

#include <cerrno>
#include <filesystem>
#include <string>
#include <system_error>

namespace ui {

class TempFolder {
public:
    enum Mode { kEnter, kStayOutside };

    // Creates the folder under the system temporary folder; kEnter also makes it current.
    explicit TempFolder(Mode mode = kEnter) {
        std::string pattern = (std::filesystem::temp_directory_path() / "suite-test-XXXXXX").string();
        if (!mkdtemp(pattern.data())) throw std::system_error(errno, std::generic_category(), pattern);
        // The resolved name, so that it reads the same as the current directory does inside it.
        path_ = std::filesystem::canonical(pattern).string();
        if (mode == kEnter) {
            previous_ = std::filesystem::current_path();
            std::filesystem::current_path(path_);
        }
    }
    ~TempFolder() {
        std::error_code ignored;
        if (!previous_.empty()) std::filesystem::current_path(previous_, ignored);
        std::filesystem::remove_all(path_, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& path() const { return path_; }
    std::string Path(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
    std::filesystem::path previous_;
};

}  // namespace ui
