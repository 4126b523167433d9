// SPDX-License-Identifier: MIT
#include "colour/CssStylesheet.h"

#include "colour/CssColour.h"

#include <QRegularExpression>

namespace {

constexpr int deepestReference = 32;
constexpr qsizetype longestValue = 64 * 1024;

} // namespace

CssStylesheet::CssStylesheet(QStringView text, const std::atomic_bool *cancel)
{
    QStringList preludes;
    QString item;
    int line = 1;
    int itemLine = 0;
    int depth = 0;  // of parentheses and brackets
    const auto finishItem = [&] {
        const QString declaration = item.trimmed();
        item.clear();
        const int at = itemLine;
        itemLine = 0;
        if (preludes.isEmpty() || declaration.isEmpty() || declaration.startsWith(u'@'))
            return;
        const qsizetype colon = declaration.indexOf(u':');
        if (colon <= 0)
            return;
        Declaration d;
        d.property = declaration.left(colon).trimmed();
        if (d.property.contains(u' ') || d.property.contains(u'\t') || d.property.contains(u'\n'))
            return;
        d.value = declaration.mid(colon + 1).trimmed();
        static const QRegularExpression important(QStringLiteral("!\\s*important\\s*$"),
                                                  QRegularExpression::CaseInsensitiveOption);
        d.value.remove(important);
        d.value = d.value.trimmed();
        d.line = at;
        for (qsizetype i = preludes.size() - 1; i >= 0 && d.selector.isEmpty(); --i) {
            if (!preludes.at(i).startsWith(u'@'))
                d.selector = preludes.at(i);
        }
        if (d.selector.isEmpty())
            d.selector = preludes.last();
        m_declarations.append(d);
    };
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        if ((i & 0xffff) == 0 && cancel && cancel->load(std::memory_order_relaxed))
            return;
        const QChar c = text[i];
        if (c == u'\n')
            ++line;
        if (c == u'/' && i + 1 < n && text[i + 1] == u'*') {
            // A comment is nothing, though the lines it spans count.
            const qsizetype end = text.indexOf(QLatin1String("*/"), i + 2);
            const qsizetype stop = end < 0 ? n : end + 2;
            line += int(text.mid(i, stop - i).count(u'\n'));
            i = stop - 1;
            item.append(u' ');
            continue;
        }
        if (itemLine == 0 && !c.isSpace())
            itemLine = line;
        if (c == u'"' || c == u'\'') {
            qsizetype end = i + 1;
            while (end < n && text[end] != c && text[end] != u'\n') {
                if (text[end] == u'\\')
                    ++end;
                ++end;
            }
            end = std::min(end, n - 1);
            item.append(text.mid(i, end - i + 1));
            line += int(text.mid(i + 1, end - i).count(u'\n'));
            i = end;
            continue;
        }
        if (c == u'(' || c == u'[')
            ++depth;
        else if ((c == u')' || c == u']') && depth > 0)
            --depth;
        if (depth == 0 && c == u'{') {
            preludes.append(item.simplified());
            item.clear();
            itemLine = 0;
        } else if (depth == 0 && c == u';') {
            finishItem();
        } else if (c == u'}') {
            // A brace closes its block even inside a parenthesis left open.
            depth = 0;
            finishItem();
            if (!preludes.isEmpty())
                preludes.removeLast();
        } else {
            item.append(c);
        }
    }
    finishItem();
    for (int i = 0; i < m_declarations.size(); ++i) {
        if (m_declarations.at(i).property.startsWith(QLatin1String("--")))
            m_last.insert(m_declarations.at(i).property, i);
    }
}

QString CssStylesheet::resolved(const QString &value, QString *why) const
{
    QStringList open;
    return resolve(value, 0, open, why);
}

QString CssStylesheet::resolve(const QString &value, int depth, QStringList &open, QString *why) const
{
    if (!value.contains(QLatin1String("var("), Qt::CaseInsensitive))
        return value;
    if (depth > deepestReference) {
        *why = QStringLiteral("var() references nest more than %1 deep").arg(deepestReference);
        return QString();
    }
    const QVector<CssToken> tokens = CssColour::tokens(value);
    QString out;
    qsizetype copied = 0;
    for (qsizetype i = 0; i < tokens.size(); ++i) {
        const CssToken &t = tokens.at(i);
        if (t.type != CssToken::Type::Function || t.text.compare(QLatin1String("var"), Qt::CaseInsensitive) != 0)
            continue;
        // Its arguments, to the matching parenthesis.
        qsizetype close = i + 1;
        int nested = 1;
        qsizetype comma = -1;
        for (; close < tokens.size(); ++close) {
            const CssToken::Type type = tokens.at(close).type;
            if (type == CssToken::Type::Function || type == CssToken::Type::Open)
                ++nested;
            else if (type == CssToken::Type::Close && --nested == 0)
                break;
            else if (type == CssToken::Type::Comma && nested == 1 && comma < 0)
                comma = close;
        }
        if (close >= tokens.size())
            break;
        const qsizetype argsEnd = comma >= 0 ? tokens.at(comma).start : tokens.at(close).start;
        const QString name = value.mid(t.end, argsEnd - t.end).trimmed();
        QString replacement;
        bool replaced = false;
        if (const auto done = m_resolved.constFind(name); done != m_resolved.constEnd()) {
            replacement = *done;
            replaced = true;
        } else if (m_last.contains(name) && !open.contains(name)) {
            open.append(name);
            replacement = resolve(m_declarations.at(m_last.value(name)).value, depth + 1, open, why);
            open.removeLast();
            replaced = why->isEmpty();
            // Each property resolved once: references that fan out would
            // otherwise cost twice as much at every level.
            if (replaced)
                m_resolved.insert(name, replacement);
        } else if (comma >= 0) {
            replacement = resolve(value.mid(tokens.at(comma).end, tokens.at(close).start - tokens.at(comma).end).trimmed(),
                                  depth + 1, open, why);
            replaced = why->isEmpty();
        }
        if (!why->isEmpty())
            return QString();
        if (replaced) {
            out += QStringView(value).mid(copied, t.start - copied);
            out += replacement;
            copied = tokens.at(close).end;
        }
        i = close;
        if (out.size() > longestValue) {
            *why = QStringLiteral("var() references expand past %1 Ki characters").arg(longestValue / 1024);
            return QString();
        }
    }
    out += QStringView(value).mid(copied);
    if (out.size() > longestValue) {
        *why = QStringLiteral("var() references expand past %1 Ki characters").arg(longestValue / 1024);
        return QString();
    }
    return out;
}
