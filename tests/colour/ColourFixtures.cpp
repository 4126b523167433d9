// SPDX-License-Identifier: MIT
#include "ColourFixtures.h"

#include "colour/ColourSpace.h"

#include <QFile>
#include <QStringList>
#include <QtDebug>

QVector<CardColour> ColourFixtures::shippedCard()
{
    QFile file(QStringLiteral(TESSELLE_SOURCE_DIR "/data/card5327.csv"));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        qWarning() << "cannot read" << file.fileName();
        return {};
    }
    const QStringList header = QString::fromUtf8(file.readLine()).trimmed().split(u',');
    const int sn = header.indexOf(QStringLiteral("Sn"));
    const int code = header.indexOf(QStringLiteral("Code"));
    const int r = header.indexOf(QStringLiteral("R"));
    const int g = header.indexOf(QStringLiteral("G"));
    const int b = header.indexOf(QStringLiteral("B"));
    if (sn < 0 || code < 0 || r < 0 || g < 0 || b < 0) {
        qWarning() << "unexpected header" << header;
        return {};
    }
    QVector<CardColour> card;
    while (!file.atEnd()) {
        const QStringList fields = QString::fromUtf8(file.readLine()).trimmed().split(u',');
        if (fields.size() != header.size())
            continue;
        CardColour colour;
        colour.sn = fields[sn].toInt();
        colour.code = fields[code];
        colour.rgb = qRgb(fields[r].toInt(), fields[g].toInt(), fields[b].toInt());
        colour.lab = ColourSpace::labFromRgb(colour.rgb);
        card.append(colour);
    }
    return card;
}

QVector<CardColour> ColourFixtures::generatedCard(int count, quint32 seed)
{
    std::mt19937 random(seed);
    QVector<CardColour> card;
    card.reserve(count);
    for (int i = 1; i <= count; ++i) {
        CardColour colour;
        colour.sn = i;
        colour.code = QStringLiteral("G%1").arg(i);
        colour.rgb = randomRgb(random);
        colour.lab = ColourSpace::labFromRgb(colour.rgb);
        card.append(colour);
    }
    return card;
}

QRgb ColourFixtures::randomRgb(std::mt19937 &random)
{
    const quint32 bits = random();
    return qRgb(int(bits & 0xff), int((bits >> 8) & 0xff), int((bits >> 16) & 0xff));
}
