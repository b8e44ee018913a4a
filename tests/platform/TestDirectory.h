#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <string_view>

namespace orvo::test {

// A fresh directory under the system's temporary directory, removed with
// everything in it when the object goes.
class TestDirectory {
public:
    TestDirectory() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "orvo-test-XXXXXX").string();
        path_ = ::mkdtemp(pattern.data()) ? pattern : std::string();
    }
    TestDirectory(const TestDirectory&) = delete;
    ~TestDirectory() { std::filesystem::remove_all(path_, ignored_); }

    const std::string& Path() const { return path_; }
    std::string operator/(std::string_view relative) const {
        return path_ + "/" + std::string(relative);
    }

    // Writes a file (making its directories), returning its path.
    std::string Write(std::string_view relative, std::string_view bytes = {}) const {
        std::string p = *this / relative;
        std::filesystem::create_directories(std::filesystem::path(p).parent_path());
        std::ofstream(p, std::ios::binary)
            .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        return p;
    }
    std::string MakeDirectory(std::string_view relative) const {
        std::filesystem::create_directories(*this / relative);
        return *this / relative;
    }

private:
    std::string path_;
    std::error_code ignored_;
};

// Sets (or, with nullptr, removes) an environment variable for one scope.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const std::optional<std::string>& value) : name_(name) {
        if (const char* old = std::getenv(name))
            old_ = old;
        value ? ::setenv(name, value->c_str(), 1) : ::unsetenv(name);
    }
    ScopedEnv(const char* name, const char* value)
        : ScopedEnv(name, value ? std::optional<std::string>(value) : std::nullopt) {}
    ~ScopedEnv() { old_ ? ::setenv(name_.c_str(), old_->c_str(), 1) : ::unsetenv(name_.c_str()); }

private:
    std::string name_;
    std::optional<std::string> old_;
};

inline std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

} // namespace orvo::test
