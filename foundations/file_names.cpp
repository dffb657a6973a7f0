// Output file names and the file-system wrappers.
// Names are plain UTF-8 byte strings; only '/' separates folders.
#include "foundations/file_names.h"

#include "foundations/tick_time.h"
#include "platform/date_time_format.h"
#include "platform/format_settings.h"

#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <system_error>
#include <unistd.h>

namespace qel {
namespace {

namespace fs = std::filesystem;

// Index just behind the folder part; 0 for a bare name.
std::size_t NameStart(const std::string& FileName)
{
    const std::size_t delim = FileName.rfind(PathDelim);
    return delim == std::string::npos ? 0 : delim + 1;
}

// Index of the extension's dot, or npos when the name part has none.
std::size_t ExtStart(const std::string& FileName)
{
    const std::size_t dot = FileName.rfind('.');
    return dot == std::string::npos || dot < NameStart(FileName) ? std::string::npos : dot;
}

// Any directory entry, dangling links included, takes the name.
bool NameTaken(const std::string& FileName)
{
    std::error_code ignored;
    return fs::exists(fs::symlink_status(FileName, ignored));
}

// Never waits: a pipe without a reader fails at once instead of blocking.
bool OpenForWriting(const std::string& FileName, int flags)
{
    const int fd = ::open(FileName.c_str(), O_WRONLY | O_CLOEXEC | O_NONBLOCK | flags, 0666);
    if (fd < 0) {
        return false;
    }
    ::close(fd);
    return true;
}

} // namespace

bool FileExist(const std::string& FileName)
{
    std::error_code ignored;
    const fs::file_status status = fs::status(FileName, ignored);
    return fs::exists(status) && !fs::is_directory(status);
}

bool DirExist(const std::string& Dir)
{
    std::error_code ignored;
    return !Dir.empty() && fs::is_directory(Dir, ignored);
}

std::string AddBackslash(const std::string& Dir)
{
    if (Dir.empty() || Dir.back() == PathDelim) {
        return Dir;
    }
    std::string withDelim = Dir;
    withDelim.push_back(PathDelim);
    return withDelim;
}

std::string RemoveBackslash(const std::string& Dir)
{
    if (!Dir.empty() && Dir.back() == PathDelim) {
        return Dir.substr(0, Dir.size() - 1);
    }
    return Dir;
}

std::string GetFileDir(const std::string& FileName)
{
    return FileName.substr(0, NameStart(FileName));
}

std::string GetFileName(const std::string& FileName)
{
    return FileName.substr(NameStart(FileName));
}

std::string GetFileExt(const std::string& FileName)
{
    const std::size_t dot = ExtStart(FileName);
    return dot == std::string::npos ? std::string() : FileName.substr(dot);
}

std::string GetFileExtNoDot(const std::string& FileName)
{
    const std::string ext = GetFileExt(FileName);
    return ext.empty() ? ext : ext.substr(1);
}

std::string ReplaceFileExt(const std::string& FileName, const std::string& Ext)
{
    return FileName.substr(0, ExtStart(FileName)) + Ext;
}

bool ForceDir(const std::string& Dir)
{
    if (Dir.empty()) {
        throw std::system_error(std::make_error_code(std::errc::invalid_argument), "cannot create a folder without a name");
    }
    std::error_code ignored;
    fs::create_directories(Dir, ignored);
    return DirExist(Dir);
}

std::string GetFullFileName(const TFileNameEx& F)
{
    return AddBackslash(F.path) + F.name + F.cnt + F.ext;
}

bool MakeUniqueFileName(TFileNameEx& F)
{
    F.cnt.clear();
    const std::string dir = AddBackslash(F.path);
    std::string suffix;
    for (int i = 1; i <= 100; ++i) {
        if (!NameTaken(dir + F.name + suffix + F.ext)) {
            F.name += suffix;
            return true;
        }
        suffix.assign(1, '_').append(std::to_string(i));
    }
    return false;
}

bool SplitFileName(TFileNameEx& F, const std::string& FileName)
{
    F.path = GetFileDir(FileName);
    const std::string name = GetFileName(FileName);
    F.name = name.substr(0, ExtStart(name));
    F.cnt.clear();
    F.ext = GetFileExt(FileName);
    return true;
}

std::string MakeDataFileName(const std::string& Prefix, std::uint32_t SN, const std::string& Text, double Time)
{
    return Prefix + std::to_string(SN) + Text + "_" +
           plat::FormatDateTime("yymmdd_hhnnss", DATE_TIME_2000 + Time, plat::FormatSettings());
}

bool TestCreateFile(const TFileNameEx& F)
{
    if (F.path.empty()) {
        return false;
    }
    const std::string dir = AddBackslash(F.path);
    if (!DirExist(dir)) {
        ForceDir(dir);
    }
    const std::string target = GetFullFileName(F);
    if (NameTaken(target)) {
        return FileExist(target) && OpenForWriting(target, 0);
    }
    if (!OpenForWriting(target, O_CREAT | O_EXCL)) {
        return false;
    }
    ::unlink(target.c_str());
    return true;
}

} // namespace qel
