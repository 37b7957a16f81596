// Any bytes as a rule file, converted into a fresh target folder. Besides crashes, it catches a
// conversion that writes anywhere but below its target: the target sits at the bottom of a chain
// of folders, each of which must hold nothing but the next one afterwards, and the conversion
// runs with the lowest of them as its current folder.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <system_error>
#include <vector>

#include "app/ConvertHelper.h"
#include "kbfile/KBItemsConvertor.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* kRuleFileName = "rule.pxkbx";
// Each folder of the chain holds the next; the last one is the target.
const std::vector<std::string> kChain = {"up3", "up2", "up1", "target"};

// Made at the first input, removed when the fuzzer exits.
struct Workspace {
    Workspace()
    {
        std::string pattern = (fs::temp_directory_path() / "rulecast-fuzz-XXXXXX").string();
        if (!::mkdtemp(pattern.data()))
            std::abort();
        root = pattern;
        rulePath = root / kRuleFileName;
        target = root;
        for (const std::string& name : kChain)
            target /= name;
    }
    ~Workspace()
    {
        std::error_code ignored;
        fs::remove_all(root, ignored);
    }
    Workspace(const Workspace&) = delete;
    Workspace& operator=(const Workspace&) = delete;

    fs::path root;  // holds the rule file and the chain
    fs::path rulePath;
    fs::path target;
};

void RequireOnly(const fs::path& folder, std::vector<std::string> expected)
{
    std::vector<std::string> names;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(folder, error))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    std::sort(expected.begin(), expected.end());
    if (error || names != expected) {
        std::fprintf(stderr, "the conversion wrote into %s\n", folder.c_str());
        std::abort();
    }
}

void WriteRuleFile(const fs::path& path, const uint8_t* data, size_t size)
{
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file || std::fwrite(data, 1, size, file) != size || std::fclose(file) != 0)
        std::abort();
}

void CheckNothingOutsideTarget(const Workspace& workspace)
{
    RequireOnly(workspace.root, {kChain.front(), kRuleFileName});
    fs::path folder = workspace.root;
    for (size_t i = 0; i + 1 < kChain.size(); ++i) {
        folder /= kChain[i];
        RequireOnly(folder, {kChain[i + 1]});
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const Workspace workspace;
    std::error_code ignored;
    fs::remove_all(workspace.root / kChain.front(), ignored);
    if (!fs::create_directories(workspace.target))
        std::abort();
    WriteRuleFile(workspace.rulePath, data, size);

    // No log folder: a long run must not fill the disk with log files.
    CConvertHelper helper([] { return std::make_unique<CKBItemsConvertor>(); }, CProgramFolders{});
    // The fuzzer's own current folder comes back afterwards: it reads the corpus relative to it.
    const fs::path fuzzerFolder = fs::current_path();
    fs::current_path(workspace.target.parent_path());
    helper.ConvertFile(workspace.rulePath.string(), workspace.target.string());
    fs::current_path(fuzzerFolder);

    CheckNothingOutsideTarget(workspace);
    return 0;
}
