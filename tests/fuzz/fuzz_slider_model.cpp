// The slider's numbers from script input: any sequence of setter calls keeps
// minimum < maximum with the value inside, and any size, thumb and pointer
// give positions inside the client area and values inside the range, without
// overflow (UBSan aborts on it).
#include <cstring>

#include "FuzzSupport.h"
#include "trackbar/SliderModel.h"

using namespace qor;
using namespace qor::fuzz;

namespace {

int32_t Next(const uint8_t*& data, size_t& size) {
    int32_t value = 0;
    const size_t n = size < sizeof value ? size : sizeof value;
    std::memcpy(&value, data, n);
    data += n;
    size -= n;
    return value;
}

void CheckRange(const SliderRange& range) {
    Require(range.Minimum() < range.Maximum(), "minimum not below maximum");
    Require(range.Value() >= range.Minimum() && range.Value() <= range.Maximum(), "value outside the range");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    SliderRange range;
    const int setters = size > 0 ? data[0] % 8 : 0;
    for (int i = 0; i < setters && size > 0; ++i) {
        const uint8_t which = data[0] % 4;
        ++data;
        --size;
        const int32_t number = Next(data, size);
        switch (which) {
        case 0: range.SetMinimum(number); break;
        case 1: range.SetMaximum(number); break;
        case 2: range.SetValue(number); break;
        default: range.SetValue(range.Stepped(number % 3 - 1)); break;
        }
        CheckRange(range);
    }
    const int width = Next(data, size), height = Next(data, size);
    const int thumbWidth = Next(data, size), thumbHeight = Next(data, size);
    const int x = Next(data, size), y = Next(data, size);
    for (SliderOrientation orientation : {SliderOrientation::Horizontal, SliderOrientation::Vertical}) {
        const SliderLayout layout(width, height, orientation, thumbWidth, thumbHeight);
        const SliderRect thumb = layout.Thumb(range);
        Require(thumb.left <= thumb.right && thumb.top <= thumb.bottom, "inverted thumb");
        const SliderRect track = layout.Track();
        Require(track.left <= track.right && track.top <= track.bottom, "inverted track");
        const int grab = layout.GrabOffset(range, x, y);
        const int32_t value = layout.ValueAt(range, x, y, grab);
        Require(value >= range.Minimum() && value <= range.Maximum(), "pointer value outside the range");
    }
    return 0;
}
