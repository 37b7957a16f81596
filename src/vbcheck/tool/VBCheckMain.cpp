// vbcheck FILE...: the compile errors VB6 would report in whole .bas, .cls, .frm and .ctl files,
// one "FILE:LINE: error: MESSAGE" line each; exit 1 when there was one, 2 when a file could not
// be read. It measures the checker on real code; it is not installed.
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "vbcheck/VBFileCode.h"
#include "vbcheck/VBModuleCheck.h"

namespace {

constexpr const char* kUsage = "usage: vbcheck FILE...\n";
constexpr const char* kFindingLine = "%s:%d: error: %s\n";
constexpr const char* kUnreadable = "vbcheck: cannot read %s\n";

bool ReadWhole(const char* path, std::string& bytes)
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

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    int status = 0;
    std::string bytes;
    for (int i = 1; i < argc; ++i) {
        if (!ReadWhole(argv[i], bytes)) {
            std::fprintf(stderr, kUnreadable, argv[i]);
            status = 2;
            continue;
        }
        const CVBFileCode file(bytes);
        CVBModuleCheck check;
        check.AddPiece(0, file.Code());
        for (const VBFinding& finding : check.Finish()) {
            std::printf(kFindingLine, argv[i], finding.line + file.LinesBefore(), finding.message.c_str());
            if (status == 0)
                status = 1;
        }
    }
    return status;
}
