#include "smartedit/EditCharFromPoint.h"

#include <cstdlib>

namespace qor {

namespace {

// The number nearest to `around` whose low 16 bits are `low`.
int NearestWithLowWord(int around, unsigned low) {
    int delta = static_cast<int>((low - static_cast<unsigned>(around)) & 0xFFFFu);
    if (delta >= 0x8000) delta -= 0x10000;
    return around + delta;
}

} // namespace

int EditCharFromPoint(HWND edit, POINT client) {
    const LRESULT hit = SendMessageA(edit, EM_CHARFROMPOS, 0, MAKELPARAM(client.x, client.y));
    const unsigned lowChar = LOWORD(hit);
    const unsigned lowLine = HIWORD(hit);
    // The line: the one with those low bits nearest to the first visible line.
    const int lineCount = static_cast<int>(SendMessageA(edit, EM_GETLINECOUNT, 0, 0));
    const int firstVisible = static_cast<int>(SendMessageA(edit, EM_GETFIRSTVISIBLELINE, 0, 0));
    int line = NearestWithLowWord(firstVisible, lowLine);
    if (line < 0) line = 0;
    if (line > lineCount - 1) line = lineCount - 1;
    const int lineStart = static_cast<int>(SendMessageA(edit, EM_LINEINDEX, line, 0));
    if (lineStart < 0) return lowChar;
    const int lineLength = static_cast<int>(SendMessageA(edit, EM_LINELENGTH, lineStart, 0));
    // The character: inside that line, with the reported low bits; of several
    // such places (lines over 65,535 characters) the one nearest the point.
    int best = -1;
    long bestDistance = 0;
    for (int offset = static_cast<int>((lowChar - static_cast<unsigned>(lineStart)) & 0xFFFFu); offset <= lineLength;
         offset += 0x10000) {
        const int candidate = lineStart + offset;
        const LRESULT at = SendMessageA(edit, EM_POSFROMCHAR, candidate, 0);
        const long distance = at == -1 ? 0 : std::labs(static_cast<short>(LOWORD(at)) - client.x);
        if (best < 0 || distance < bestDistance) {
            best = candidate;
            bestDistance = distance;
        }
    }
    return best >= 0 ? best : lineStart + lineLength;
}

} // namespace qor
