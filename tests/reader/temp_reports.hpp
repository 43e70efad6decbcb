#pragma once

#include <atomic>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <system_error>

#include <unistd.h>

namespace kiv::test {

// A directory of report files written by a test, removed with it.
class TempReports {
  public:
    TempReports() {
        static std::atomic<int> counter{0};
        dir_ = std::filesystem::temp_directory_path() /
               ("kiv_reader_" + std::to_string(::getpid()) + "_" + std::to_string(counter++));
        std::filesystem::create_directories(dir_);
    }
    TempReports(const TempReports&) = delete;
    TempReports& operator=(const TempReports&) = delete;
    ~TempReports() {
        std::error_code ignored;
        std::filesystem::remove_all(dir_, ignored);
    }

    // Writes content byte for byte and returns the file's path.
    std::string write(const std::string& name, std::string_view content) const {
        const std::filesystem::path path = dir_ / name;
        std::ofstream out(path, std::ios::binary);
        out.write(content.data(), static_cast<std::streamsize>(content.size()));
        return path.string();
    }

    std::string path(const std::string& name) const { return (dir_ / name).string(); }

  private:
    std::filesystem::path dir_;
};

// Turns every "\n" into "\r\n".
inline std::string withCrlf(std::string_view text) {
    std::string out;
    for (char c : text) {
        if (c == '\n') out += '\r';
        out += c;
    }
    return out;
}

} // namespace kiv::test
