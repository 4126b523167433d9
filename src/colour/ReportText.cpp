// SPDX-License-Identifier: MIT
#include "colour/ReportText.h"

QString ReportText::cut(QStringView text, int characters)
{
    qsizetype at = 0;
    int counted = 0;
    while (at < text.size() && counted < characters) {
        at += text[at].isHighSurrogate() && at + 1 < text.size() && text[at + 1].isLowSurrogate() ? 2 : 1;
        ++counted;
    }
    if (at >= text.size())
        return text.toString();
    return text.left(at).toString() + QChar(0x2026);
}
