#pragma once

#include <string>
#include <utility>
#include <vector>

#include "BenchRandom.h"

// What a made-up routine looks like from outside.
struct RoutineShape {
    enum class Result { Value, Object, None };

    RoutineShape(std::string name, std::vector<std::string> parameters, Result result,
                 std::string resultType = "Variant", bool hasObject = true)
        : name(std::move(name)), parameters(std::move(parameters)), result(result),
          resultType(std::move(resultType)), hasObject(hasObject)
    {
    }

    std::string name;
    std::vector<std::string> parameters;  // "Obj As IPXQObject", "Level As Variant", ...
    Result result;                        // None gives a Sub
    std::string resultType;               // of a Function
    bool hasObject;                       // whether the body may use Obj
};

// Writes VB routines of 10 to 30 lines: local declarations, object reads and writes, branches,
// loops and comments, and the assignments of the result to the routine's own name.
class CRoutineSynth {
public:
    explicit CRoutineSynth(CBenchRandom& random) : random_(random) {}

    std::string Routine(const RoutineShape& shape);

private:
    void AppendStatement(const RoutineShape& shape, std::string& body, int& lines);
    std::string Local();
    std::string Argument(const RoutineShape& shape);
    std::string Field();

    CBenchRandom& random_;
    std::vector<std::string> locals_;
};
