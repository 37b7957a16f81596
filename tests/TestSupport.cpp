#include "TestSupport.h"

#include <algorithm>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

std::filesystem::path FsPath(const std::string& utf8)
{
    return fs::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string Utf8Path(const std::filesystem::path& path)
{
    const std::u8string text = path.generic_u8string();
    return std::string(text.begin(), text.end());
}

TempFolder::~TempFolder()
{
    std::error_code ignored;
    const fs::path root = FsPath(path_);
    // Tests make folders read-only; give the owner back its rights so that all of it goes.
    for (auto it = fs::recursive_directory_iterator(root, ignored);
         it != fs::recursive_directory_iterator(); it.increment(ignored)) {
        if (it->is_directory(ignored) && !it->is_symlink(ignored))
            fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ignored);
    }
    fs::permissions(root, fs::perms::owner_all, fs::perm_options::add, ignored);
    fs::remove_all(root, ignored);
}

void OpenToAll(const std::string& folder)
{
    fs::permissions(FsPath(folder), fs::perms::all);
}

void MakeReadOnly(const std::string& path)
{
    fs::permissions(FsPath(path), fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
}

bool ReadOnlyHolds()
{
    TempFolder dir;
    const std::string probe = dir / "probe";
    WriteFileBytes(probe, "");
    MakeReadOnly(probe);
    return !std::ofstream(FsPath(probe), std::ios::app).is_open();
}

std::string ReadFileBytes(const std::string& path)
{
    std::ifstream in(FsPath(path), std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

void WriteFileBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream out(FsPath(path), std::ios::binary | std::ios::trunc);
    out << bytes;
}

std::string WithCrLf(const std::string& text)
{
    std::string result;
    for (char c : text) {
        if (c == '\n')
            result += '\r';
        result += c;
    }
    return result;
}

std::string GoldenText(const std::string& caseName, const std::string& path)
{
    std::string text = ReadFileBytes(std::string(RULECAST_SOURCE_DIR) + "/tests/golden/" + caseName + "/expected/" + path);
    std::erase(text, '\r');
    return text;
}

std::vector<std::string> LogLinesFrom(const std::string& logPath, const std::string& marker)
{
    std::vector<std::string> lines;
    std::istringstream log(ReadFileBytes(logPath));
    for (std::string line; std::getline(log, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (const size_t at = line.find(marker); at != std::string::npos)
            lines.push_back(line.substr(at));
    }
    return lines;
}

std::string FilledByPositions(const std::string& text, const std::string& token, const std::string& value)
{
    std::string filled;
    for (size_t pos = 0; pos < text.size();) {
        if (!token.empty() && text.compare(pos, token.size(), token) == 0) {
            filled += value;
            pos += token.size();
        } else {
            filled += text[pos++];
        }
    }
    return filled;
}

std::vector<std::string> ListFolder(const std::string& path)
{
    std::vector<std::string> names;
    std::error_code ignored;
    for (const auto& entry : fs::directory_iterator(FsPath(path), ignored))
        names.push_back(Utf8Path(entry.path().filename()));
    std::sort(names.begin(), names.end());
    return names;
}

std::vector<std::string> ListTree(const std::string& path)
{
    std::vector<std::string> names;
    std::error_code ignored;
    const fs::path root = FsPath(path);
    for (const auto& entry : fs::recursive_directory_iterator(root, ignored)) {
        if (!entry.is_directory(ignored))
            names.push_back(Utf8Path(fs::relative(entry.path(), root)));
    }
    std::sort(names.begin(), names.end());
    return names;
}

bool MakeFolder(const std::string& path)
{
    std::error_code error;
    return fs::create_directory(FsPath(path), error);
}

bool ChangeFolder(const std::string& path)
{
    std::error_code error;
    fs::current_path(FsPath(path), error);
    return !error;
}

std::string CopyProgram(const std::string& folder)
{
    const std::string path = folder + "/" + kProgramFileName;
    fs::copy_file(FsPath(RULECAST_BINARY), FsPath(path));
    return path;
}
