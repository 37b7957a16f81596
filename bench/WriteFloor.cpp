// The writing that any conversion of a rule file must do, and nothing else: the log's lines, each
// written and flushed on its own, and the project's bytes in large chunks. Together with reading
// the rule file into a tree (xmllint --noout) it is the floor against which bench/run.sh measures
// a conversion.
//   write_floor LOG_LINES LOG_BYTES OUTPUT_BYTES OUTPUT_FILES FOLDER
// writes FOLDER/floor-log.txt with LOG_LINES lines of LOG_BYTES bytes in all, then OUTPUT_FILES
// files FOLDER/floor-N.out of OUTPUT_BYTES bytes in all.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

// What the program's files hand the library at a time is smaller; more would only flatter the floor.
constexpr size_t kChunkSize = size_t{1} << 20;

// count pieces of total bytes, as even as whole bytes allow; the first ones take the remainder.
size_t Share(unsigned long long total, unsigned long long count, unsigned long long index)
{
    return static_cast<size_t>(total / count + (index < total % count ? 1 : 0));
}

bool WriteLog(const std::string& path, unsigned long long lines, unsigned long long bytes)
{
    std::FILE* file = std::fopen(path.c_str(), "w");
    if (!file)
        return false;
    std::string line;
    bool written = true;
    for (unsigned long long i = 0; i < lines && written; ++i) {
        line.assign(Share(bytes, lines, i), 'x');
        if (!line.empty())
            line.back() = '\n';
        written = std::fwrite(line.data(), 1, line.size(), file) == line.size() && std::fflush(file) == 0;
    }
    return std::fclose(file) == 0 && written;
}

bool WriteOutput(const std::string& path, size_t bytes)
{
    std::FILE* file = std::fopen(path.c_str(), "w");
    if (!file)
        return false;
    const std::vector<char> chunk(kChunkSize, 'x');
    bool written = true;
    for (size_t left = bytes; left > 0 && written;) {
        const size_t count = left < chunk.size() ? left : chunk.size();
        written = std::fwrite(chunk.data(), 1, count, file) == count;
        left -= count;
    }
    return std::fclose(file) == 0 && written;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 6) {
        std::fprintf(stderr, "usage: write_floor LOG_LINES LOG_BYTES OUTPUT_BYTES OUTPUT_FILES FOLDER\n");
        return 2;
    }
    const unsigned long long logLines = std::strtoull(argv[1], nullptr, 10);
    const unsigned long long logBytes = std::strtoull(argv[2], nullptr, 10);
    const unsigned long long outputBytes = std::strtoull(argv[3], nullptr, 10);
    const unsigned long long outputFiles = std::strtoull(argv[4], nullptr, 10);
    const std::string folder = argv[5];
    if (logLines > 0 && !WriteLog(folder + "/floor-log.txt", logLines, logBytes)) {
        std::fprintf(stderr, "cannot write %s/floor-log.txt\n", folder.c_str());
        return 1;
    }
    for (unsigned long long i = 0; i < outputFiles; ++i) {
        const std::string path = folder + "/floor-" + std::to_string(i + 1) + ".out";
        if (!WriteOutput(path, Share(outputBytes, outputFiles, i))) {
            std::fprintf(stderr, "cannot write %s\n", path.c_str());
            return 1;
        }
    }
    return 0;
}
