#pragma once
// The search state of a list-like control: the matches of the last extended
// search and the cursor that qorListFindNextItemEx moves through them.
#include <optional>
#include <string>
#include <vector>

namespace qor {

struct ListSearchState {
    std::vector<std::string> FindResults; // one-based item numbers, ascending, in decimal
    int FindPosition = 0;                 // index of the match last reported

    void Reset() {
        FindResults.clear();
        FindPosition = 0;
    }

    // Starts a new report over `results`: the first match, or "" when none.
    std::string Start(std::vector<std::string> results) {
        FindResults = std::move(results);
        FindPosition = 0;
        return FindResults.empty() ? std::string() : FindResults.front();
    }

    // Nothing while there are no results; the next match while there is one;
    // past the last match the state is emptied and "" reported once.
    std::optional<std::string> Next() {
        if (FindResults.empty()) return std::nullopt;
        if (FindPosition < static_cast<int>(FindResults.size()) - 1) return FindResults[++FindPosition];
        Reset();
        return std::string();
    }
};

} // namespace qor
