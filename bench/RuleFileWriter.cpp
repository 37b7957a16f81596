#include "RuleFileWriter.h"

#include <fstream>

namespace {

std::string Attribute(const char* name, const std::string& value)
{
    std::string text = std::string(" ") + name + "=\"";
    for (char c : value) {
        switch (c) {
        case '&': text += "&amp;"; break;
        case '<': text += "&lt;"; break;
        case '"': text += "&quot;"; break;
        default: text += c;
        }
    }
    return text + "\"";
}

std::string Flag(const char* name, bool flag)
{
    return Attribute(name, flag ? "true" : "false");
}

std::string CData(const std::string& code)
{
    return "<![CDATA[" + code + "]]>";
}

std::string List(const std::string& indent, const char* listName, const char* entryName,
                 const char* attribute, const std::vector<std::string>& entries)
{
    if (entries.empty())
        return "";
    std::string text = indent + "<" + listName + ">\n";
    for (const std::string& entry : entries)
        text += indent + "  <" + entryName + Attribute(attribute, entry) + "/>\n";
    return text + indent + "</" + listName + ">\n";
}

std::string ItemElement(const SynthItem& item, const std::string& indent)
{
    const std::string inner = indent + "  ";
    auto classes = [&] { return List(inner, "Classlist", "Class", "name", item.Classlist); };
    switch (item.kind) {
    case SynthKind::Demon:
        return indent + "<Demon" + Attribute("name", item.name) + Flag("casefixed", item.casefixed) +
               ">\n" + classes() + inner + "<PatternCode>" + CData(item.PatternCode) +
               "</PatternCode>\n" + inner + "<ActionCode>" + CData(item.ActionCode) +
               "</ActionCode>\n" + indent + "</Demon>\n";
    case SynthKind::Event:
        return indent + "<Event" + Attribute("name", item.name) + ">" + CData(item.code) +
               "</Event>\n";
    case SynthKind::Filter:
        return indent + "<Filter" + Attribute("name", item.name) +
               Attribute("displayname", item.displayname) + ">\n" + classes() +
               (item.code.empty() ? "" : inner + CData(item.code) + "\n") + indent + "</Filter>\n";
    case SynthKind::Method:
        return indent + "<Method" + Attribute("name", item.name) +
               Attribute("displayname", item.displayname) + Flag("interactive", item.interactive) +
               Flag("secure", item.secure) + Flag("casefixed", item.casefixed) + ">\n" +
               classes() + inner + CData(item.code) + "</Method>\n";
    case SynthKind::Rule:
        return indent + "<Rule" + Attribute("name", item.name) +
               Attribute("displayname", item.displayname) + Flag("interactive", item.interactive) +
               Flag("secure", item.secure) + Flag("casefixed", item.casefixed) + ">" +
               CData(item.code) + "</Rule>\n";
    case SynthKind::Sort:
        return indent + "<Sort" + Attribute("name", item.name) +
               Attribute("displayname", item.displayname) + ">\n" +
               List(inner, "KeyList", "Key", "comparison_op", item.KeyList) + inner +
               CData(item.code) + "</Sort>\n";
    }
    return "";
}

struct ChildWriter {
    std::ofstream& out;
    void operator()(const SynthClassblock& block) const
    {
        out << "  <Classblock" << Attribute("name", block.name) << ">\n";
        for (const SynthItem& member : block.members)
            out << ItemElement(member, "    ");
        out << "  </Classblock>\n";
    }
    void operator()(const SynthItem& item) const { out << ItemElement(item, "  "); }
};

}  // namespace

bool CRuleFileWriter::Write(const SynthModule& module, const std::string& path)
{
    std::ofstream out(path, std::ios::binary);
    out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        << "<KnowledgeBase" << Attribute("name", module.name) << ">\n"
        << "  <GlobalCode>" << CData(module.globalCode) << "</GlobalCode>\n";
    for (const auto& child : module.children)
        std::visit(ChildWriter{out}, child);
    out << "</KnowledgeBase>\n";
    out.close();
    return static_cast<bool>(out);
}
