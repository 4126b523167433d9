// SPDX-License-Identifier: MIT
#include "movie/MovieDocument.h"

#include <QFile>
#include <QFileInfo>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>
#include <QtDebug>

#include <algorithm>
#include <climits>
#include <cmath>
#include <utility>

namespace {

// An attribute or element name's prefix, empty when it has none.
QStringView prefixOf(QStringView qualifiedName)
{
    const qsizetype colon = qualifiedName.indexOf(QLatin1Char(':'));
    return colon < 0 ? QStringView() : qualifiedName.left(colon);
}

// Inline data exactly as the renderer takes it: anything else, "DATA:" or
// " data:" included, it reads as the path of a file.
bool isDataUri(QStringView value)
{
    return value.startsWith(QLatin1String("data:"));
}

// Inline data of a raster image the renderer draws by itself. Other data,
// an SVG image above all, would be drawn by a reader that follows its own
// references to other files.
bool isRasterImageData(QStringView value)
{
    if (!isDataUri(value))
        return false;
    const qsizetype marker = value.lastIndexOf(QLatin1String("base64,"));
    if (marker < 0)
        return false;
    const QByteArray bytes = QByteArray::fromBase64(value.mid(marker + 7).toLatin1());
    static const QByteArray signatures[] = {
        QByteArray("\x89PNG\r\n\x1a\n", 8),  // PNG
        QByteArray("\xff\xd8\xff", 3),         // JPEG
        QByteArray("GIF87a"),
        QByteArray("GIF89a"),
    };
    for (const QByteArray &signature : signatures) {
        if (bytes.startsWith(signature))
            return true;
    }
    return false;
}

// A reference the renderer resolves inside the movie itself: a fragment or
// inline data. Anything else would make it read another file.
bool staysInside(QStringView value)
{
    const QStringView trimmed = value.trimmed();
    return trimmed.startsWith(QLatin1Char('#')) || isDataUri(trimmed);
}

QStringView hrefOf(const QXmlStreamAttributes &attributes)
{
    for (const QXmlStreamAttribute &attribute : attributes) {
        if (attribute.name() == QLatin1String("href"))
            return attribute.value();
    }
    return QStringView();
}

// A clock value ("2s", "500ms", "1.5") in ms, or -1 when it is not one.
double clockMs(QStringView value)
{
    QStringView text = value.trimmed();
    double scale = 1000;
    if (text.endsWith(QLatin1String("ms"))) {
        text.chop(2);
        scale = 1;
    } else if (text.endsWith(QLatin1Char('s'))) {
        text.chop(1);
    }
    bool ok = false;
    const double number = text.trimmed().toDouble(&ok);
    return ok && std::isfinite(number) && number >= 0 ? number * scale : -1;
}

bool isAnimation(QStringView name)
{
    return name == QLatin1String("animate") || name == QLatin1String("animateColor")
        || name == QLatin1String("animateTransform") || name == QLatin1String("animateMotion")
        || name == QLatin1String("set");
}

QStringList lookList(QStringView value)
{
    // Names are separated by white space or commas, in any number.
    QStringList names;
    QString name;
    for (const QChar c : value) {
        if (c.isSpace() || c == QLatin1Char(',')) {
            if (!name.isEmpty())
                names.append(std::exchange(name, QString()));
        } else {
            name.append(c);
        }
    }
    if (!name.isEmpty())
        names.append(name);
    return names;
}

} // namespace

// One piece of the movie as read, enough to write it out again in any look.
struct MovieDocument::Token
{
    enum Kind : quint8 { StartDocument, EndDocument, StartElement, EndElement, Characters, CData };
    Kind kind;
    QString text;  // the element's qualified name, or the character data
    QVector<std::pair<QString, QString>> attributes;  // kept ones, in order
    bool declaresLook = false;
    QStringList looks;  // the looks that show the element, when it declares any
    bool cardPaint = false;  // its fill is a card colour
    // The scales that draw the element: all, or only one (mv:pixels).
    enum Pixels : quint8 { AnyScale, OnePixel, OtherScales };
    Pixels pixels = AnyScale;
};

struct MovieDocument::Copies
{
    QVector<Token> tokens;
    // By look ("" for all), then by whether one unit is one device pixel.
    QHash<std::pair<QString, bool>, QByteArray> written;
    MovieDocument::CardPaint paint;
};

QString MovieDocument::movieNamespace()
{
    return QStringLiteral("urn:x-tesselle:movie");
}

const QStringList &MovieDocument::lookNames()
{
    static const QStringList names{QStringLiteral("normal"), QStringLiteral("hover"),
                                   QStringLiteral("pressed")};
    return names;
}

bool MovieDocument::readFile(const QString &path, QByteArray *data)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        qWarning("Movie %s cannot be opened: %s", qPrintable(path), qPrintable(file.errorString()));
        return false;
    }
    // Read in pieces up to one byte past the limit rather than trusting the
    // reported size, which special files do not give, and without setting
    // aside room for the largest movie allowed each time.
    data->clear();
    char piece[64 * 1024];
    while (data->size() <= MaxFileSize) {
        const qint64 got = file.read(piece, sizeof piece);
        if (got <= 0)
            break;
        data->append(piece, got);
    }
    if (data->size() > MaxFileSize) {
        qWarning("Movie %s is larger than %lld bytes and is not loaded", qPrintable(path),
                 static_cast<long long>(MaxFileSize));
        return false;
    }
    if (file.error() != QFileDevice::NoError) {
        qWarning("Movie %s cannot be read: %s", qPrintable(path), qPrintable(file.errorString()));
        return false;
    }
    return true;
}

MovieDocument MovieDocument::fromFileData(const QString &path, const QByteArray &data)
{
    // Two controls often play one file: rewrite the same bytes only once.
    struct Cached
    {
        QByteArray source;
        MovieDocument document;
    };
    static QHash<QString, Cached> cache;
    const QString key = QFileInfo(path).absoluteFilePath();
    if (const auto it = cache.constFind(key); it != cache.cend() && it->source == data)
        return it->document;
    MovieDocument document = fromData(data, path);
    cache.insert(key, Cached{data, document});
    return document;
}

bool MovieDocument::mayActByItself(const QByteArray &data)
{
    // Attribute and element names stand in the file as they are, unless the
    // text is not in an 8-bit encoding (it then holds zero bytes) or a
    // document type declaration could produce elements from entities.
    static const char *const markers[] = {"timer-after", "<animate", "<set", "<!DOCTYPE"};
    if (data.contains('\0'))
        return true;
    return std::any_of(std::begin(markers), std::end(markers),
                       [&data](const char *marker) { return data.contains(marker); });
}

MovieDocument MovieDocument::fromData(const QByteArray &data, const QString &name)
{
    const QString label = name.isEmpty() ? QStringLiteral("(in memory)") : name;
    MovieDocument document;
    QString error;
    if (!document.read(data, true, &error)) {
        // A prefix used without its declaration stops a namespace-aware
        // reader, while the renderer still draws the file: read it again
        // without namespaces, so it plays, but without its commands.
        MovieDocument plain;
        QString plainError;
        if (!plain.read(data, false, &plainError)) {
            qWarning("Movie %s is not a readable SVG document: %s", qPrintable(label),
                     qPrintable(error));
            return MovieDocument();
        }
        qWarning("Movie %s: %s; it is shown without its commands", qPrintable(label),
                 qPrintable(error));
        document = std::move(plain);
    }
    document.m_valid = true;
    return document;
}

void MovieDocument::setCardPaint(CardPaint paint)
{
    if (!m_copies || !m_hasCardPaint)
        return;
    // Copies are shared by every document of the same file: this one's own.
    auto copies = std::make_shared<Copies>();
    copies->tokens = m_copies->tokens;
    copies->paint = std::move(paint);
    m_copies = std::move(copies);
}

QByteArray MovieDocument::svg(const QString &look, bool onePixel) const
{
    if (!m_copies)
        return {};
    const QString shown = m_hasLooks && lookNames().contains(look) ? look : QString();
    QByteArray &copy = m_copies->written[{shown, onePixel || !m_hasPixelVariants}];
    if (copy.isNull()) {
        copy = write(m_copies->tokens, shown, onePixel, m_copies->paint);
        // Without looks or scales that one copy is all the movie ever needs,
        // unless its card colours may be painted again.
        if (!m_hasLooks && !m_hasPixelVariants && !m_hasCardPaint)
            m_copies->tokens = {};
    }
    return copy;
}

// Reads the movie element by element, leaving out what could reach outside
// it, and records what the movie declares.
bool MovieDocument::read(const QByteArray &source, bool namespaces, QString *error)
{
    const QString ns = movieNamespace();
    QXmlStreamReader reader(source);
    reader.setNamespaceProcessing(namespaces);
    auto copies = std::make_shared<Copies>();
    QVector<Token> &tokens = copies->tokens;

    // Without namespace processing the reader accepts undeclared prefixes;
    // the renderer's own reader would stop at them, so names carrying one
    // are dropped. These are the prefixes declared on the way down.
    QVector<QStringList> declared;
    const auto isDeclared = [&declared](QStringView prefix) {
        if (prefix.isEmpty() || prefix == QLatin1String("xml") || prefix == QLatin1String("xmlns"))
            return true;
        return std::any_of(declared.cbegin(), declared.cend(), [prefix](const QStringList &scope) {
            return scope.contains(prefix);
        });
    };

    // For each open element, the command it declares (-1: none), so that
    // the <title> directly inside a command element names that command.
    QVector<int> openCommands;
    int titled = -1;       // the command whose title is being read
    int titleDepth = -1;   // the depth of that <title>

    int depth = 0;
    while (!reader.atEnd()) {
        switch (reader.readNext()) {
        case QXmlStreamReader::StartDocument:
            tokens.append({Token::StartDocument, {}, {}, false, {}});
            break;
        case QXmlStreamReader::EndDocument:
            tokens.append({Token::EndDocument, {}, {}, false, {}});
            break;
        case QXmlStreamReader::StartElement: {
            if (depth == 0 && reader.name() != QLatin1String("svg")) {
                *error = QStringLiteral("the root element is <%1>, not <svg>")
                             .arg(reader.qualifiedName());
                return false;
            }
            const QXmlStreamAttributes attributes = reader.attributes();
            if (!namespaces) {
                QStringList scope;
                for (const QXmlStreamAttribute &attribute : attributes) {
                    if (prefixOf(attribute.qualifiedName()) == QLatin1String("xmlns"))
                        scope << attribute.name().toString();
                }
                declared.push_back(scope);
                if (!isDeclared(prefixOf(reader.qualifiedName()))) {
                    declared.pop_back();
                    reader.skipCurrentElement();
                    break;
                }
            }
            // An image of another file, or a use of one, has nothing left to
            // draw once its reference goes.
            const bool image = reader.name() == QLatin1String("image");
            const bool use = reader.name() == QLatin1String("use");
            if ((image && !isRasterImageData(hrefOf(attributes)))
                || (use && !staysInside(hrefOf(attributes)))) {
                if (!namespaces)
                    declared.pop_back();
                reader.skipCurrentElement();
                break;
            }

            Token token{Token::StartElement, reader.qualifiedName().toString(), {}, false, {}};
            token.declaresLook = namespaces && attributes.hasAttribute(ns, QStringLiteral("look"));
            if (token.declaresLook)
                token.looks = lookList(attributes.value(ns, QStringLiteral("look")));
            token.cardPaint = namespaces && attributes.value(ns, QStringLiteral("paint")) == QLatin1String("card");
            m_hasCardPaint = m_hasCardPaint || token.cardPaint;
            if (namespaces) {
                const QStringView pixels = attributes.value(ns, QStringLiteral("pixels")).trimmed();
                token.pixels = pixels == QLatin1String("whole") ? Token::OnePixel
                    : pixels == QLatin1String("fine")          ? Token::OtherScales
                                                                : Token::AnyScale;
                m_hasPixelVariants = m_hasPixelVariants || token.pixels != Token::AnyScale;
            }
            if (depth == 0)
                collectRoot(reader);
            if (isAnimation(reader.name())) {
                m_hasAnimation = true;
                collectTiming(reader);
            }
            int command = -1;
            if (namespaces && attributes.hasAttribute(ns, QStringLiteral("command"))) {
                const QString id = attributes.value(QStringLiteral("id")).toString();
                if (id.isEmpty()) {
                    qWarning("Movie element <%s> on line %lld has a command but no id; it "
                             "cannot be clicked",
                             qPrintable(reader.qualifiedName().toString()),
                             static_cast<long long>(reader.lineNumber()));
                } else {
                    m_commands.append({id, attributes.value(ns, QStringLiteral("command")).toString(),
                                       attributes.value(ns, QStringLiteral("argument")).toString(),
                                       QString(), attributes.value(QStringLiteral("role")).toString()});
                    command = m_commands.size() - 1;
                }
            }
            if (titled < 0 && reader.name() == QLatin1String("title") && !openCommands.isEmpty()
                && openCommands.last() >= 0 && m_commands.at(openCommands.last()).title.isEmpty()) {
                titled = openCommands.last();
                titleDepth = depth;
            }
            openCommands.push_back(command);
            m_hasLooks = m_hasLooks || token.declaresLook;

            if (namespaces) {
                for (const QXmlStreamNamespaceDeclaration &declaration :
                     reader.namespaceDeclarations()) {
                    const QString name = declaration.prefix().isEmpty()
                        ? QStringLiteral("xmlns")
                        : QStringLiteral("xmlns:") + declaration.prefix().toString();
                    token.attributes.append({name, declaration.namespaceUri().toString()});
                }
            }
            for (const QXmlStreamAttribute &attribute : attributes) {
                const QStringView name = attribute.qualifiedName();
                if (attribute.name() == QLatin1String("href") && !staysInside(attribute.value()))
                    continue;
                if (!namespaces && !isDeclared(prefixOf(name)))
                    continue;
                token.attributes.append({name.toString(), attribute.value().toString()});
            }
            tokens.append(std::move(token));
            ++depth;
            break;
        }
        case QXmlStreamReader::EndElement:
            tokens.append({Token::EndElement, {}, {}, false, {}});
            --depth;
            openCommands.pop_back();
            if (depth == titleDepth) {
                m_commands[titled].title = m_commands.at(titled).title.simplified();
                titled = titleDepth = -1;
            }
            if (!namespaces)
                declared.pop_back();
            break;
        case QXmlStreamReader::Characters:
            if (depth == 0)
                break;
            if (titled >= 0)
                m_commands[titled].title += reader.text();
            tokens.append({reader.isCDATA() ? Token::CData : Token::Characters,
                           reader.text().toString(), {}, false, {}});
            break;
        default:
            // DTD and entity declarations, unresolved entity references,
            // comments and processing instructions are not copied.
            break;
        }
    }
    if (reader.hasError()) {
        *error = QStringLiteral("line %1: %2").arg(reader.lineNumber()).arg(reader.errorString());
        return false;
    }
    m_copies = std::move(copies);
    return true;
}

// Writes the movie as read; when look is given, the elements that the look
// does not show are hidden, and so are those drawn only at other scales.
QByteArray MovieDocument::write(const QVector<Token> &tokens, const QString &look, bool onePixel,
                                const CardPaint &paint)
{
    QByteArray out;
    QXmlStreamWriter writer(&out);
    for (const Token &token : tokens) {
        switch (token.kind) {
        case Token::StartDocument:
            writer.writeStartDocument();
            break;
        case Token::EndDocument:
            writer.writeEndDocument();
            break;
        case Token::StartElement: {
            const bool hidden = (token.declaresLook && !look.isEmpty() && !token.looks.contains(look))
                || token.pixels == (onePixel ? Token::OtherScales : Token::OnePixel);
            writer.writeStartElement(token.text);
            for (const auto &[name, value] : token.attributes) {
                if (hidden && name == QLatin1String("display"))
                    continue;
                if (hidden && name == QLatin1String("style")) {
                    // An inline style outranks the display attribute.
                    writer.writeAttribute(name, value + QStringLiteral(";display:none"));
                    continue;
                }
                if (token.cardPaint && paint && name == QLatin1String("fill"))
                    writer.writeAttribute(name, paint(value));
                else
                    writer.writeAttribute(name, value);
            }
            if (hidden)
                writer.writeAttribute(QStringLiteral("display"), QStringLiteral("none"));
            break;
        }
        case Token::EndElement:
            writer.writeEndElement();
            break;
        case Token::Characters:
            writer.writeCharacters(token.text);
            break;
        case Token::CData:
            writer.writeCDATA(token.text);
            break;
        }
    }
    return out;
}

void MovieDocument::collectRoot(const QXmlStreamReader &reader)
{
    const QString ns = movieNamespace();
    const QXmlStreamAttributes attributes = reader.attributes();
    m_autoplay = attributes.value(ns, QStringLiteral("autoplay"))
                     .trimmed()
                     .compare(QLatin1String("true"), Qt::CaseInsensitive)
        == 0;

    if (!attributes.hasAttribute(ns, QStringLiteral("timer-after")))
        return;
    bool ok = false;
    const double after = attributes.value(ns, QStringLiteral("timer-after")).trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(after) || after < 0) {
        qWarning("Movie timer-after \"%s\" is not a time in ms; the timed command is ignored",
                 qPrintable(attributes.value(ns, QStringLiteral("timer-after")).toString()));
        return;
    }
    if (!attributes.hasAttribute(ns, QStringLiteral("timer-command"))) {
        qWarning("Movie has a timer-after but no timer-command; the timer is ignored");
        return;
    }
    m_timerAfter = static_cast<int>(std::lround(std::min(after, double(INT_MAX))));
    m_timerCommand = attributes.value(ns, QStringLiteral("timer-command")).toString();
    m_timerArgument = attributes.value(ns, QStringLiteral("timer-argument")).toString();
}

// Follows the renderer's timing: an animation starts at its begin, lasts its
// dur, and plays repeatCount times (once without one); "indefinite" repeats
// for ever.
void MovieDocument::collectTiming(const QXmlStreamReader &reader)
{
    const QXmlStreamAttributes attributes = reader.attributes();
    const QStringView repeat = attributes.value(QStringLiteral("repeatCount")).trimmed();
    const QStringView dur = attributes.value(QStringLiteral("dur")).trimmed();
    if (repeat == QLatin1String("indefinite") || dur == QLatin1String("indefinite")) {
        m_runsForever = true;
        return;
    }
    const double begin = std::max(0.0, clockMs(attributes.value(QStringLiteral("begin"))));
    const double length = std::max(0.0, clockMs(dur));
    bool ok = false;
    double count = repeat.toDouble(&ok);
    if (!ok || !std::isfinite(count) || count <= 0)
        count = 1;
    const double end = std::min(begin + length * count, double(INT_MAX));
    m_animationEnd = std::max(m_animationEnd, static_cast<int>(std::lround(end)));
}
