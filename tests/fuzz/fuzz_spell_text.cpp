// Spell-check text rules on untrusted bytes (editor lines, the custom word
// list, a dictionary's first bytes): words are non-empty runs of
// non-delimiters inside the line, in order; the word at any column lies in
// the line; the word list survives a write and a read.
#include "FuzzSupport.h"
#include "smartedit/SpellText.h"

using namespace qor;
using namespace qor::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string text = Text(data, size);
    size_t end = 0;
    for (const WordSpan& word : SplitWords(text)) {
        Require(word.length > 0 && word.start >= end && word.start + word.length <= text.size(), "word outside line");
        Require(word.start == 0 || IsWordDelimiter(text[word.start - 1]), "word not maximal at its start");
        for (size_t i = word.start; i < word.start + word.length; ++i)
            Require(!IsWordDelimiter(text[i]), "delimiter inside a word");
        const WordSpan inner = StripEnclosingQuotes(text, word);
        Require(inner.start >= word.start && inner.start + inner.length <= word.start + word.length, "quotes widened");
        end = word.start + word.length;
    }
    for (size_t column = 0; column <= text.size() + 1; column += 1 + column / 7) {
        const WordSpan at = WordAtColumn(text, column);
        Require(at.length == 0 || at.start + at.length <= text.size(), "caret word outside line");
    }
    const std::vector<std::string> words = ParseWordList(text);
    for (const std::string& word : words)
        Require(!word.empty() && word.find_first_of("\r\n") == std::string::npos, "word list entry holds a break");
    Require(ParseWordList(FormatWordList(words)) == words, "word list did not survive a write and a read");
    LooksLikeDictionary(text);
    SplitSpellOptions(text);
    return 0;
}
