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
        const std::string arrow = " ----> ";
        std::vector<std::string> lines = LogLinesFrom(CLog::Instance()->FilePath(), arrow);
        for (std::string& line : lines)
            line.erase(0, arrow.size());
        return lines;
    }

    TempFolder folder;
};
