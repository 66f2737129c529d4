#include "engine/sql/format/AccessFormat.h"

#include <cstdio>
#include <cstdlib>

namespace quarix::engine::sql::format {

RoundedDigits roundDecimal(double value, int decimals) {
    RoundedDigits out;
    if (value > 0) {
        char buf[40];
        std::snprintf(buf, sizeof buf, "%.14e",
                      value); // d.dddddddddddddde+XX: 15 significant digits
        std::string digits = std::string(1, buf[0]) + std::string(buf + 2, 14);
        int point = std::atoi(buf + 17) + 1; // digits before the decimal point
        const int keep = point + decimals;
        if (keep < 0) {
            digits.clear();
        } else if (keep < static_cast<int>(digits.size())) {
            const bool up = digits[static_cast<std::size_t>(keep)] >= '5';
            digits.resize(static_cast<std::size_t>(keep));
            if (up) {
                int i = keep - 1;
                for (; i >= 0 && digits[static_cast<std::size_t>(i)] == '9'; --i)
                    digits[static_cast<std::size_t>(i)] = '0';
                if (i >= 0) {
                    ++digits[static_cast<std::size_t>(i)];
                } else {
                    digits.insert(digits.begin(), '1');
                    ++point;
                }
            }
        }
        if (point > 0) {
            out.whole = digits.substr(0, std::min(digits.size(), static_cast<std::size_t>(point)));
            out.whole.append(static_cast<std::size_t>(point) - out.whole.size(), '0');
            digits.erase(0, std::min(digits.size(), static_cast<std::size_t>(point)));
        } else {
            digits.insert(0, static_cast<std::size_t>(-point), '0');
        }
        out.fraction =
            digits.substr(0, std::min(digits.size(), static_cast<std::size_t>(decimals)));
        const std::size_t nonZero = out.whole.find_first_not_of('0');
        out.whole = nonZero == std::string::npos ? "" : out.whole.substr(nonZero);
    }
    out.fraction.append(static_cast<std::size_t>(decimals) - out.fraction.size(), '0');
    return out;
}

} // namespace quarix::engine::sql::format
