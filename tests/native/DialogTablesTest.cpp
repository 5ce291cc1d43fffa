// The editing-dialog tables of every kind, on the model: what a new action
// accepted at once writes, what stored texts survive, and the behaviours.
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "core/EditDialog.h"
#include "host/ActionCatalogue.h"
#include "host/EditRoutes.h"

using namespace qor;

namespace {

using Writes = std::vector<std::optional<std::string>>;
using Texts = std::vector<std::string>;

DialogSpec SpecFor(int32_t id) {
    for (const EditRoute& route : EditRoutes())
        if (route.id == id) return route.dialog(id);
    ADD_FAILURE() << "no dialog for " << id;
    return {};
}

// What OK writes at once for these stored texts; unwritten entries keep theirs.
Texts Confirm(int32_t id, Texts params) {
    const DialogSpec spec = SpecFor(id);
    DialogModel model(spec, params);
    model.Show();
    const Writes out = model.Write(params.size());
    for (size_t i = 0; i < params.size(); ++i)
        if (out[i]) params[i] = *out[i];
    return params;
}

Texts Empty(int32_t id) { return Texts(FindAction(id)->count, ""); }

TEST(DialogTables, EveryRouteFitsItsActionsParameters) {
    std::set<int32_t> seen;
    for (const EditRoute& route : EditRoutes()) {
        EXPECT_TRUE(seen.insert(route.id).second) << "routed twice: " << route.id;
        const CatalogueEntry* entry = FindAction(route.id);
        ASSERT_NE(entry, nullptr) << route.id;
        const DialogSpec spec = route.dialog(route.id);
        std::set<int> params;
        for (const FieldSpec& field : spec.fields) {
            EXPECT_LT(field.param, entry->count) << route.id << " " << field.label;
            if (field.param >= 0) {
                EXPECT_TRUE(params.insert(field.param).second) << route.id << " " << field.label;
            }
        }
        // A parameter that no field shows may only be the hot key focus's second one.
        if (route.id != 72) {
            EXPECT_EQ(params.size(), static_cast<size_t>(entry->count)) << route.id;
        }
    }
}

TEST(DialogTables, ANewActionConfirmedAtOnceWritesTheDefaults) {
    const std::map<int32_t, Texts> expected = {
        {3, {"", "False"}},
        {5, {"", "False", "False", "", "0", "0", "", "0", "1", ""}},
        {18, {"", "False", "False", "", "0", "0", "", "0", "1", ""}},
        {14, {"", "", "", "", "", "clNone", "0", ""}},
        {19, {"", "", "", "", "clNone"}},
        {16, {"", "", "0"}},
        {6, {"", "0", ""}},
        {7, {"", "1", ""}},
        {8, {"", "1"}},
        {10, {"", "1", ""}},
        {11, {"", "1", "1"}},
        {13, {"", "0"}},
        {57, {"", "0", "0", "", "", ""}},
        {25, {"", "", "", "", "", "", "clNone", "4", "3"}},
        {27, {"", "", "0"}},
        {40, {"", "1", "1"}},
        {41, {"", "1", "1"}},
        {42, {"", "0", ""}},
        {43, {"", "1", "1"}},
        {73, {"", "", "False,False,False,False"}},
    };
    for (const auto& [id, texts] : expected) EXPECT_EQ(Confirm(id, Empty(id)), texts) << id;
}

TEST(DialogTables, StoredTextsTheFieldsCannotShowSurvive) {
    // Flags, colours and choices holding variable references; the three-state
    // boxes keep theirs too (the mended rule).
    EXPECT_EQ(Confirm(5, {"R", "[s]", "[d]", "a[#34]b", "[m]", "[n]", ";", "[st]", "[r]", "[V]"}),
              (Texts{"R", "[s]", "[d]", "a[#34]b", "[m]", "[n]", ";", "[st]", "[r]", "[V]"}));
    EXPECT_EQ(Confirm(14, {"R", "[a]", "1", "false", "[f]", "[c]", "[w]", "[t]"}),
              (Texts{"R", "[a]", "True", "False", "[f]", "[c]", "[w]", "[t]"}));
    EXPECT_EQ(Confirm(25, {"R", "[ro]", "", "TRUE", "", "[f]", "[c]", "[s]", "[a]"}),
              (Texts{"R", "[ro]", "", "True", "", "[f]", "[c]", "[s]", "-1"}))
        << "only the alignment list writes -1 without a selection";
    EXPECT_EQ(Confirm(73, {"R", "", "True,abc,True,True"}), (Texts{"R", "", "True,False,False,False"}));
    EXPECT_EQ(Confirm(18, {"R", "", "", "say \"hi\"[#13][#10]x", "1", "2", ";", "1", "0", "[V]"}),
              (Texts{"R", "False", "False", "say \"hi\"[#13][#10]x", "1", "2", ";", "1", "0", "[V]"}));
}

TEST(DialogTables, CreateListDialogsFollowTheItemsMode) {
    for (int32_t id : {5, 18}) {
        const DialogSpec spec = SpecFor(id);
        DialogModel m(spec, Empty(id));
        m.Show();
        const int mode = m.FieldOf(4), display = m.FieldOf(5), delimiter = m.FieldOf(6), result = m.FieldOf(8);
        EXPECT_FALSE(m[display].enabled);
        EXPECT_FALSE(m[delimiter].enabled);
        EXPECT_EQ(m[result].choices, (Texts{"Number", "Text"}));
        m[mode].selection = 1;
        m.Change(mode);
        EXPECT_TRUE(m[display].enabled);
        EXPECT_TRUE(m[delimiter].enabled);
        EXPECT_EQ(m[result].choices, (Texts{"Number", "Array"}));
    }
}

TEST(DialogTables, FindItemExRefillsSearchTypesAndShowsTheColumnField) {
    const DialogSpec spec = SpecFor(57);
    DialogModel stored(spec, {"R", "0", "2", "3", "x", "[V]"});
    stored.Show();
    EXPECT_EQ(stored[2].choices, (Texts{"Exact match", "Partial match"}));
    EXPECT_EQ(stored[2].selection, -1) << "the stored choice is not in the String list";
    EXPECT_FALSE(stored[3].visible);

    DialogModel m(spec, {"R", "1", "2", "3", "x", "[V]"});
    m.Show();
    EXPECT_EQ(m[2].selection, 2);
    EXPECT_TRUE(m[3].visible);
    m[1].selection = 0;
    m.Change(1);
    EXPECT_EQ(m[2].selection, 0) << "Exact match";
    EXPECT_FALSE(m[3].visible);
    m[2].selection = 1;
    m.Change(2);
    m[1].selection = 1;
    m.Change(1);
    EXPECT_EQ(m[2].selection, 1) << "Partial match is kept";
    EXPECT_FALSE(m[3].visible);
    m[2].selection = 2;
    m.Change(2);
    EXPECT_TRUE(m[3].visible);
    EXPECT_EQ(m.Write(6)[3], std::optional<std::string>("3")) << "a hidden field is still written";
}

} // namespace
