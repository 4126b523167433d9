// SPDX-License-Identifier: MIT
#include "app/NativeFileNames.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QHash>
#include <QList>
#include <QPair>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <unistd.h>

namespace NativeFileNames {
namespace {

struct Links
{
    QByteArray folder;            // the private folder, made at first need
    QList<QByteArray> made;       // the links in it
    QList<QPair<QString, QString>> aliases;  // link path, name as given
    QHash<QString, QByteArray> given;         // option -> bytes
    QByteArray writtenAt;         // where forWriting's file is written
    QByteArray writtenTo;         // the name it is moved to

    ~Links()
    {
        for (const QByteArray &link : made)
            ::unlink(link.constData());
        if (!folder.isEmpty())
            ::rmdir(folder.constData());
    }
};

Links &links()
{
    static Links instance;
    return instance;
}

bool survivesAsText(const QByteArray &bytes)
{
    return QFile::encodeName(QFile::decodeName(bytes)) == bytes;
}

QByteArray absolute(const QByteArray &bytes)
{
    if (bytes.startsWith('/'))
        return bytes;
    char *here = ::getcwd(nullptr, 0);
    const QByteArray path = QByteArray(here ? here : ".") + '/' + bytes;
    std::free(here);
    return path;
}

// The ending of a name (".gpl"), which chooses a file's format; none when
// it is not plain ASCII.
QByteArray endingOf(const QByteArray &bytes)
{
    const int slash = bytes.lastIndexOf('/');
    const int dot = bytes.lastIndexOf('.');
    if (dot <= slash + 1)
        return {};
    const QByteArray ending = bytes.mid(dot);
    for (char c : ending)
        if (static_cast<unsigned char>(c) >= 0x80 || c == '/')
            return {};
    return ending;
}

// A link in the private folder named name, pointing at target.
QString makeLink(const QByteArray &name, const QByteArray &target)
{
    Links &l = links();
    if (l.folder.isEmpty()) {
        QByteArray pattern = QFile::encodeName(QDir::tempPath()) + "/tesselle-names-XXXXXX";
        if (!::mkdtemp(pattern.data()))
            return {};
        l.folder = pattern;
    }
    const QByteArray path = l.folder + '/' + name;
    ::unlink(path.constData());
    if (::symlink(target.constData(), path.constData()) != 0)
        return {};
    l.made.append(path);
    return QFile::decodeName(path);
}

} // namespace

void capture(int argc, char *argv[])
{
    for (int i = 1; i < argc; ++i) {
        QByteArray argument(argv[i]);
        if (argument == "--")
            break;
        for (const char *option : {"database", "import", "export"}) {
            for (const QByteArray &dashes : {QByteArray("--"), QByteArray("-")}) {
                const QByteArray name = dashes + option;
                if (argument == name && i + 1 < argc)
                    links().given.insert(QString::fromLatin1(option), QByteArray(argv[i + 1]));
                else if (argument.startsWith(name + '='))
                    links().given.insert(QString::fromLatin1(option), argument.mid(name.size() + 1));
            }
        }
    }
}

QString forOpening(const QString &option, const QString &given)
{
    const QByteArray bytes = links().given.value(option);
    if (bytes.isEmpty() || survivesAsText(bytes))
        return given;
    const QString path = makeLink(option.toLatin1() + endingOf(bytes), absolute(bytes));
    if (path.isEmpty())
        return given;
    links().aliases.append({path, QFile::decodeName(bytes)});
    return path;
}

QString forWriting(const QString &given)
{
    const QByteArray bytes = links().given.value(QStringLiteral("export"));
    if (bytes.isEmpty() || survivesAsText(bytes))
        return given;
    // Written beside the file named, under a name of our own, through a
    // link to its folder; then renamed to the name as given, at once.
    const QByteArray full = absolute(bytes);
    const QByteArray folder = full.left(full.lastIndexOf('/') + 1);
    const QString folderLink = makeLink("export-folder", folder);
    if (folderLink.isEmpty())
        return given;
    const QByteArray name = ".tesselle-export-" + QByteArray::number(::getpid()) + endingOf(bytes);
    links().writtenAt = folder + name;
    links().writtenTo = full;
    const QString path = folderLink + QLatin1Char('/') + QFile::decodeName(name);
    links().aliases.append({path, QFile::decodeName(bytes)});
    return path;
}

bool finishWriting(QString *error)
{
    Links &l = links();
    if (l.writtenAt.isEmpty())
        return true;
    if (::rename(l.writtenAt.constData(), l.writtenTo.constData()) == 0)
        return true;
    if (error)
        *error = QString::fromLocal8Bit(std::strerror(errno));
    ::unlink(l.writtenAt.constData());
    return false;
}

QString shown(const QString &text)
{
    QString result = text;
    for (const auto &alias : links().aliases)
        result.replace(alias.first, alias.second);
    return result;
}

} // namespace NativeFileNames
