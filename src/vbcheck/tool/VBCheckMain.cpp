// vbcheck [--codepage CP] FILE...: the compile errors VB6 would report in whole .bas, .cls, .frm
// and .ctl files, one "FILE:LINE: error: MESSAGE" line each; a .vbp stands for the modules of that
// project, checked with its conditional-compilation constants. Files are read in code page CP
// (1252 unless told), as VB6 reads source in the machine's code page. Exit 1 when there was an
// error, 2 when a file could not be read. It measures the checker on real code; it is not
// installed.
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "common/CodePages.h"
#include "common/FoldCase.h"
#include "common/Utf8.h"
#include "platform/FileSearch.h"
#include "platform/FileSystem.h"
#include "platform/TextDecoder.h"
#include "vbcheck/VBFileCode.h"
#include "vbcheck/VBModuleCheck.h"
#include "vbcheck/VBProjectFile.h"

namespace {

constexpr const char* kUsage = "usage: vbcheck [--codepage CP] FILE|PROJECT.vbp...\n";
constexpr const char* kFindingLine = "%s:%d: error: %s\n";
constexpr const char* kUnreadable = "vbcheck: cannot read %s\n";
constexpr const char* kUnknownCodePage = "vbcheck: unknown code page %s\n";
constexpr unsigned kDefaultCodePage = 1252;
constexpr std::string_view kProjectExtension = ".vbp";
constexpr std::string_view kStandardModuleExtension = ".bas";

bool ReadWhole(const std::string& path, std::string& bytes)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    // In one read, not a character at a time: a generated module runs to tens of megabytes.
    std::ostringstream whole;
    whole << in.rdbuf();
    bytes = std::move(whole).str();
    return !in.bad();
}

// The text in UTF-8, so that a trail byte of a double-byte character is never read as \ or [. A
// byte that is no character of the code page is kept as it is: it is a letter to the checker.
std::string Decoded(unsigned codePage, std::string_view bytes)
{
    std::string text(bytes.size() * 3 + 16, '\0');
    size_t read = 0;
    size_t written = 0;
    while (read < bytes.size()) {
        const CTextDecoder::Result result =
            CTextDecoder::Decode(codePage, bytes.substr(read), text.data() + written, text.size() - written);
        read += result.read;
        written += result.written;
        if (read < bytes.size() && (result.invalid || result.read == 0))
            text[written++] = bytes[read++];
    }
    text.resize(written);
    return text;
}

bool EndsWith(std::string_view path, std::string_view extension)
{
    return path.size() >= extension.size() && EqualIgnoringCase(path.substr(path.size() - extension.size()), extension);
}

// The entry of folder that Windows finds by name, case aside: the name itself where it exists, else
// the one entry whose name differs only in case.
std::string CaseBlindName(const std::string& folder, const std::string& name)
{
    if (name.empty() || name == "." || name == ".." || CFileSystem::EntryExists(folder + name))
        return name;
    std::string found;
    for (const std::string& candidate : CFileSearch::Names(folder)) {
        if (!EqualIgnoringCase(candidate, name))
            continue;
        if (!found.empty())
            return name;
        found = candidate;
    }
    return found.empty() ? name : found;
}

// A .vbp names its files as Windows finds them: each folder and the file, case aside.
std::string CaseBlindPath(const std::string& folder, const std::string& relative)
{
    std::string path = folder;
    for (size_t start = 0;;) {
        const size_t slash = relative.find('/', start);
        path += CaseBlindName(path, relative.substr(start, slash - start));
        if (slash == std::string::npos)
            return path;
        path += '/';
        start = slash + 1;
    }
}

class CCheckRun {
public:
    explicit CCheckRun(unsigned codePage) : codePage_(codePage) {}

    void Check(const std::string& path)
    {
        if (EndsWith(path, kProjectExtension))
            CheckProject(path);
        else
            CheckModule(path, {});
    }
    int Status() const { return status_; }

private:
    bool Read(const std::string& path, std::string& text)
    {
        std::string bytes;
        if (!ReadWhole(path, bytes)) {
            std::fprintf(stderr, kUnreadable, path.c_str());
            status_ = 2;
            return false;
        }
        // ASCII is itself in every code page taken.
        if (codePage_ == CCodePages::kUtf8 || CUtf8::AsciiRunEnd(bytes, 0) == bytes.size())
            text = std::move(bytes);
        else
            text = Decoded(codePage_, bytes);
        return true;
    }

    void CheckModule(const std::string& path, const std::vector<CVBProjectFile::Constant>& constants)
    {
        std::string text;
        if (!Read(path, text))
            return;
        const CVBFileCode file(text);
        CVBModuleCheck check;
        check.SetModuleKind(EndsWith(path, kStandardModuleExtension) ? VBModuleKind::Standard : VBModuleKind::Object);
        for (const CVBProjectFile::Constant& constant : constants)
            check.SetConstant(constant.name, constant.value);
        check.AddPiece(0, file.Code());
        for (const VBFinding& finding : check.Finish()) {
            std::printf(kFindingLine, path.c_str(), finding.line + file.LinesBefore(), finding.message.c_str());
            if (status_ == 0)
                status_ = 1;
        }
    }

    // The modules' paths are relative to the project's folder, with Windows' separators.
    void CheckProject(const std::string& path)
    {
        std::string text;
        if (!Read(path, text))
            return;
        const size_t slash = path.find_last_of("/\\");
        const std::string folder = slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
        const CVBProjectFile project(text);
        for (std::string module : project.Modules()) {
            for (char& c : module)
                c = c == '\\' ? '/' : c;
            CheckModule(CaseBlindPath(folder, module), project.Constants());
        }
    }

    unsigned codePage_;
    int status_ = 0;
};

}  // namespace

int main(int argc, char** argv)
{
    unsigned codePage = kDefaultCodePage;
    int first = 1;
    if (argc > 2 && std::strcmp(argv[1], "--codepage") == 0) {
        const std::optional<unsigned> found = CCodePages::Find(argv[2]);
        if (!found) {
            std::fprintf(stderr, kUnknownCodePage, argv[2]);
            return 2;
        }
        codePage = *found;
        first = 3;
    }
    if (first >= argc) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    CCheckRun run(codePage);
    for (int i = first; i < argc; ++i)
        run.Check(argv[i]);
    return run.Status();
}
