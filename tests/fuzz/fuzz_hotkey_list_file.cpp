// Hot key list files: decoding any bytes, with or without decryption, never
// fails, and lines without line breaks survive a write and a read.
#include "FuzzSupport.h"
#include "core/TextLines.h"
#include "hotkeys/HotKeyList.h"

using namespace qor;
using namespace qor::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string bytes = Text(data, size);
    const auto decrypted = DecodeListFile(bytes, true);
    const auto plain = DecodeListFile(bytes, false);
    // Decryption reads the lines, rejoins them with CR LF, decodes and decrypts.
    Require(decrypted == SplitLines(Rc4(ListFileKey(), Base64Decode(JoinListLines(plain)))),
            "decryption differs from its definition");
    for (const auto& line : plain)
        Require(line.find_first_of("\r\n") == std::string::npos, "a line holds a line break");
    // What was read is written and read back unchanged, in both forms.
    for (const auto* lines : {&decrypted, &plain}) {
        Require(DecodeListFile(EncodeListFile(*lines, false), false) == *lines, "plain round trip");
        Require(DecodeListFile(EncodeListFile(*lines, true), true) == *lines, "encrypted round trip");
    }
    Require(Base64Decode(Base64Encode(bytes)) == bytes, "Base64 round trip");
    return 0;
}
