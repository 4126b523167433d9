// SPDX-License-Identifier: MIT
#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <QVector>

#include <atomic>

// The declarations of a stylesheet, read as CSS is (blocks, not lines:
// a minified sheet is one line), comments passed over, strings and
// parentheses kept whole. Each is given with the rule it stands in (the
// nearest selector; an at-rule's prelude when there is none) and the line
// it begins on. var() references are resolved within the sheet, the last
// definition of a custom property being the one taken.
class CssStylesheet
{
public:
    struct Declaration
    {
        QString selector;
        QString property;  // as written: --name, or color, border, ...
        QString value;     // without !important
        int line = 0;
    };

    // cancel, when given, is looked at every 64 Ki characters; a sheet
    // cancelled holds the declarations read until then.
    explicit CssStylesheet(QStringView text, const std::atomic_bool *cancel = nullptr);

    const QVector<Declaration> &declarations() const { return m_declarations; }

    // value with its var() references replaced by the custom properties'
    // values, or their fallbacks; a reference neither resolves stays as
    // written. Empty with why set when the references nest too deep or
    // expand past 64 Ki characters.
    QString resolved(const QString &value, QString *why) const;

private:
    QString resolve(const QString &value, int depth, QStringList &open, QString *why) const;

    QVector<Declaration> m_declarations;
    QHash<QString, int> m_last;  // a custom property's last definition
    mutable QHash<QString, QString> m_resolved;
};
