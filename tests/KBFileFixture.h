#pragma once

#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "TestSupport.h"
#include "log/Log.h"

// Every test has a folder for its rule files and projects, and a log file of its own there.
class KBFileTest : public ::testing::Test {
protected:
    void SetUp() override { CLog::Restart(folder.Path() + "/"); }
    // The log file must be closed before its folder goes.
    void TearDown() override { CLog::Restart(std::nullopt); }

    std::string WriteRule(const std::string& text, const std::string& name = "rules.pxkbx")
    {
        WriteFileBytes(folder / name, text);
        return folder / name;
    }

    // The step lines logged so far, from the message on ("Parse Demon Node ----> Success!").
    std::vector<std::string> StepLines() const
    {
        std::vector<std::string> lines;
        const std::string bytes = ReadFileBytes(CLog::Instance()->FilePath());
        const std::string arrow = " ----> ";
        size_t start = 0;
        while (start < bytes.size()) {
            size_t end = bytes.find('\n', start);
            if (end == std::string::npos)
                end = bytes.size();
            std::string line = bytes.substr(start, end - start);
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            const size_t at = line.find(arrow);
            if (at != std::string::npos)
                lines.push_back(line.substr(at + arrow.size()));
            start = end + 1;
        }
        return lines;
    }

    TempFolder folder;
};
