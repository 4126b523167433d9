// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>
#include <QVector>

#include <functional>
#include <memory>

class QXmlStreamReader;

// One movie file, read and made safe to draw: what it declares in the
// program's movie namespace (click commands, the timed command, autoplay,
// looks) and the SVG bytes to hand to the renderer for each look.
//
// The bytes to render are a rewritten copy of the file: images that are not
// inline data and references that point outside the document are dropped,
// and so are the DOCTYPE, comments and processing instructions, so that
// drawing a movie never reads any other file. Elements whose mv:look does
// not name a look are hidden (display="none") in that look's copy.
//
// The file is read once; each copy is written from what was read when it is
// first asked for, and shared by every copy of the document.
class MovieDocument
{
public:
    // An element that raises a command when it is clicked. title is the
    // text of its own <title> child, white space simplified, and role its
    // role attribute ("tab", "button"): what a screen reader says of it.
    struct Command
    {
        QString id;
        QString command;
        QString argument;
        QString title;
        QString role;
    };

    // Movie files larger than this are refused.
    static constexpr qint64 MaxFileSize = 4 * 1024 * 1024;

    // The namespace of the movie attributes ("mv:" by convention).
    static QString movieNamespace();

    // The looks a movie can declare elements for, in the order "normal",
    // "hover", "pressed".
    static const QStringList &lookNames();

    // A movie file's bytes; false, with a warning, when it cannot be read or
    // is too large.
    static bool readFile(const QString &path, QByteArray *data);
    // The document a file's bytes make, read and rewritten once for the same
    // path and bytes. Malformed bytes give an invalid document (with a
    // warning).
    static MovieDocument fromFileData(const QString &path, const QByteArray &data);
    // Whether the bytes may declare a timed command or an animation, the two
    // things a movie does by itself. False only when they certainly do not.
    static bool mayActByItself(const QByteArray &data);
    // The same from bytes in memory; name only labels warnings.
    static MovieDocument fromData(const QByteArray &data, const QString &name = QString());

    // Whether the file is well-formed XML with an <svg> root. The renderer
    // may still reject it.
    bool isValid() const { return m_valid; }

    // Command elements in document order (later ones are drawn on top).
    const QVector<Command> &commands() const { return m_commands; }

    // The command the movie raises by itself, timerAfter() ms after it is
    // loaded; timerAfter() is -1 when the movie has none.
    int timerAfter() const { return m_timerAfter; }
    QString timerCommand() const { return m_timerCommand; }
    QString timerArgument() const { return m_timerArgument; }

    bool autoplay() const { return m_autoplay; }

    // Whether any element is drawn only in some looks.
    bool hasLooks() const { return m_hasLooks; }

    // Whether any element is drawn only at some scales: mv:pixels="whole"
    // draws it only where one unit of the movie is one device pixel (pixel
    // art, whose steps would be blown up at other scales), mv:pixels="fine"
    // only at every other scale (the same shape drawn for smoothing).
    bool hasPixelVariants() const { return m_hasPixelVariants; }

    // Whether any element animates the movie.
    bool hasAnimation() const { return m_hasAnimation; }

    // Whether an animation repeats for ever (repeatCount="indefinite"), so
    // that the movie never reaches an end by itself.
    bool runsForever() const { return m_runsForever; }
    // The time in ms at which the last finite animation ends (0 when none).
    int animationEnd() const { return m_animationEnd; }

    // Whether any element's fill is a colour of the card (mv:paint="card"),
    // which the program may paint as another eye sees it.
    bool hasCardPaint() const { return m_hasCardPaint; }
    // Paints those fills through paint (a colour as SVG writes it, in and
    // out), in this document's copies only; none restores them.
    using CardPaint = std::function<QString(const QString &fill)>;
    void setCardPaint(CardPaint paint);

    // The bytes to render for a look; with an empty or unknown look name, or
    // when the movie has no looks, the copy that shows every element. Of
    // the elements drawn only at some scales, those for whole device pixels
    // when onePixel is true, else those for every other scale.
    QByteArray svg(const QString &look = QString(), bool onePixel = true) const;

private:
    struct Token;
    struct Copies;

    // Reads source, keeping what is safe to draw in m_copies and noting what
    // the movie declares; false with error set when it is not a readable SVG
    // document.
    bool read(const QByteArray &source, bool namespaces, QString *error);
    static QByteArray write(const QVector<Token> &tokens, const QString &look, bool onePixel,
                            const CardPaint &paint);
    void collectRoot(const QXmlStreamReader &reader);
    void collectTiming(const QXmlStreamReader &reader);

    bool m_valid = false;
    QVector<Command> m_commands;
    int m_timerAfter = -1;
    QString m_timerCommand;
    QString m_timerArgument;
    bool m_autoplay = false;
    bool m_hasLooks = false;
    bool m_hasCardPaint = false;
    bool m_hasPixelVariants = false;
    bool m_hasAnimation = false;
    bool m_runsForever = false;
    int m_animationEnd = 0;
    std::shared_ptr<Copies> m_copies;
};
