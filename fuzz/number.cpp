// The lenient number reader of boxes and files, checked against itself: a
// number is always finite, the strict form agrees with it, and the number
// forms the program writes read back.

#include "FuzzSupport.h"
#include "app/TextFormat.h"

#include <cmath>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    using namespace zt;
    const QString text = QString::fromUtf8(fuzz::bytesOf(data, size));
    const double v = readNumber(text);
    double strict = 0;
    const bool found = readNumberStrict(text, &strict);
    if (!std::isfinite(v) || (found && strict != v) || (!found && v != 0))
        abort();
    (void)wholeNumberOf(text);
    (void)toWholeNumber(v);
    if (readNumber(numberText(v)) == 0 && v != 0 && std::fabs(v) > 1e-300)
        abort();
    (void)gridNumberText(v);
    (void)roundTo(v, 2);
    return 0;
}
