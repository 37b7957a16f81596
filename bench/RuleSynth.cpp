#include "RuleSynth.h"

#include <algorithm>

#include "BenchRandom.h"
#include "RoutineSynth.h"

namespace {

const std::vector<std::string> kClassWords = {"Pump",   "Valve",  "Motor",      "Tank",
                                              "Sensor", "Pipe",   "Compressor", "Boiler",
                                              "Heater", "Cooler", "Meter",      "Filter"};
const std::vector<std::string> kVerbs = {"Calc", "Check", "Find", "Update", "Estimate",
                                         "Count", "Trend", "Limit", "Balance", "Rate"};
const std::vector<std::string> kNouns = {"Flow", "Pressure", "Level", "Load", "Wear",
                                         "Energy", "Temperature", "Runtime", "Leak", "Duty"};
const std::vector<std::string> kEventNames = {
    "Created", "Deleted", "Changed", "Loaded", "Saved", "Validated", "Copied", "Moved",
    "Linked", "Unlinked", "Opened", "Closed", "Locked", "Unlocked", "Started", "Stopped"};
const std::vector<std::string> kParameters = {"Pressure As Variant", "Diameter As Variant",
                                              "Limit As Variant",    "Reading As Variant",
                                              "Rate As Double",      "Factor As Double",
                                              "Target As Variant",   "Mode As Long"};
constexpr const char* kObjectParameter = "Obj As IPXQObject";

class CModuleSynth {
public:
    explicit CModuleSynth(uint64_t seed) : random_(seed), routines_(random_) {}

    SynthModule Make(int itemCount);

private:
    SynthItem Named(SynthKind kind, const std::string& prefix, int index);
    SynthItem Method(int index);
    SynthItem Event(int index);
    SynthItem Rule(int index);
    SynthItem Filter(int index);
    SynthItem Sort(int index);
    SynthItem Demon(int index);
    RoutineShape::Result AnyResult();
    std::vector<std::string> Parameters(bool withObject, int low, int high);
    std::vector<std::string> Classes(int low, int high);
    std::string GlobalCode();

    CBenchRandom random_;
    CRoutineSynth routines_;
    std::vector<std::string> classNames_;
};

SynthModule CModuleSynth::Make(int itemCount)
{
    const int demons = itemCount / 10, events = itemCount / 10, sorts = itemCount / 10;
    const int filters = itemCount * 15 / 100, rules = itemCount / 5;
    const int methods = itemCount - demons - events - sorts - filters - rules;
    const int classCount = std::max(3, itemCount / 50);
    for (int i = 0; i < classCount; ++i)
        classNames_.push_back(kClassWords[i % kClassWords.size()] +
                              (i < static_cast<int>(kClassWords.size()) ? ""
                                                                       : std::to_string(i)));
    SynthModule module;
    module.name = "Plant" + std::to_string(itemCount);
    module.globalCode = GlobalCode();

    std::vector<SynthClassblock> blocks(classCount);
    for (int i = 0; i < classCount; ++i)
        blocks[i].name = classNames_[i];
    // Each class gets its Methods first and its Events after them, as a modeller writes them.
    for (int i = 0; i < methods; ++i)
        blocks[i % classCount].members.push_back(Method(i));
    for (int i = 0; i < events; ++i)
        blocks[i % classCount].members.push_back(Event(i / classCount));

    // Free items of every kind mixed, spread evenly between the class blocks.
    std::vector<SynthItem> free;
    for (int i = 0; i < std::max({demons, rules, filters, sorts}); ++i) {
        if (i < rules) free.push_back(Rule(i));
        if (i < filters) free.push_back(Filter(i));
        if (i < sorts) free.push_back(Sort(i));
        if (i < demons) free.push_back(Demon(i));
    }
    size_t next = 0;
    for (int i = 0; i < classCount; ++i) {
        module.children.emplace_back(std::move(blocks[i]));
        const size_t until = free.size() * (i + 1) / classCount;
        for (; next < until; ++next)
            module.children.emplace_back(std::move(free[next]));
    }
    return module;
}

SynthItem CModuleSynth::Named(SynthKind kind, const std::string& prefix, int index)
{
    SynthItem item;
    item.kind = kind;
    const std::string& noun = random_.Pick(kNouns);
    item.name = prefix + noun + std::to_string(index);
    item.displayname = prefix + " " + noun + " " + std::to_string(index);
    item.interactive = random_.Chance(20);
    item.secure = random_.Chance(30);
    item.casefixed = random_.Chance(70);
    return item;
}

SynthItem CModuleSynth::Method(int index)
{
    SynthItem item = Named(SynthKind::Method, random_.Pick(kVerbs), index);
    item.Classlist = Classes(0, 1);
    RoutineShape shape{item.name, Parameters(true, 0, 3), AnyResult()};
    if (shape.result == RoutineShape::Result::Object)
        shape.resultType = "Object";
    item.code = routines_.Routine(shape);
    return item;
}

// The index counts the Events of one class, whose names must differ so that none replaces another.
SynthItem CModuleSynth::Event(int index)
{
    SynthItem item;
    item.kind = SynthKind::Event;
    item.name = kEventNames[index % kEventNames.size()];
    item.code = routines_.Routine(
        {item.name, {kObjectParameter, "Data As Variant"}, RoutineShape::Result::None});
    return item;
}

SynthItem CModuleSynth::Rule(int index)
{
    SynthItem item = Named(SynthKind::Rule, random_.Pick(kVerbs), index);
    RoutineShape shape{item.name, Parameters(false, 1, 3), AnyResult()};
    shape.hasObject = false;
    item.code = routines_.Routine(shape);
    return item;
}

SynthItem CModuleSynth::Filter(int index)
{
    SynthItem item = Named(SynthKind::Filter, "Is", index);
    item.Classlist = Classes(0, 2);
    // Some filters accept every object and carry no code.
    if (random_.Chance(90))
        item.code = routines_.Routine(
            {item.name, {kObjectParameter}, RoutineShape::Result::Value, "Boolean"});
    return item;
}

SynthItem CModuleSynth::Sort(int index)
{
    SynthItem item = Named(SynthKind::Sort, "By", index);
    std::vector<std::string> parameters = {kObjectParameter};
    for (int key = random_.Between(1, 3); key > 0; --key) {
        item.KeyList.push_back(random_.Chance(50) ? "1" : "-1");
        parameters.push_back("Key" + std::to_string(item.KeyList.size()) + " As Variant");
    }
    item.code = routines_.Routine({item.name, parameters, RoutineShape::Result::None});
    return item;
}

SynthItem CModuleSynth::Demon(int index)
{
    SynthItem item = Named(SynthKind::Demon, "Watch", index);
    item.Classlist = Classes(1, 3);
    const std::vector<std::string> control = {kObjectParameter, "Demon As IPXQDemonControl"};
    item.PatternCode = routines_.Routine(
        {item.name + "PatternPattern", control, RoutineShape::Result::None});
    std::vector<std::string> action = control;
    action.push_back("Level As Variant");
    item.ActionCode =
        routines_.Routine({item.name + "ActionAction", action, RoutineShape::Result::None});
    return item;
}

RoutineShape::Result CModuleSynth::AnyResult()
{
    const int roll = random_.Between(1, 100);
    return roll <= 60 ? RoutineShape::Result::Value
         : roll <= 85 ? RoutineShape::Result::Object
                      : RoutineShape::Result::None;
}

std::vector<std::string> CModuleSynth::Parameters(bool withObject, int low, int high)
{
    std::vector<std::string> parameters;
    if (withObject)
        parameters.push_back(kObjectParameter);
    const size_t first = parameters.size();
    for (int i = random_.Between(low, high); i > 0; --i)
        parameters.push_back(kParameters[(first + parameters.size() * 3) % kParameters.size()]);
    return parameters;
}

std::vector<std::string> CModuleSynth::Classes(int low, int high)
{
    std::vector<std::string> classes;
    for (int i = random_.Between(low, high); i > 0; --i)
        classes.push_back(random_.Pick(classNames_));
    return classes;
}

// Constants, state and helpers of the whole plant, with a handful of classes written inline.
std::string CModuleSynth::GlobalCode()
{
    std::string text = "\n' Limits and helpers shared by every item of the plant.\n";
    for (int i = 0; i < 20; ++i)
        text += "Public Const Max" + kNouns[i % kNouns.size()] + std::to_string(i) +
                " As Double = " + std::to_string(random_.Between(10, 900)) + ".5\n";
    text += "Private PlantName As String\nPrivate LastReading() As Double\n\n";
    for (int i = 0; i < 8; ++i)
        text += routines_.Routine({"Helper" + std::to_string(i),
                                   Parameters(false, 1, 2),
                                   RoutineShape::Result::Value, "Double", false}) + "\n";
    for (int c = 0; c < 6; ++c) {
        text += "' Running figures of one " + kClassWords[c] + ".\nClass " + kClassWords[c] +
                "Statistics\n";
        for (int f = 0; f < 5; ++f)
            text += "Public " + kNouns[(c + f) % kNouns.size()] + " As Double\n";
        text += routines_.Routine({"Reset", {}, RoutineShape::Result::None, "", false});
        text += routines_.Routine({"Mean", {"Samples As Long"}, RoutineShape::Result::Value,
                                   "Double", false});
        text += "End Class\n\n";
    }
    return text;
}

}  // namespace

SynthModule CRuleSynth::Make(int itemCount, uint64_t seed)
{
    return CModuleSynth(seed).Make(itemCount);
}
