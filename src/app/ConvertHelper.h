#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "kbfile/KBReader.h"

// The conversion driver: the command-line batch and the conversion of one rule file, which both
// the batch and the dialog use.
class CConvertHelper {
public:
    using ReaderFactory = std::function<std::unique_ptr<CKBReader>()>;

    // Exit statuses of a batch.
    static constexpr int kAllConverted = 0;
    static constexpr int kConversionFailed = 1;
    static constexpr int kUsageError = 2;

    // The real reader; logs and config.txt beside the executable.
    CConvertHelper();
    // appFolder (ending in "/") takes the logs and config.txt; std::nullopt keeps neither.
    CConvertHelper(ReaderFactory makeReader, std::optional<std::string> appFolder);
    virtual ~CConvertHelper();

    // argv[1] is the rule-file pattern, argv[2] the target folder. Returns the exit status.
    int ConvertBatch(int argc, const char* const* argv);
    // True when the project was written.
    bool ConvertFile(const std::string& rulePath, const std::string& targetFolder);
    // 0 when created; 183 when an entry of that name exists; 21 when the medium is not ready.
    static int CreateProjectFolder(const std::string& path);

    static void ShowUsage();

private:
    bool RunSteps(CKBReader& reader, const std::string& rulePath, const std::string& targetFolder);

    ReaderFactory makeReader_;
    std::optional<std::string> appFolder_;
};
