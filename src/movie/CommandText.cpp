// SPDX-License-Identifier: MIT
#include "movie/CommandText.h"

#include <QString>

#include <cmath>

namespace CommandText {

bool equalsNumber(const QString &text, long long n)
{
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    return ok && std::isfinite(value) && value == double(n);
}

} // namespace CommandText
