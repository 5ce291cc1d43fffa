// Writes docs/actions.md, the authors' reference of every action, from the
// action catalogue (ids, names, hints, categories, parameter kinds) and the
// editing-dialog tables (captions, and the field that edits each parameter).
// Usage: ActionReference OUTPUT
#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "core/EditDialog.h"
#include "host/ActionCatalogue.h"
#include "host/EditRoutes.h"

namespace {

using namespace qor;

struct Category {
    std::string title;
    std::vector<const CatalogueEntry*> actions;
};

std::vector<Category> Categories() {
    std::vector<Category> categories;
    for (const CatalogueEntry* e = CatalogueBegin(); e != CatalogueEnd(); ++e) {
        if (e->IsHeader())
            categories.push_back({e->name, {}});
        else
            categories.back().actions.push_back(e);
    }
    return categories;
}

// The anchor a Markdown renderer gives a heading.
std::string Anchor(const std::string& heading) {
    std::string anchor;
    for (char c : heading) {
        if (c == ' ')
            anchor += '-';
        else if (std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '_')
            anchor += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return anchor;
}

// Table cells: no pipe ends a cell early, no blank collapses.
std::string Cell(const std::string& text) {
    std::string cell;
    for (char c : text) {
        if (c == '|') cell += '\\';
        cell += c;
    }
    return cell;
}

// "&Rectangle:" -> "Rectangle".
std::string Label(std::string label) {
    std::string plain;
    for (size_t i = 0; i < label.size(); ++i)
        if (label[i] != '&' || (i + 1 < label.size() && label[i + 1] == '&')) plain += label[i];
    while (!plain.empty() && (plain.back() == ':' || plain.back() == ' ')) plain.pop_back();
    return plain;
}

std::string Join(const std::vector<std::string>& parts, const char* separator) {
    std::string text;
    for (const std::string& part : parts) text += (text.empty() ? "" : separator) + part;
    return text;
}

// What the field writes into its parameter, after EditDialog.h's writing rules.
std::string Values(const FieldSpec& field) {
    switch (field.kind) {
    case FieldKind::Check: return "\"True\" or \"False\"";
    case FieldKind::TriState: return "\"True\", \"False\", or empty to keep the setting";
    case FieldKind::Radio:
    case FieldKind::Choice: {
        std::vector<std::string> entries;
        for (size_t i = 0; i < field.choices.size(); ++i)
            entries.push_back(std::to_string(i) + " = " + field.choices[i]);
        return Join(entries, ", ");
    }
    case FieldKind::Colour: return "a colour name (\"clRed\") or \"$\" and eight hexadecimal digits; \"clNone\" keeps the colour";
    case FieldKind::Options: {
        std::vector<std::string> entries;
        for (const std::string& choice : field.choices) entries.push_back(Label(choice));
        return "\"True\"/\"False\" for each of " + Join(entries, ", ") + ", joined by \",\"";
    }
    case FieldKind::Event: return field.choicePrefix.empty() ? "a subroutine name" : "";
    case FieldKind::HotKey: return "a shortcut text such as \"Ctrl+Alt+K\"";
    case FieldKind::MultiLine:
        switch (field.codec) {
        case TextCodec::ParamText: return "lines joined by \"[#13][#10]\", with \"[#34]\" for a double quote and \"[#9]\" for two blanks";
        case TextCodec::LineBreaks: return "lines joined by \"[#13][#10]\"";
        default: return "lines";
        }
    default: return {};
    }
}

// The meaning of parameter `param`: the label of the dialog field that edits
// it, a note beside that field, and the values it writes.
std::string Meaning(const DialogSpec& spec, int param) {
    for (size_t i = 0; i < spec.fields.size(); ++i) {
        const FieldSpec& field = spec.fields[i];
        if (field.param != param) continue;
        std::string meaning = Label(field.label);
        if (meaning.empty() || !field.visible) {
            // A holder filled from the fields without a parameter of its own.
            std::vector<std::string> sources;
            for (const FieldSpec& other : spec.fields)
                if (other.param < 0 && other.kind != FieldKind::Note) sources.push_back(Label(other.label));
            meaning = Join(sources, " or ");
        }
        if (i + 1 < spec.fields.size() && spec.fields[i + 1].kind == FieldKind::Note && spec.fields[i + 1].sameRow)
            meaning += " (" + spec.fields[i + 1].label + ")";
        const std::string values = Values(field);
        if (!values.empty()) meaning += ": " + values;
        return meaning;
    }
    return "(not set by the editing dialog)";
}

DialogMaker DialogOf(int32_t id) {
    for (const EditRoute& route : EditRoutes())
        if (route.id == id) return route.dialog;
    return nullptr;
}

void WriteAction(std::ostream& out, const CatalogueEntry& action) {
    out << "### " << action.name << "\n\n";
    out << "Id " << action.id << ". " << action.hint << "\n\n";
    const DialogMaker maker = DialogOf(action.id);
    DialogSpec spec;
    if (maker) {
        spec = maker(action.id);
        // As the editing dispatch captions it.
        out << "Editing dialog: \"" << (spec.caption.empty() ? DialogCaption(action.name) : spec.caption)
            << "\"\n\n";
    }
    out << "| # | kind | meaning |\n|---|---|---|\n";
    for (int i = 0; i < action.count; ++i)
        out << "| " << i + 1 << " | " << (action.kinds[i] == KindVariable ? "variable" : "text") << " | "
            << Cell(Meaning(spec, i)) << " |\n";
    out << "\n";
}

void WriteReference(std::ostream& out) {
    const std::vector<Category> categories = Categories();
    int actions = 0;
    for (const Category& category : categories) actions += int(category.actions.size());
    out << "# Action reference\n\n"
           "<!-- Generated by tools/ActionReference.cpp from the action catalogue and the editing-dialog\n"
           "     tables; do not edit. `cmake --build --preset native --target action_reference` rewrites it. -->\n\n"
        << actions << " actions in " << categories.size()
        << " categories, in the order the host lists them. Every parameter is a text; a *variable* "
           "parameter names a host variable (in square brackets, as in \"[Result]\") that the action "
           "writes or reads. Each meaning is the label of the editing-dialog field that sets the parameter, "
           "with the values the dialog writes. Failures are reported in \"[qorBrindavelLastError]\".\n\n";
    for (const Category& category : categories) {
        std::vector<std::string> links;
        for (const CatalogueEntry* action : category.actions)
            links.push_back(std::string("[") + action->name + "](#" + Anchor(action->name) + ")");
        out << "- [" << category.title << "](#" << Anchor(category.title) << "): " << Join(links, ", ") << "\n";
    }
    out << "\n";
    for (const Category& category : categories) {
        out << "## " << category.title << "\n\n";
        for (const CatalogueEntry* action : category.actions) WriteAction(out, *action);
    }
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: ActionReference OUTPUT\n";
        return 2;
    }
    std::ostringstream text;
    WriteReference(text);
    std::ofstream file(argv[1], std::ios::binary | std::ios::trunc);
    file << text.str();
    file.close();
    if (!file) {
        std::cerr << "ActionReference: cannot write " << argv[1] << "\n";
        return 1;
    }
    return 0;
}
