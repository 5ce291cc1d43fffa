#include "smartedit/SpellVerdicts.h"

#include <algorithm>
#include <limits>

namespace qor {

namespace {

size_t PowerOfTwoAtLeast(size_t n) {
    size_t size = 16;
    while (size < n) size *= 2;
    return size;
}

} // namespace

SpellVerdicts::SpellVerdicts(size_t mostWords, size_t mostBytes, size_t wordsAtStart)
    : mostWords_(mostWords),
      mostBytes_(std::min<size_t>(mostBytes, std::numeric_limits<uint32_t>::max())),
      slots_(PowerOfTwoAtLeast(wordsAtStart * 2)) {}

uint32_t SpellVerdicts::Hash(std::string_view word) {
    // FNV-1a: words are short, so a byte at a time is fast enough.
    uint32_t hash = 2166136261u;
    for (char c : word) hash = (hash ^ static_cast<unsigned char>(c)) * 16777619u;
    return hash;
}

// The slot that holds `word`, or the free slot where it would go.
size_t SpellVerdicts::SlotOf(std::string_view word, uint32_t hash) const {
    const size_t mask = slots_.size() - 1;
    for (size_t i = hash & mask;; i = (i + 1) & mask) {
        const Slot& slot = slots_[i];
        if (slot.verdict == Verdict::Unknown) return i;
        if (slot.hash == hash && slot.length == word.size() &&
            std::string_view(bytes_).substr(slot.offset, slot.length) == word)
            return i;
    }
}

SpellVerdicts::Verdict SpellVerdicts::Find(std::string_view word) const {
    return slots_[SlotOf(word, Hash(word))].verdict;
}

void SpellVerdicts::Remember(std::string_view word, bool correct) {
    // A word that could never fit is judged again each time.
    if (word.size() > mostBytes_) return;
    if (count_ >= mostWords_ || bytes_.size() + word.size() > mostBytes_) Clear();
    if ((count_ + 1) * 2 > slots_.size()) Grow();
    const uint32_t hash = Hash(word);
    Slot& slot = slots_[SlotOf(word, hash)];
    slot = {static_cast<uint32_t>(bytes_.size()), static_cast<uint32_t>(word.size()), hash,
            correct ? Verdict::Correct : Verdict::Rejected};
    bytes_.append(word);
    ++count_;
}

void SpellVerdicts::Grow() {
    std::vector<Slot> old(slots_.size() * 2);
    old.swap(slots_);
    const size_t mask = slots_.size() - 1;
    for (const Slot& slot : old) {
        if (slot.verdict == Verdict::Unknown) continue;
        size_t i = slot.hash & mask;
        while (slots_[i].verdict != Verdict::Unknown) i = (i + 1) & mask;
        slots_[i] = slot;
    }
}

void SpellVerdicts::Clear() {
    std::fill(slots_.begin(), slots_.end(), Slot{});
    bytes_.clear();
    count_ = 0;
}

} // namespace qor
