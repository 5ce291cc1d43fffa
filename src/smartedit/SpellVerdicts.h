#pragma once
// The verdicts a spell-check engine gave, by word, kept without an allocation
// per word: the words' bytes follow one another in one buffer and an
// open-addressing table (linear probing, at most half full) points into it.
// Looked up by string_view, so a word cut out of a line is never copied to be
// found.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qor {

class SpellVerdicts {
public:
    enum class Verdict : uint8_t { Unknown, Correct, Rejected };

    // Starts over once `mostWords` are remembered or their bytes would pass
    // `mostBytes`; room for `wordsAtStart` before the first growth.
    SpellVerdicts(size_t mostWords, size_t mostBytes, size_t wordsAtStart);

    Verdict Find(std::string_view word) const;
    // `word` must not be remembered yet.
    void Remember(std::string_view word, bool correct);
    void Clear();
    size_t Size() const { return count_; }

private:
    struct Slot {
        uint32_t offset = 0;
        uint32_t length = 0;
        uint32_t hash = 0;
        Verdict verdict = Verdict::Unknown; // Unknown: the slot is free
    };

    static uint32_t Hash(std::string_view word);
    size_t SlotOf(std::string_view word, uint32_t hash) const;
    void Grow();

    size_t mostWords_;
    size_t mostBytes_;
    size_t count_ = 0;
    std::vector<Slot> slots_; // a power of two in size
    std::string bytes_;
};

} // namespace qor
