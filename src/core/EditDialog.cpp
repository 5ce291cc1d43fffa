#include "core/EditDialog.h"

#include <algorithm>

#include "core/ValueEncodings.h"

namespace qor {

namespace {

bool TryFlag(const std::string& text, bool& value) {
    try {
        value = TextToFlag(text);
        return true;
    } catch (...) {
        return false;
    }
}

bool TryColourName(const std::string& text, std::string& name) {
    try {
        name = ColorToText(TextToColor(text));
        return true;
    } catch (...) {
        return false;
    }
}

std::vector<std::string> SplitAt(const std::string& text, char separator) {
    std::vector<std::string> parts;
    size_t start = 0;
    for (;;) {
        const size_t end = text.find(separator, start);
        parts.push_back(text.substr(start, end - start));
        if (end == std::string::npos) return parts;
        start = end + 1;
    }
}

std::string Decode(TextCodec codec, const std::string& text) {
    switch (codec) {
    case TextCodec::ParamText: return UnescapeParamText(text);
    case TextCodec::LineBreaks: return UnescapeLineBreaks(text);
    default: return text;
    }
}

std::string Encode(TextCodec codec, const std::string& text) {
    switch (codec) {
    case TextCodec::ParamText: return EscapeParamText(text);
    case TextCodec::LineBreaks: return EscapeLineBreaks(text);
    default: return text;
    }
}

int IndexOrNone(const std::string& text, size_t count) {
    int32_t index = -1;
    if (!TryTextToInt(text, index) || index < 0 || static_cast<size_t>(index) >= count) return -1;
    return index;
}

// The state a field shows before any parameter is loaded.
FieldState InitialState(const FieldSpec& spec) {
    FieldState state;
    state.label = spec.label;
    state.choices = spec.choices;
    state.visible = spec.visible;
    switch (spec.kind) {
    case FieldKind::Check: {
        bool on = false;
        state.check = TryFlag(spec.initial, on) && on ? 1 : 0;
        break;
    }
    case FieldKind::TriState: {
        bool on = false;
        state.check = spec.initial.empty() || !TryFlag(spec.initial, on) ? 2 : (on ? 1 : 0);
        break;
    }
    case FieldKind::Radio:
    case FieldKind::Choice: state.selection = IndexOrNone(spec.initial, spec.choices.size()); break;
    case FieldKind::Colour:
        state.choices = ColourChoices();
        if (!TryColourName(spec.initial, state.text)) state.text = "clNone";
        break;
    case FieldKind::Options: {
        state.ticks.assign(spec.choices.size(), false);
        const std::vector<std::string> parts = SplitAt(spec.initial, ',');
        for (size_t i = 0; i < parts.size() && i < state.ticks.size(); ++i) {
            bool on = false;
            state.ticks[i] = TryFlag(parts[i], on) && on;
        }
        break;
    }
    case FieldKind::HotKey:
        state.hotKey = spec.hotKey.fromText && !spec.initial.empty() ? spec.hotKey.fromText(spec.initial) : 0;
        break;
    case FieldKind::Note: break;
    default: state.text = spec.initial; break;
    }
    return state;
}

} // namespace

const char* PickerHint(Picker picker) {
    switch (picker) {
    case PickRectangle: return "Select a Rectangle";
    case PickVariable: return "Select a Variable";
    case PickFont: return "Select  a Font";
    case ClearField: return "Clear";
    case PickFile: return "Select a File";
    case AddItems: return "Add Items";
    case PickFolder: return "Select a Directory";
    default: return "";
    }
}

std::string PickerHint(const FieldSpec& field, Picker picker) {
    if (picker == PickCustom) return field.custom.hint;
    if (picker == PickFont && !field.fontHint.empty()) return field.fontHint;
    return PickerHint(picker);
}

FieldSpec TextField(std::string label, int param, unsigned pickers, std::string initial) {
    FieldSpec f;
    f.kind = FieldKind::Text;
    f.label = std::move(label);
    f.param = param;
    f.pickers = pickers;
    f.initial = std::move(initial);
    return f;
}

FieldSpec MultiLineField(std::string label, int param, TextCodec codec, unsigned pickers) {
    FieldSpec f = TextField(std::move(label), param, pickers);
    f.kind = FieldKind::MultiLine;
    f.codec = codec;
    f.load = LoadRule::Always;
    return f;
}

FieldSpec CheckField(std::string label, int param, bool initial) {
    FieldSpec f = TextField(std::move(label), param, 0, FlagToText(initial));
    f.kind = FieldKind::Check;
    return f;
}

FieldSpec TriStateField(std::string label, int param) {
    FieldSpec f = TextField(std::move(label), param);
    f.kind = FieldKind::TriState;
    return f;
}

FieldSpec RadioField(std::string label, int param, std::vector<std::string> choices, int initial) {
    FieldSpec f = TextField(std::move(label), param, 0, initial < 0 ? std::string() : std::to_string(initial));
    f.kind = FieldKind::Radio;
    f.choices = std::move(choices);
    return f;
}

FieldSpec ChoiceField(std::string label, int param, std::vector<std::string> choices, int initial) {
    FieldSpec f = RadioField(std::move(label), param, std::move(choices), initial);
    f.kind = FieldKind::Choice;
    return f;
}

FieldSpec ColourField(std::string label, int param, std::string initial) {
    FieldSpec f = TextField(std::move(label), param, 0, std::move(initial));
    f.kind = FieldKind::Colour;
    return f;
}

FieldSpec OptionsField(std::string label, int param, std::vector<std::string> choices, OptionsRule rule) {
    FieldSpec f = TextField(std::move(label), param);
    f.kind = FieldKind::Options;
    f.choices = std::move(choices);
    f.options = rule;
    return f;
}

FieldSpec EventField(std::string label, int param, unsigned pickers) {
    FieldSpec f = TextField(std::move(label), param, pickers);
    f.kind = FieldKind::Event;
    f.load = LoadRule::Always;
    return f;
}

FieldSpec HotKeyField(std::string label, int param, HotKeyCodec codec) {
    FieldSpec f = TextField(std::move(label), param);
    f.kind = FieldKind::HotKey;
    f.hotKey = codec;
    return f;
}

FieldSpec NoteField(std::string label, NoteStyle style, int lines) {
    FieldSpec f = TextField(std::move(label), -1);
    f.kind = FieldKind::Note;
    f.note = style;
    f.lines = lines;
    return f;
}

FieldSpec RectangleField(std::string label, int param) {
    return TextField(std::move(label), param, kRectanglePickers).Always();
}

bool FieldState::operator==(const FieldState& o) const {
    return label == o.label && choices == o.choices && text == o.text && check == o.check &&
           selection == o.selection && ticks == o.ticks && hotKey == o.hotKey && keep == o.keep &&
           enabled == o.enabled && visible == o.visible;
}

DialogModel::DialogModel(const DialogSpec& spec, const std::vector<std::string>& params) : spec_(&spec) {
    fields_.reserve(spec.fields.size());
    for (const FieldSpec& field : spec.fields) fields_.push_back(InitialState(field));
    for (size_t i = 0; i < fields_.size(); ++i) {
        const int param = spec.fields[i].param;
        if (param >= 0 && static_cast<size_t>(param) < params.size()) Load(i, params[param]);
    }
}

void DialogModel::Load(size_t i, const std::string& text) {
    const FieldSpec& spec = spec_->fields[i];
    FieldState& field = fields_[i];
    const bool ifSet = spec.load == LoadRule::IfSet;
    switch (spec.kind) {
    case FieldKind::Text:
    case FieldKind::Event:
    case FieldKind::MultiLine:
        if (!ifSet || !text.empty()) field.text = Decode(spec.codec, text);
        break;
    case FieldKind::Check: {
        bool on = false;
        if (text.empty() && ifSet) break;
        if (TryFlag(text, on))
            field.check = on ? 1 : 0;
        else
            field.keep = true;
        break;
    }
    case FieldKind::TriState: {
        bool on = false;
        if (text.empty())
            field.check = 2;
        else if (TryFlag(text, on))
            field.check = on ? 1 : 0;
        else {
            field.check = 2;
            field.keep = true;
        }
        break;
    }
    case FieldKind::Radio:
    case FieldKind::Choice:
        if (!ifSet || !text.empty()) field.selection = IndexOrNone(text, field.choices.size());
        break;
    case FieldKind::Colour:
        if (text.empty() && ifSet) break;
        if (!TryColourName(text, field.text)) field.keep = true;
        break;
    case FieldKind::Options: {
        if (text.empty() && ifSet) break;
        const std::vector<std::string> parts = SplitAt(text, ',');
        std::vector<bool> ticks(field.ticks.size(), false);
        bool readable = parts.size() <= ticks.size();
        for (size_t n = 0; n < parts.size() && n < ticks.size(); ++n) {
            bool on = false;
            if (!TryFlag(parts[n], on)) {
                readable = false;
                break;
            }
            ticks[n] = on;
        }
        if (spec.readOptions) {
            field.ticks = spec.readOptions(text, field.ticks.size());
            field.keep = !readable;
        } else if (readable || spec.options == OptionsRule::Stop) {
            field.ticks = ticks;
        } else {
            field.keep = true;
        }
        break;
    }
    case FieldKind::HotKey:
        if (text.empty() && ifSet) break;
        field.hotKey = spec.hotKey.fromText ? spec.hotKey.fromText(text) : 0;
        if (field.hotKey == 0 && !text.empty()) field.keep = true;
        break;
    case FieldKind::Note: break;
    }
}

int DialogModel::FieldOf(int param) const {
    for (size_t i = 0; i < fields_.size(); ++i)
        if (spec_->fields[i].param == param) return static_cast<int>(i);
    return -1;
}

void DialogModel::Change(int field) {
    if (field < 0 || static_cast<size_t>(field) >= fields_.size()) return;
    fields_[field].keep = false;
    if (spec_->behaviour) spec_->behaviour(*this, DialogEvent::Changed, field);
}

void DialogModel::Enter(int field) {
    if (spec_->behaviour) spec_->behaviour(*this, DialogEvent::Entered, field);
}

void DialogModel::Show() {
    if (spec_->behaviour) spec_->behaviour(*this, DialogEvent::Shown, -1);
}

void DialogModel::SetSubroutines(const std::vector<std::string>& names) {
    for (size_t i = 0; i < fields_.size(); ++i) {
        const FieldSpec& spec = spec_->fields[i];
        if (spec.kind != FieldKind::Event) continue;
        fields_[i].choices.clear();
        for (const std::string& name : names) fields_[i].choices.push_back(spec.choicePrefix + name);
    }
}

std::vector<std::optional<std::string>> DialogModel::Write(size_t paramCount) const {
    std::vector<std::optional<std::string>> out(paramCount);
    for (size_t i = 0; i < fields_.size(); ++i) {
        const FieldSpec& spec = spec_->fields[i];
        const FieldState& field = fields_[i];
        if (spec.param < 0 || static_cast<size_t>(spec.param) >= paramCount) continue;
        std::optional<std::string>& slot = out[spec.param];
        switch (spec.kind) {
        case FieldKind::Text:
        case FieldKind::Event:
        case FieldKind::MultiLine: slot = Encode(spec.codec, field.text); break;
        case FieldKind::Check:
            if (!field.keep) slot = FlagToText(field.check == 1);
            break;
        case FieldKind::TriState:
            if (!field.keep) slot = field.check == 2 ? std::string() : FlagToText(field.check == 1);
            break;
        case FieldKind::Radio:
        case FieldKind::Choice:
            if (field.selection >= 0)
                slot = std::to_string(field.selection);
            else if (spec.writesWhenNone)
                slot = spec.noneWrites;
            break;
        case FieldKind::Colour:
            if (!field.keep) slot = field.text;
            break;
        case FieldKind::Options:
            if (!field.keep) {
                std::string joined;
                for (size_t n = 0; n < field.ticks.size(); ++n)
                    joined += (n ? "," : "") + FlagToText(field.ticks[n]);
                slot = joined;
            }
            break;
        case FieldKind::HotKey:
            if (!field.keep) slot = field.hotKey && spec.hotKey.toText ? spec.hotKey.toText(field.hotKey) : "";
            break;
        case FieldKind::Note: break;
        }
    }
    return out;
}

void RefillChoices(FieldState& field, std::vector<std::string> choices, bool keepSelection, int fallback) {
    const std::string previous =
        field.selection >= 0 && static_cast<size_t>(field.selection) < field.choices.size()
            ? field.choices[field.selection]
            : std::string();
    const bool hadSelection = field.selection >= 0;
    field.choices = std::move(choices);
    field.selection = -1;
    if (keepSelection && hadSelection) {
        auto it = std::find(field.choices.begin(), field.choices.end(), previous);
        if (it != field.choices.end()) field.selection = static_cast<int>(it - field.choices.begin());
    }
    if (field.selection < 0 && fallback >= 0 && static_cast<size_t>(fallback) < field.choices.size())
        field.selection = fallback;
}

const std::vector<std::string>& ColourChoices() {
    static const std::vector<std::string> names = [] {
        std::vector<std::string> list;
        for (const NamedColor& c : ColorNames())
            if (c.value != ColorDefault && c.value != ColorNone) list.push_back(c.name);
        list.push_back("clNone");
        return list;
    }();
    return names;
}

std::string DialogCaption(const std::string& actionName) {
    const std::string bare = actionName.compare(0, 3, "qor") == 0 ? actionName.substr(3) : actionName;
    return bare + " Properties";
}

std::vector<std::string> SplitHostLines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!line.empty()) lines.push_back(line);
        start = end + 1;
    }
    return lines;
}

} // namespace qor
