#pragma once

#include <string>
#include <string_view>
#include <vector>

// What a VB6 project file (.vbp) tells the checker: its modules' files, as written there (relative
// to the .vbp, with backslashes), and its conditional-compilation constants (CondComp).
class CVBProjectFile {
public:
    struct Constant {
        std::string name;
        long long value = 0;
    };

    explicit CVBProjectFile(std::string_view text);

    const std::vector<std::string>& Modules() const { return modules_; }
    const std::vector<Constant>& Constants() const { return constants_; }

private:
    void TakeModule(std::string_view key, std::string_view value);
    void TakeConstants(std::string_view value);

    std::vector<std::string> modules_;
    std::vector<Constant> constants_;
};
