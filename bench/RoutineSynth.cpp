#include "RoutineSynth.h"

namespace {

// None of them a parameter's name: VB6 refuses a Dim of a parameter ("Duplicate declaration").
const std::vector<std::string> kLocalNames = {"Total", "Area", "Sample", "Bound", "Delta",
                                              "Count", "Ratio", "Offset"};
const std::vector<std::string> kLocalTypes = {"Double", "Long", "Variant", "String"};
const std::vector<std::string> kFields = {"Temperature", "Pressure", "State", "Flow",
                                          "Level", "Starts", "RunningHours", "Alarm"};
const std::vector<std::string> kComments = {"    ' adjust for sensor drift\n",
                                            "    ' values come from the plant's data sheet\n",
                                            "    ' keep the last reading for the trend\n"};

// The name a parameter declaration gives: "Level As Variant" gives "Level".
std::string ParameterName(const std::string& declaration)
{
    return declaration.substr(0, declaration.find(' '));
}

}  // namespace

std::string CRoutineSynth::Routine(const RoutineShape& shape)
{
    const bool function = shape.result != RoutineShape::Result::None;
    std::string text = function ? "Public Function " : "Public Sub ";
    text += shape.name + "(";
    for (size_t i = 0; i < shape.parameters.size(); ++i)
        text += (i == 0 ? "" : ", ") + shape.parameters[i];
    text += function ? ") As " + shape.resultType + "\n" : ")\n";

    const int target = random_.Between(10, 30);
    int lines = 2;
    locals_.clear();
    for (int i = random_.Between(1, 3); i > 0; --i, ++lines) {
        locals_.push_back(kLocalNames[locals_.size()]);
        text += "    Dim " + locals_.back() + " As " + random_.Pick(kLocalTypes) + "\n";
    }
    const int resultLines = function ? 1 : 0;
    while (lines + resultLines < target)
        AppendStatement(shape, text, lines);
    if (shape.result == RoutineShape::Result::Object)
        text += "    Set " + shape.name + " = Server.ObjectStore.Find(\"Valve\", " + Local() + ")\n";
    else if (shape.result == RoutineShape::Result::Value)
        text += "    " + shape.name + " = " + Local() + "\n";
    text += function ? "End Function\n" : "End Sub\n";
    return text;
}

void CRoutineSynth::AppendStatement(const RoutineShape& shape, std::string& body, int& lines)
{
    const std::string local = Local();
    switch (random_.Between(0, 6)) {
    case 0:
        body += "    " + local + " = " + Argument(shape) + " * " +
                std::to_string(random_.Between(2, 90)) + " + " + Local() + "\n";
        ++lines;
        break;
    case 1:
        body += "    If " + Argument(shape) + " > " + std::to_string(random_.Between(1, 500)) +
                " Then\n        " + local + " = " + local + " + 1\n    Else\n        " + local +
                " = 0\n    End If\n";
        lines += 5;
        break;
    case 2:
        body += "    For i = 1 To " + std::to_string(random_.Between(2, 12)) + "\n        " + local +
                " = " + local + " + i * " + Argument(shape) + "\n    Next i\n";
        lines += 3;
        break;
    case 3:
        body += random_.Pick(kComments);
        ++lines;
        break;
    case 4:
        body += "    Debug.Print \"" + shape.name + ": \" & " + local + "\n";
        ++lines;
        break;
    default:
        if (shape.hasObject)
            body += random_.Chance(50)
                        ? "    " + local + " = Obj.GetValue(\"" + Field() + "\")\n"
                        : "    Obj.SetValue \"" + Field() + "\", " + local + "\n";
        else
            body += "    " + local + " = Server.ObjectStore.Count(\"" + Field() + "\")\n";
        ++lines;
        break;
    }
}

std::string CRoutineSynth::Local()
{
    return random_.Pick(locals_);
}

std::string CRoutineSynth::Argument(const RoutineShape& shape)
{
    const size_t first = shape.hasObject ? 1 : 0;
    if (shape.parameters.size() <= first)
        return Local();
    const size_t pick = first + random_.Next() % (shape.parameters.size() - first);
    return ParameterName(shape.parameters[pick]);
}

std::string CRoutineSynth::Field()
{
    return random_.Pick(kFields);
}
