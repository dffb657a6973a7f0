// Test folders and environment overrides.
#include "tests/support/temp_dir.h"

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>
#include <unistd.h>

namespace qeltest {

TempDir::TempDir()
{
    std::random_device device;
    const auto base = std::filesystem::temp_directory_path();
    for (int attempt = 0; attempt < 100; ++attempt) {
        auto candidate = base / ("qeltest-" + std::to_string(getpid()) + "-" + std::to_string(device()));
        if (std::filesystem::create_directory(candidate)) {
            FPath = candidate;
            return;
        }
    }
    throw std::runtime_error("cannot create a temporary folder");
}

TempDir::~TempDir()
{
    std::error_code ignored;
    std::filesystem::remove_all(FPath, ignored);
}

ScopedEnv::ScopedEnv(const char* name, const std::string& value) : FName(name), FHadOld(false)
{
    if (const char* old = std::getenv(name)) {
        FOld = old;
        FHadOld = true;
    }
    setenv(name, value.c_str(), 1);
}

ScopedEnv::~ScopedEnv()
{
    if (FHadOld) {
        setenv(FName.c_str(), FOld.c_str(), 1);
    } else {
        unsetenv(FName.c_str());
    }
}

std::string ReadWholeFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteWholeFile(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

} // namespace qeltest
